#include "app/MapGeoReferencing.h"

#include <algorithm>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawObj.h"
#include "draw/view/CDrawView.h"
#include "edit/CPlotView.h"
#include "framework/Cp1252.h"
#include "framework/DocManager.h"
#include "framework/Prompts.h"
#include "gps/CDataDoc.h"

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
