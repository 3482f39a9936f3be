#include <cmath>
#include <cstdio>
#include <iostream>

#include <QGuiApplication>

#include "cli/Commands.h"
#include "cli/OrvgJson.h"
#include "convert/PointMap.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "draw/model/CSummaryInfo.h"
#include "draw/paint/MapRender.h"
#include "framework/ArchiveException.h"
#include "framework/Cp1252.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"

namespace {

int LoadMap(const std::string& path, CDrawDoc& doc)
{
    try {
        doc.OnOpenDocument(path);
    } catch (const ArchiveException& e) {
        return Fail(path, std::string(e.UserMessage()) + " (" + e.what() + ")");
    }
    if (!doc.SummaryError().empty()) {
        std::cerr << "orvi: " << path << ": " << doc.SummaryError() << " (left out)\n";
    }
    if (!doc.GeoReferenceError().empty()) {
        std::cerr << "orvi: " << path << ": " << doc.GeoReferenceError() << " (left out)\n";
    }
    return 0;
}

// The map of the waypoints and the track log of a GPS data file.
int LoadPointsAsMap(const std::string& path, CDrawDoc& doc)
{
    CDataDoc data;
    try {
        data.OnOpenDocument(path);
    } catch (const ArchiveException& e) {
        return Fail(path, std::string(e.UserMessage()) + " (" + e.what() + ")");
    }
    AddPointsToMap(data.Waypoints(), data.Trackpoints(), doc, data.Routes());
    return 0;
}

std::string FirstLine(const std::string& cp1252)
{
    std::string text = Cp1252ToUtf8(cp1252.substr(0, cp1252.find_first_of("\r\n")));
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

std::string Describe(const CDrawObj& object)
{
    const char* shapes[] = {"rectangle", "rounded rectangle", "ellipse", "line"};
    if (auto* rect = dynamic_cast<const CDrawRect*>(&object)) {
        int shape = rect->GetShape();
        std::string name =
            shape >= 0 && shape < 4 ? shapes[shape] : "shape " + std::to_string(shape);
        return name + (shape == CDrawRect::line && rect->IsReversed() ? ", reversed" : "");
    }
    if (auto* text = dynamic_cast<const CDrawText*>(&object)) {
        return "text \"" + FirstLine(text->GetText()) + "\"" +
               (text->GetFontFlag() ? " in " + Cp1252ToUtf8(text->GetFont().FaceName()) : "");
    }
    if (auto* poly = dynamic_cast<const CDrawPoly*>(&object)) {
        return std::string(poly->GetKind() == CDrawPoly::polyline ? "polyline" : "polygon") +
               " of " + std::to_string(poly->VertexCount()) + " vertices";
    }
    if (auto* ole = dynamic_cast<const CDrawOleObj*>(&object)) {
        const CDrawItem* item = ole->GetClientItem();
        if (!item) {
            return "embedded object without content";
        }
        const char* kinds[] = {"", "linked", "embedded", "picture"};
        return std::string(kinds[item->GetType()]) + " " + item->GetName() + " (" +
               item->GetMimeType() +
               (item->IsLinked() ? ", " + item->GetLinkPath()
                                 : ", " + std::to_string(item->GetData().size()) + " bytes") +
               ")";
    }
    return "drawing object";
}

std::string MapPosition(double latitude, double longitude)
{
    char text[64];
    std::snprintf(text, sizeof text, "%c %10.6f  %c %11.6f", latitude < 0 ? 'S' : 'N',
                  std::fabs(latitude), longitude < 0 ? 'W' : 'E', std::fabs(longitude));
    return text;
}

void PrintGeoReference(const std::optional<MapGeoReference>& geo)
{
    if (!geo) {
        std::cout << "Georeference: none\n";
    } else if (geo->kind == GeoReferenceKind::POINT_MAP) {
        const PointMapProjection& p = geo->projection;
        std::printf(
            "Georeference: map of GPS points, central longitude %.6f, east-west scale "
            "%.6f\n  page centre at %.1f m east, %.1f m north; %g units per metre on a "
            "%d x %d page\n",
            SemicirclesToDegrees(p.centralLongitude), p.eastWestScale, p.centreEast, p.centreNorth,
            p.unitsPerMetre, p.pageWidth, p.pageHeight);
    } else {
        std::cout << "Georeference: " << CONTROL_POINT_COUNT << " control points\n";
        for (const ControlPoint& point : geo->points) {
            std::printf("  (%.1f, %.1f)  %s\n", point.x, point.y,
                        MapPosition(point.latitude, point.longitude).c_str());
        }
    }
}

void PrintDrawDoc(const std::string& path, const CDrawDoc& doc)
{
    COLORREF paper = doc.PaperColour();
    std::cout << path << ": map\n";
    std::printf("Paper colour: RGB %d %d %d\n", GetRValue(paper), GetGValue(paper),
                GetBValue(paper));
    std::printf("Page: %d x %d\n", doc.GetPageSize().cx, doc.GetPageSize().cy);
    std::cout << "Objects: " << doc.ObjectList().size() << " (bottom first)\n";
    int n = 0;
    for (const CDrawObj* object : doc.ObjectList()) {
        const CRect& r = object->GetPosition();
        std::printf("  %3d  %-12s (%d, %d) - (%d, %d)  %s\n", ++n, object->GetRuntimeClass()->name,
                    r.left, r.top, r.right, r.bottom, Describe(*object).c_str());
    }
    if (const CSummaryInfo* summary = doc.GetSummaryInfo()) {
        std::cout << "Summary:\n";
        auto line = [](const char* label, const std::string& value) {
            if (!value.empty()) {
                std::printf("  %-14s %s\n", label, value.c_str());
            }
        };
        line("Title:", Cp1252ToUtf8(summary->GetTitle()));
        line("Subject:", Cp1252ToUtf8(summary->GetSubject()));
        line("Author:", Cp1252ToUtf8(summary->GetAuthor()));
        line("Application:", Cp1252ToUtf8(summary->GetAppName()));
        line("Revision:", Cp1252ToUtf8(summary->GetRevision()));
        line("Created:", summary->GetCreated());
        line("Last saved:", summary->GetLastSaved());
        line("Last printed:", summary->GetLastPrinted());
    }
    PrintGeoReference(doc.GetGeoReference());
}

}  // namespace

int RunMapInfo(const std::string& path, bool json)
{
    CDrawDoc doc;
    if (int status = LoadMap(path, doc)) {
        return status;
    }
    if (json) {
        std::cout << DrawDocJson(doc).dump(2) << "\n";
    } else {
        PrintDrawDoc(path, doc);
    }
    return 0;
}

int RunMapConvert(const std::string& input, const std::string& output)
{
    CDrawDoc doc;
    if (int status = LoadMap(input, doc)) {
        return status;
    }
    try {
        doc.OnSaveDocument(output);
    } catch (const ArchiveException& e) {
        return Fail(output, std::string(e.UserMessage(true)) + " (" + e.what() + ")");
    }
    return 0;
}

int RunRender(const std::string& input, const std::string& output)
{
    const std::string ending = FileEnding(input);
    if (ending != ".orvg" && ending != ".orvd") {
        return Fail(input, "unknown file type (expected .orvg or .orvd)");
    }
    CDrawDoc doc;
    if (int status = ending == ".orvg" ? LoadMap(input, doc) : LoadPointsAsMap(input, doc)) {
        return status;
    }
    // Fonts and pictures need a GUI application; it never opens a window.
    char name[] = "orvi";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    int argc = 3;
    QGuiApplication app(argc, argv);
    std::string error;
    if (!RenderMapFile(doc, output, error)) {
        std::cerr << "orvi: " << error << "\n";
        return 1;
    }
    return 0;
}
