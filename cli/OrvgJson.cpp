#include "cli/OrvgJson.h"

#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "draw/model/CSummaryInfo.h"
#include "framework/Cp1252.h"
#include "gps/Geodesy.h"

using nlohmann::json;

namespace {

json Shape(int shape)
{
    switch (shape) {
    case CDrawRect::rectangle:
        return "rectangle";
    case CDrawRect::roundRectangle:
        return "roundRectangle";
    case CDrawRect::ellipse:
        return "ellipse";
    case CDrawRect::line:
        return "line";
    default:
        return shape;
    }
}

json Kind(int kind)
{
    switch (kind) {
    case CDrawPoly::polygon:
        return "polygon";
    case CDrawPoly::polyline:
        return "polyline";
    default:
        return kind;
    }
}

}  // namespace

json DrawObjJson(const CDrawObj& object)
{
    const CRect& r = object.GetPosition();
    const LogPen& pen = object.GetPen();
    const LogBrush& brush = object.GetBrush();
    json j = {
        {"class", object.GetRuntimeClass()->name},
        {"position", {r.left, r.top, r.right, r.bottom}},
        {"penFlag", object.GetPenFlag()},
        {"pen",
         {{"style", pen.style}, {"width", {pen.width.x, pen.width.y}}, {"colour", pen.colour}}},
        {"brushFlag", object.GetBrushFlag()},
        {"brush", {{"style", brush.style}, {"colour", brush.colour}, {"hatch", brush.hatch}}},
    };
    if (auto* rect = dynamic_cast<const CDrawRect*>(&object)) {
        j["shape"] = Shape(rect->GetShape());
        j["roundness"] = {rect->GetRoundness().x, rect->GetRoundness().y};
        j["reversed"] = rect->IsReversed();
    } else if (auto* text = dynamic_cast<const CDrawText*>(&object)) {
        j["text"] = Cp1252ToUtf8(text->GetText());
        j["transparent"] = text->GetTransparent();
        j["fontFlag"] = text->GetFontFlag();
        j["faceName"] = Cp1252ToUtf8(text->GetFont().FaceName());
    } else if (auto* poly = dynamic_cast<const CDrawPoly*>(&object)) {
        j["kind"] = Kind(poly->GetKind());
        json vertices = json::array();
        for (const CPoint& p : poly->Vertices()) {
            vertices.push_back({p.x, p.y});
        }
        j["vertices"] = std::move(vertices);
        j["showHandles"] = poly->GetShowHandles();
    } else if (auto* ole = dynamic_cast<const CDrawOleObj*>(&object)) {
        j["extent"] = {ole->GetExtent().cx, ole->GetExtent().cy};
    }
    return j;
}

json SummaryJson(const CSummaryInfo& summary)
{
    // Strings are in the summary's code page; the program writes Windows-1252.
    auto text = [](const std::string& s) { return Cp1252ToUtf8(s); };
    return {
        {"title", text(summary.GetTitle())},           {"subject", text(summary.GetSubject())},
        {"author", text(summary.GetAuthor())},         {"keywords", text(summary.GetKeywords())},
        {"comments", text(summary.GetComments())},     {"template", text(summary.GetTemplate())},
        {"lastAuthor", text(summary.GetLastAuthor())}, {"revision", text(summary.GetRevision())},
        {"appName", text(summary.GetAppName())},       {"pageCount", summary.GetPageCount()},
        {"wordCount", summary.GetWordCount()},         {"charCount", summary.GetCharCount()},
        {"security", summary.GetSecurity()},           {"created", summary.GetCreated()},
        {"lastSaved", summary.GetLastSaved()},         {"lastPrinted", summary.GetLastPrinted()},
        {"editTime", summary.GetEditTime()},
    };
}

json GeoReferenceJson(const MapGeoReference& geo)
{
    if (geo.kind == GeoReferenceKind::POINT_MAP) {
        const PointMapProjection& p = geo.projection;
        return {{"kind", "pointMap"},
                {"centralLongitude", SemicirclesToDegrees(p.centralLongitude)},
                {"eastWestScale", p.eastWestScale},
                {"centre", {p.centreEast, p.centreNorth}},
                {"unitsPerMetre", p.unitsPerMetre},
                {"pageSize", {p.pageWidth, p.pageHeight}}};
    }
    json points = json::array();
    for (const ControlPoint& point : geo.points) {
        points.push_back({{"page", {point.x, point.y}},
                          {"latitude", point.latitude},
                          {"longitude", point.longitude}});
    }
    return {{"kind", "calibration"}, {"controlPoints", std::move(points)}};
}

json DrawDocJson(const CDrawDoc& doc)
{
    json objects = json::array();
    for (const CDrawObj* object : doc.ObjectList()) {
        objects.push_back(DrawObjJson(*object));
    }
    json j = {
        {"format", "orvg"},
        {"paperColour", doc.PaperColour()},
        {"pageSize", {doc.GetPageSize().cx, doc.GetPageSize().cy}},
        {"objects", std::move(objects)},
    };
    if (const CSummaryInfo* summary = doc.GetSummaryInfo()) {
        j["summary"] = SummaryJson(*summary);
    }
    j["georeference"] = doc.GetGeoReference() ? GeoReferenceJson(*doc.GetGeoReference()) : json();
    return j;
}
