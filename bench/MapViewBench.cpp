#include <cstdint>
#include <memory>
#include <string>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "bench/Bench.h"
#include "bench/OffscreenApp.h"
#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "draw/model/MapTools.h"
#include "draw/view/CDrawView.h"

namespace {

constexpr int kObjects = 10000;
constexpr int kSteps = 20;  // move steps of one timed stretch of a drag
constexpr int kStride = 3;  // pixels per move step
constexpr int kViewSize = 800;

// 9999 objects over the page, of every ten: four rectangles (plain, rounded, ellipse,
// plain), two lines, two polygons and a polyline of six vertices, a text. On top of them a
// small rectangle in the middle of the page, returned: the one the drag moves.
CDrawObj* FillMap(CDrawDoc& doc)
{
    for (int i = 0; i < kObjects - 1; ++i) {
        int x = (i * 37) % 760;
        int y = (i * 53) % 760;
        CRect r{x, y, x + 10 + i % 30, y + 8 + i % 25};
        if (i % 10 < 4) {
            auto rect = std::make_unique<CDrawRect>(r);
            rect->SetShape(i % 4 == 3 ? CDrawRect::rectangle : i % 4);
            rect->SetFillColor(static_cast<COLORREF>(i * 2654435761u) & 0xFFFFFF);
            doc.Add(std::move(rect));
        } else if (i % 10 < 6) {
            doc.Add(std::make_unique<CDrawRect>(r, true));
        } else if (i % 10 < 9) {
            auto* poly = static_cast<CDrawPoly*>(doc.Add(std::make_unique<CDrawPoly>(
                CRect{}, i % 10 == 8 ? CDrawPoly::polyline : CDrawPoly::polygon)));
            for (int v = 0; v < 6; ++v) {
                poly->AppendVertex({x + (v * 7) % 23, y + (v * 11) % 19});
            }
        } else {
            auto text = std::make_unique<CDrawText>(CRect{x, y, x + 80, y + 30});
            text->SetText("Weg " + std::to_string(i));
            doc.Add(std::move(text));
        }
    }
    return doc.Add(std::make_unique<CDrawRect>(CRect{392, 392, 408, 408}));
}

// What the viewport was asked to paint: paint events, their region's rectangles and the
// area of those rectangles in pixels.
struct PaintCount {
    int paints = 0;
    int rects = 0;
    int64_t area = 0;
};

// Counts the viewport's paint events; lets every event through.
class PaintMeter : public QObject {
public:
    PaintCount count;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count.paints;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                ++count.rects;
                count.area += int64_t{r.width()} * r.height();
            }
        }
        return false;
    }
};

// A mouse event through the viewport's event path, then the event loop, so that the
// repaints it asked for happen before this returns.
void SendMouse(QWidget* viewport, QEvent::Type type, QPoint p, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(p), QPointF(viewport->mapToGlobal(p)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
    QApplication::processEvents();
}

void ReportArea(const std::string& name, double pixels, double fullPixels, double rects,
                double paints)
{
    std::printf("%-44s %9.0f px   %7.4f x full view (%.0f px); %.1f rects in %.1f paints\n",
                name.c_str(), pixels, fullPixels > 0 ? pixels / fullPixels : 0.0, fullPixels, rects,
                paints);
    std::fflush(stdout);
}

}  // namespace

void RunMapViewBenchmarks()
{
    QApplication app(OffscreenArgc(), OffscreenArgv());

    CDrawDoc doc;
    CDrawObj* moved = FillMap(doc);
    MapTools tools;  // the selection tool current
    CDrawView view;
    view.resize(kViewSize + 2 * view.frameWidth(), kViewSize + 2 * view.frameWidth());
    view.AttachDocument(&doc);
    view.show();
    view.OnInitialUpdate();
    view.SetTools(&tools);
    view.SetActive(true);
    QWidget* viewport = view.viewport();
    QApplication::processEvents();
    if (viewport->size() != QSize(kViewSize, kViewSize)) {
        std::printf("(the viewport is %d x %d, not %d x %d)\n", viewport->width(),
                    viewport->height(), kViewSize, kViewSize);
    }
    PaintMeter meter;
    viewport->installEventFilter(&meter);
    const double fullArea = double(viewport->width()) * viewport->height();

    QImage image(kViewSize, kViewSize, QImage::Format_RGB32);
    double rectangles = Measure([&] {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::lightGray);
        for (const CDrawObj* object : doc.ObjectList()) {
            const CRect& r = object->GetPosition();
            painter.drawRect(
                QRect(r.left, r.top, static_cast<int>(r.Width()), static_cast<int>(r.Height())));
        }
    });

    const bool offscreenBefore = CDrawView::OffscreenDrawing();
    for (bool offscreen : {true, false}) {
        CDrawView::SetOffscreenDrawing(offscreen);
        const std::string how = offscreen ? " (off-screen)" : " (direct)";

        meter.count = {};
        double full = Measure([&] { viewport->repaint(); });
        if (meter.count.paints != 5 || meter.count.area != 5 * int64_t(fullArea)) {
            std::printf("(5 full repaints painted %d times, %lld px)\n", meter.count.paints,
                        static_cast<long long>(meter.count.area));
        }
        Report("repaint view, 10000 objects" + how, full, "QPainter: 10000 rectangles", rectangles);

        // The paint alone of an area as large as a move step's, without the mouse.
        double part = Measure([&] { viewport->repaint(QRect(385, 385, 31, 28)); });
        Report("repaint 31 x 28 px of the view" + how, part, "full repaint", full);

        // One drag of the small object, selected beforehand, at its centre: the press, then
        // five timed stretches of move steps (right, back, ...), then the release.
        view.Select(moved, false);
        QApplication::processEvents();
        const CRect& r = moved->GetPosition();
        QPoint mouse((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        meter.count = {};
        SendMouse(viewport, QEvent::MouseButtonPress, mouse, Qt::LeftButton, Qt::LeftButton);
        PaintCount press = meter.count;
        meter.count = {};
        int stretch = 0;
        double step = Measure([&] {
            int dx = stretch++ % 2 == 0 ? kStride : -kStride;
            for (int i = 0; i < kSteps; ++i) {
                mouse.rx() += dx;
                SendMouse(viewport, QEvent::MouseMove, mouse, Qt::NoButton, Qt::LeftButton);
            }
        });
        step /= kSteps;
        PaintCount moves = meter.count;
        meter.count = {};
        SendMouse(viewport, QEvent::MouseButtonRelease, mouse, Qt::LeftButton, Qt::NoButton);
        const int movesTimed = 5 * kSteps;
        if (moved->GetPosition().left != 392 + kStride * kSteps) {
            std::printf("(the drag left the object at x %d, not %d)\n", moved->GetPosition().left,
                        392 + kStride * kSteps);
        }
        Report("drag 1 of 10000: per move step" + how, step, "full repaint", full);
        if (offscreen) {
            ReportArea("drag 1 of 10000: area per move step", double(moves.area) / movesTimed,
                       fullArea, double(moves.rects) / movesTimed,
                       double(moves.paints) / movesTimed);
            ReportArea("drag 1 of 10000: area of the press", double(press.area), fullArea,
                       press.rects, press.paints);
            ReportArea("drag 1 of 10000: area of the release", double(meter.count.area), fullArea,
                       meter.count.rects, meter.count.paints);
        }
        // Back where it started, for the next round.
        moved->MoveTo({392, 392, 408, 408}, &view);
        view.Select(nullptr, false);
        QApplication::processEvents();
    }
    CDrawView::SetOffscreenDrawing(offscreenBefore);
    viewport->removeEventFilter(&meter);
}
