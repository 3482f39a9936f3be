#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "bench/Bench.h"
#include "bench/OffscreenApp.h"
#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "draw/paint/MapRender.h"

namespace {

constexpr int kObjects = 10000;

// Ten thousand objects over the page: of every ten, four rectangles (plain, rounded,
// ellipse, plain), two lines, two polygons of six vertices, a polyline and a text.
void FillMap(CDrawDoc& doc)
{
    for (int i = 0; i < kObjects; ++i) {
        int x = (i * 37) % 760;
        int y = (i * 53) % 760;
        CRect r{x, y, x + 10 + i % 30, y + 8 + i % 25};
        switch (i % 10) {
        case 0:
        case 1:
        case 2:
        case 3: {
            auto rect = std::make_unique<CDrawRect>(r);
            rect->SetShape(i % 4 == 3 ? CDrawRect::rectangle : i % 4);
            rect->SetFillColor(static_cast<COLORREF>(i * 2654435761u) & 0xFFFFFF);
            doc.Add(std::move(rect));
            break;
        }
        case 4:
        case 5:
            doc.Add(std::make_unique<CDrawRect>(r, true));
            break;
        case 6:
        case 7:
        case 8: {
            auto* poly = static_cast<CDrawPoly*>(doc.Add(std::make_unique<CDrawPoly>(
                CRect{}, i % 10 == 8 ? CDrawPoly::polyline : CDrawPoly::polygon)));
            for (int v = 0; v < 6; ++v) {
                poly->AppendVertex({x + (v * 7) % 23, y + (v * 11) % 19});
            }
            break;
        }
        default: {
            auto text = std::make_unique<CDrawText>(CRect{x, y, x + 80, y + 30});
            text->SetText("Weg " + std::to_string(i));
            doc.Add(std::move(text));
            break;
        }
        }
    }
}
}  // namespace

void RunDrawBenchmarks(const std::string& dir)
{
    QGuiApplication app(OffscreenArgc(), OffscreenArgv());

    CDrawDoc doc;
    FillMap(doc);
    std::string mapPath = dir + "/big.orvg";
    std::string plainPath = dir + "/plain-map.bin";

    double save = Measure([&] { doc.OnSaveDocument(mapPath); });
    struct stat st {};
    ::stat(mapPath.c_str(), &st);
    std::vector<char> bytes(static_cast<size_t>(st.st_size));
    double plainWrite = Measure([&] { PlainWrite(plainPath, bytes); });
    Report("save a map of 10000 objects", save, "plain write+fsync", plainWrite);

    double load = Measure([&] {
        CDrawDoc loaded;
        loaded.OnOpenDocument(mapPath);
    });
    double plainRead = Measure([&] { PlainRead(plainPath, bytes); });
    Report("load a map of 10000 objects", load, "plain read", plainRead);

    QImage page(800, 800, QImage::Format_RGB32);
    double render = Measure([&] {
        QPainter painter(&page);
        PaintMapPage(doc, painter);
    });
    double rectangles = Measure([&] {
        QPainter painter(&page);
        painter.fillRect(page.rect(), Qt::white);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::lightGray);
        for (const CDrawObj* object : doc.ObjectList()) {
            const CRect& r = object->GetPosition();
            painter.drawRect(
                QRect(r.left, r.top, static_cast<int>(r.Width()), static_cast<int>(r.Height())));
        }
    });
    Report("render a map of 10000 objects", render, "QPainter: 10000 rectangles", rectangles);
}
