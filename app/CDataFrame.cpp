#include "app/CDataFrame.h"

#include <QSplitter>
#include <algorithm>

#include "app/CommandTables.h"
#include "convert/PointMap.h"
#include "draw/model/CDrawDoc.h"
#include "edit/CDataView.h"
#include "edit/CPlotView.h"
#include "edit/LiveSession.h"
#include "framework/DocManager.h"
#include "framework/DocTemplate.h"
#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "res/CommandIds.h"

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kPlotShownKey = "PlotShown";
// The plot's share of the window's width, in thousandths.
constexpr const char* kPlotShareKey = "PlotShare";
constexpr int kDefaultShare = 450;

}  // namespace

CDataFrame::CDataFrame(DocManager* manager, Document* document, DocTemplate* docTemplate)
    : MdiChildFrame(manager, document, docTemplate), splitter_(new QSplitter(Qt::Horizontal))
{
    list_ = dynamic_cast<CDataView*>(docTemplate->CreateView(nullptr, document));
    plot_ = new CPlotView(list_);
    splitter_->addWidget(list_);
    splitter_->addWidget(plot_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 1);
    setWidget(splitter_);
    list_->AttachDocument(document);
    plot_->AttachDocument(document);

    Settings& settings = Settings::Current();
    const int share = std::clamp(settings.GetInt(kSection, kPlotShareKey, kDefaultShare), 100, 900);
    splitter_->setSizes({1000 - share, share});
    plot_->setVisible(settings.GetInt(kSection, kPlotShownKey, 1) != 0);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] { StoreSplit(); });

    OnCommand(ID_VIEW_PLOT, [this] { ShowPlot(!PlotShown()); });
    OnUpdateCommand(ID_VIEW_PLOT, [this](CommandUI& ui) { ui.checked = PlotShown(); });
    OnCommand(ID_VIEW_FIT_ALL, [this] { plot_->FitAll(); });
    OnCommand(ID_VIEW_FIT_SELECTION, [this] { plot_->FitSelection(); });
    auto plotShown = [this](CommandUI& ui) { ui.enabled = PlotShown(); };
    OnUpdateCommand(ID_VIEW_FIT_ALL, plotShown);
    OnUpdateCommand(ID_VIEW_FIT_SELECTION, plotShown);
    const std::pair<int, FollowMode> follows[] = {{ID_VIEW_FOLLOW_CENTRED, FollowMode::CENTRED},
                                                  {ID_VIEW_FOLLOW_IN_VIEW, FollowMode::IN_VIEW},
                                                  {ID_VIEW_FOLLOW_OFF, FollowMode::OFF}};
    for (auto [id, mode] : follows) {
        OnCommand(id, [this, mode = mode] { plot_->SetFollowMode(mode); });
        OnUpdateCommand(id, [this, mode = mode](CommandUI& ui) {
            ui.enabled = PlotShown();
            ui.checked = plot_->GetFollowMode() == mode;
        });
    }
    OnCommand(ID_GPS_RECORD, [this] { ToggleRecording(); });
    OnUpdateCommand(ID_GPS_RECORD, [this](CommandUI& ui) {
        ui.checked =
            LiveSession::Instance().RecordingInto(dynamic_cast<CDataDoc*>(this->document()));
    });
    OnCommand(ID_FILE_MAP_FROM_POINTS, [this] { MakeMapFromPoints(); });
    OnUpdateCommand(ID_FILE_MAP_FROM_POINTS, [this](CommandUI& ui) {
        auto* doc = dynamic_cast<CDataDoc*>(this->document());
        ui.enabled = doc && (doc->waypointCount() > 0 || doc->trackpointCount() > 0);
    });
}

CView* CDataFrame::view() const
{
    return list_;
}

std::vector<CView*> CDataFrame::Views() const
{
    return {list_, plot_};
}

bool CDataFrame::PlotShown() const
{
    return !plot_->isHidden();
}

void CDataFrame::ShowPlot(bool show)
{
    if (!show && plot_->hasFocus()) {
        list_->setFocus();
    }
    plot_->setVisible(show);
    Settings::Current().SetInt(kSection, kPlotShownKey, show ? 1 : 0);
}

void CDataFrame::StoreSplit()
{
    const QList<int> sizes = splitter_->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total > 0 && PlotShown()) {
        Settings::Current().SetInt(kSection, kPlotShareKey, sizes.value(1) * 1000 / total);
    }
}

Document* CDataFrame::MakeMapFromPoints()
{
    auto* points = dynamic_cast<CDataDoc*>(document());
    if (!points) {
        return nullptr;
    }
    DocTemplate* mapTemplate = nullptr;
    for (const auto& t : manager_->templates()) {
        if (t->resourceId() == IDR_MAP) {
            mapTemplate = t.get();
        }
    }
    if (!mapTemplate) {
        return nullptr;
    }
    Document* made = manager_->NewDocument(mapTemplate);
    auto* map = dynamic_cast<CDrawDoc*>(made);
    if (!map) {
        return made;
    }
    // The map keeps the projection its points were drawn with: it shows their positions.
    map->SetGeoReference(
        AddPointsToMap(points->Waypoints(), points->Trackpoints(), *map, points->Routes()));
    map->SetModifiedFlag(true);
    map->UpdateAllViews(nullptr);
    return made;
}

void CDataFrame::ToggleRecording()
{
    LiveSession& live = LiveSession::Instance();
    auto* doc = dynamic_cast<CDataDoc*>(document());
    if (!doc) {
        return;
    }
    if (live.RecordingInto(doc)) {
        live.StopRecording();
        return;
    }
    if (!live.Running() && !LiveSession::Starter()()) {
        return;
    }
    live.StartRecording(doc, list_, LiveSession::JournalPath());
}
