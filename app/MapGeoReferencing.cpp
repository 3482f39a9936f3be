#include "app/MapGeoReferencing.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "convert/GeoReference.h"
#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawObj.h"
#include "draw/view/CDrawView.h"
#include "edit/CPlotView.h"
#include "framework/Cp1252.h"
#include "framework/DocManager.h"
#include "framework/Prompts.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"

namespace {

// The middle of the box round the objects, none without objects.
std::optional<PagePoint> SelectionCentre(const std::vector<CDrawObj*>& selection)
{
    if (selection.empty()) {
        return std::nullopt;
    }
    CRect box = selection.front()->GetPosition();
    box.NormalizeRect();
    for (const CDrawObj* object : selection) {
        CRect r = object->GetPosition();
        r.NormalizeRect();
        box = {std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
               std::max(box.bottom, r.bottom)};
    }
    return PagePoint{(static_cast<double>(box.left) + box.right) / 2,
                     (static_cast<double>(box.top) + box.bottom) / 2};
}

}  // namespace

QString MapPositionText(const CDrawDoc& map, CPoint page)
{
    QString text = QStringLiteral("x %1, y %2").arg(page.x).arg(page.y);
    if (const std::optional<GeoReference> reference = GeoReference::Of(map)) {
        text += QStringLiteral("   ") +
                CPlotView::PositionText(reference->ToPosition(
                    {static_cast<double>(page.x), static_cast<double>(page.y)}));
    }
    return text;
}

std::vector<WaypointChoice> OpenWaypoints(DocManager& documents)
{
    std::vector<WaypointChoice> choices;
    for (Document* document : documents.Documents()) {
        auto* data = dynamic_cast<CDataDoc*>(document);
        if (!data) {
            continue;
        }
        const QString title = documents.Title(document);
        for (const WaypointRecord& w : data->Waypoints()) {
            const QString name = QString::fromStdString(Cp1252ToUtf8(WaypointIdent(w))).trimmed();
            const GeoPosition position = ToGeoPosition(PositionOf(w));
            choices.push_back({name + QStringLiteral("  (") + title + QStringLiteral(")"),
                               position.latitude, position.longitude});
        }
    }
    return choices;
}

void CalibrateMap(CDrawView& view, DocManager& documents)
{
    CDrawDoc* map = view.GetDocument();
    if (!map) {
        return;
    }
    CCalibrateMapDlg dialog(view.window(), map->GetGeoReference(),
                            SelectionCentre(view.Selection()), OpenWaypoints(documents),
                            map->GetPageSize());
    switch (dialog.exec()) {
    case QDialog::Accepted: {
        CDrawDoc::UndoStep step(*map, "Karte kalibrieren");
        map->SetGeoReference(dialog.Calibration());
        break;
    }
    case CCalibrateMapDlg::kRemoved: {
        CDrawDoc::UndoStep step(*map, "Kalibrierung entfernen");
        map->SetGeoReference(std::nullopt);
        break;
    }
    default:
        break;
    }
}

void ReportGeoReferenceDamage(Document* document)
{
    auto* map = dynamic_cast<CDrawDoc*>(document);
    if (map && !map->GeoReferenceError().empty()) {
        Prompts::Current().Message(
            "Die Georeferenz dieser Karte ist beschädigt und wurde weggelassen: die Karte ist "
            "ohne Positionen geöffnet. Mit \"Karte kalibrieren...\" können Sie sie neu "
            "festlegen.");
    }
}

namespace {

// `fix` moved `metres` towards `course`.
LiveFix MovedFix(const LiveFix& fix, double course, double metres)
{
    GeoPosition moved{fix.latitude, fix.longitude};
    PositionFromCourse({fix.latitude, fix.longitude}, {course, metres / 1000}, moved);
    LiveFix other = fix;
    other.latitude = moved.latitude;
    other.longitude = moved.longitude;
    return other;
}

CPoint RoundedPage(const PagePoint& p)
{
    return {static_cast<int>(std::lround(std::clamp(p.x, -1e8, 1e8))),
            static_cast<int>(std::lround(std::clamp(p.y, -1e8, 1e8)))};
}

std::optional<CDrawView::PageMarker> LiveMarkerOnMap(const CDrawDoc& map, const LiveFix& fix,
                                                     bool receiving)
{
    std::optional<PagePoint> at = PageOfFix(map, fix);
    if (!at) {
        return std::nullopt;
    }
    CDrawView::PageMarker marker;
    marker.at = RoundedPage(*at);
    marker.receiving = receiving;
    if (HasValue(fix.course) && HasValue(fix.speed) && fix.speed >= 0.5f) {
        if (std::optional<PagePoint> ahead = PageOfFix(map, MovedFix(fix, fix.course, 50))) {
            marker.ahead = RoundedPage(*ahead);
        }
    }
    if (HasValue(fix.horizontalError) && fix.horizontalError > 0) {
        if (std::optional<PagePoint> edge = PageOfFix(map, MovedFix(fix, 0, fix.horizontalError))) {
            marker.errorUnits =
                static_cast<int>(std::min(std::hypot(edge->x - at->x, edge->y - at->y), 1e6));
        }
    }
    return marker;
}

}  // namespace

void ShowLivePositionOnMaps(DocManager& documents, const LiveFix* fix, bool receiving)
{
    for (Document* document : documents.Documents()) {
        auto* map = dynamic_cast<CDrawDoc*>(document);
        if (!map) {
            continue;
        }
        const std::optional<CDrawView::PageMarker> marker =
            fix ? LiveMarkerOnMap(*map, *fix, receiving) : std::nullopt;
        for (View* view : map->GetViews()) {
            if (auto* drawView = dynamic_cast<CDrawView*>(view)) {
                drawView->SetPageMarker(marker);
            }
        }
    }
}
