// The clipboard and GPX commands of the point list view.

#include <QFileDialog>
#include <QItemSelectionModel>

#include "edit/CDataView.h"
#include "edit/PointClipboard.h"
#include "edit/RouteClipboard.h"
#include "framework/ArchiveException.h"
#include "framework/Prompts.h"
#include "gps/CDataDoc.h"
#include "gps/Gpx.h"
#include "res/CommandIds.h"

namespace {

const char* const kTooMany =
    "Die Punkte haben keinen Platz: ein GPS-Datendokument hält höchstens 32767 Waypoints und "
    "32767 Trackpoints.";

}  // namespace

void CDataView::RegisterClipboardAndFileCommands()
{
    auto selection = [this](CommandUI& ui) {
        ui.enabled = selectionModel() && selectionModel()->hasSelection();
    };
    OnCommand(ID_EDIT_COPY, [this] { CopySelection(); });
    OnUpdateCommand(ID_EDIT_COPY, selection);
    OnCommand(ID_EDIT_CUT, [this] { CutSelection(); });
    OnUpdateCommand(ID_EDIT_CUT, selection);
    OnCommand(ID_EDIT_PASTE, [this] { PasteRecords(); });
    OnUpdateCommand(ID_EDIT_PASTE, [this](CommandUI& ui) {
        ui.enabled = Mode() == LIST_ROUTES ? ClipboardHasRoutes() : ClipboardHasRecords(Mode());
    });
    OnCommand(ID_FILE_IMPORT_GPX, [this] { ImportGpx(); });
    OnCommand(ID_FILE_EXPORT_GPX, [this] { ExportGpx(); });
}

void CDataView::CopySelection()
{
    CDataDoc* doc = GetDataDoc();
    std::vector<int> indices;
    if (doc && Mode() == LIST_ROUTES) {
        CopyRoutesToClipboard(RoutesOfPlaces(doc->Routes(), SelectedRoutePlaces()));
    } else if (doc && GetSelectedIndices(indices, Mode())) {
        CopyRecordsToClipboard(*doc, Mode(), indices);
    }
}

void CDataView::CutSelection()
{
    CDataDoc* doc = GetDataDoc();
    if (!doc) {
        return;
    }
    CDataDoc::UndoStep step(*doc, "Ausschneiden");
    CopySelection();
    if (Mode() == LIST_ROUTES) {
        // What was copied goes: the routes of the selection, whole.
        std::vector<RoutePlace> routes;
        for (const RoutePlace& place : SelectedRoutePlaces()) {
            routes.push_back({place.route, ROUTE_ITSELF});
        }
        SelectRoutePlaces(routes);
    }
    DeleteSelection();
}

void CDataView::PasteRecords()
{
    CDataDoc* doc = GetDataDoc();
    if (doc && Mode() == LIST_ROUTES) {
        PasteRoutes();
        return;
    }
    if (!doc || !ClipboardHasRecords(Mode())) {
        return;
    }
    if (PasteRecordsFromClipboard(*doc, Mode()) == DOC_TOO_MANY) {
        Prompts::Current().Message(kTooMany);
    }
    doc->UpdateAllViews(nullptr);
}

void CDataView::ImportGpx()
{
    QString path = QFileDialog::getOpenFileName(this, QStringLiteral("GPX importieren"), QString(),
                                                QStringLiteral("GPX (*.gpx);;Alle Dateien (*)"));
    if (!path.isEmpty()) {
        ImportGpxFile(path);
    }
}

bool CDataView::ImportGpxFile(const QString& path)
{
    CDataDoc* doc = GetDataDoc();
    if (!doc) {
        return false;
    }
    GpxData data;
    try {
        data = ReadGpxFile(path.toStdString());
    } catch (const GpxError& e) {
        Prompts::Current().Message(path.toStdString() + ":\n" + e.what());
        return false;
    } catch (const ArchiveException& e) {
        Prompts::Current().Message(path.toStdString() + ":\n" + e.UserMessage());
        return false;
    }
    // Each kind goes in when it fits, and is refused with a message when it would pass
    // what a document holds.
    auto waypoints = static_cast<int32_t>(data.waypoints.size());
    auto trackpoints = static_cast<int32_t>(data.trackpoints.size());
    bool waypointsFit = waypoints <= MAX_DOC_RECORDS - doc->waypointCount();
    bool trackFits = trackpoints <= MAX_DOC_RECORDS - doc->trackpointCount();
    std::vector<Route> routes;  // the document's and the file's, when the file has any
    if (!data.routes.empty()) {
        routes = doc->Routes();
        routes.insert(routes.end(), data.routes.begin(), data.routes.end());
    }
    bool routesFit = RoutesFit(routes);
    {
        CDataDoc::UndoStep step(*doc, "GPX importieren");
        auto detailsOf = [](const auto& details) {
            return details.empty() ? nullptr : details.data();
        };
        if (waypointsFit) {
            doc->InsertWaypoints(doc->waypointCount(), waypoints, data.waypoints.data(),
                                 detailsOf(data.waypointDetails));
        }
        if (trackFits) {
            doc->InsertTrackpoints(doc->trackpointCount(), trackpoints, data.trackpoints.data(),
                                   detailsOf(data.trackpointDetails));
        }
        if (routesFit && !routes.empty()) {
            doc->ReplaceRoutes(std::move(routes));
        }
    }
    std::string where = path.toStdString() + ":\n";
    if (!waypointsFit) {
        Prompts::Current().Message(where + std::to_string(waypoints) +
                                   " Waypoints haben keinen Platz mehr: ein GPS-Datendokument "
                                   "hält höchstens 32767 Waypoints.");
    }
    if (!trackFits) {
        Prompts::Current().Message(where + std::to_string(trackpoints) +
                                   " Trackpoints haben keinen Platz mehr: ein GPS-Datendokument "
                                   "hält höchstens 32767 Trackpoints.");
    }
    if (!routesFit) {
        bool one = data.routes.size() == 1;
        Prompts::Current().Message(where + std::to_string(data.routes.size()) +
                                   (one ? " Route hat" : " Routen haben") +
                                   " keinen Platz mehr: ein GPS-Datendokument hält höchstens "
                                   "255 Routen und 32767 Routenpunkte.");
    }
    std::string notes;
    for (const std::string& note : GpxReadNotes(data)) {
        notes += (notes.empty() ? where : std::string("\n")) + note + ".";
    }
    if (!notes.empty()) {
        Prompts::Current().Message(notes);
    }
    doc->UpdateAllViews(nullptr);
    return waypointsFit && trackFits && routesFit;
}

void CDataView::ExportGpx()
{
    CDataDoc* doc = GetDataDoc();
    if (!doc) {
        return;
    }
    QString suggestion = QString::fromStdString(doc->GetPathName());
    suggestion = suggestion.isEmpty() ? QStringLiteral("punkte.gpx")
                                      : suggestion.section('.', 0, -2) + QStringLiteral(".gpx");
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("GPX exportieren"), suggestion,
                                                QStringLiteral("GPX (*.gpx)"));
    if (!path.isEmpty()) {
        ExportGpxFile(path);
    }
}

bool CDataView::ExportGpxFile(const QString& path)
{
    CDataDoc* doc = GetDataDoc();
    if (!doc) {
        return false;
    }
    int adjusted = 0;
    try {
        adjusted = WriteGpxFile(path.toStdString(), doc->Records());
    } catch (const ArchiveException& e) {
        Prompts::Current().Message(path.toStdString() + ":\n" + e.UserMessage(true));
        return false;
    }
    if (adjusted > 0) {
        Prompts::Current().Message(path.toStdString() + ":\n" + AdjustedPointsText(adjusted));
    }
    return true;
}
