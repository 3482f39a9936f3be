#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "bench/Bench.h"
#include "bench/OffscreenApp.h"
#include "edit/CDataView.h"
#include "edit/CPlotView.h"
#include "gps/CDataDoc.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

// A full document: the track wanders in loops over some 20 km around Zug, a new track every
// 2000 points; the waypoints lie scattered over the same area.
void FillDocument(CDataDoc& doc)
{
    std::vector<TrackpointRecord> track(MAX_DOC_RECORDS);
    for (size_t i = 0; i < track.size(); ++i) {
        const double t = static_cast<double>(i);
        const double latitude = 47.15 + 0.08 * std::sin(t / 5000) + 0.004 * std::sin(t / 37);
        const double longitude = 8.5 + 0.1 * std::cos(t / 7000) + 0.006 * std::cos(t / 41);
        track[i] = {DegreesToSemicircles(latitude), DegreesToSemicircles(longitude),
                    static_cast<uint32_t>(i), static_cast<uint8_t>(i % 2000 == 0)};
    }
    std::vector<WaypointRecord> waypoints(MAX_DOC_RECORDS);
    for (size_t i = 0; i < waypoints.size(); ++i) {
        WaypointRecord& w = waypoints[i];
        w = {};
        SetFieldText(w.ident, WAYPOINT_IDENT_SIZE, "W" + std::to_string(i));
        w.latitude =
            DegreesToSemicircles(47.07 + 0.16 * static_cast<double>((i * 7919) % 32768) / 32768);
        w.longitude =
            DegreesToSemicircles(8.4 + 0.2 * static_cast<double>((i * 104729) % 32768) / 32768);
        w.symbol = static_cast<int16_t>(i % SYMBOL_COUNT);
    }
    doc.ReplaceTrackpoints(std::move(track));
    doc.ReplaceWaypoints(std::move(waypoints));
}

// The reference: the same number of plain points and lines, in the same pixels.
void PaintPlain(QImage& image, const std::vector<QPointF>& waypoints,
                const std::vector<QPointF>& track)
{
    QPainter painter(&image);
    painter.fillRect(image.rect(), Qt::white);
    painter.setPen(QPen(Qt::red, 1.5));
    painter.drawPolyline(track.data(), static_cast<int>(track.size()));
    painter.setPen(QPen(Qt::blue, 3));
    painter.drawPoints(waypoints.data(), static_cast<int>(waypoints.size()));
}

void PaintPlot(QImage& image, CPlotView& plot, const QRect& area)
{
    QPainter painter(&image);
    painter.setClipRect(area);
    plot.PaintPlot(painter, area);
}

}  // namespace

void RunPlotBenchmarks()
{
    QApplication app(OffscreenArgc(), OffscreenArgv());

    CDataDoc doc;
    FillDocument(doc);
    // The plot alone follows the document; the list beside it only lends its selection.
    CDataView list;
    CPlotView plot(&list);
    plot.resize(kWidth, kHeight);
    plot.AttachDocument(&doc);
    plot.OnInitialUpdate();

    std::vector<QPointF> waypointPixels;
    std::vector<QPointF> trackPixels;
    for (int i = 0; i < doc.waypointCount(); ++i) {
        const PixelPoint p = plot.WaypointPixel(i);
        waypointPixels.emplace_back(p.x, p.y);
    }
    for (int i = 0; i < doc.trackpointCount(); ++i) {
        const PixelPoint p = plot.TrackpointPixel(i);
        trackPixels.emplace_back(p.x, p.y);
    }
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    const double plain = Measure([&] { PaintPlain(image, waypointPixels, trackPixels); });
    std::printf("Plot of %d waypoints and %d track points, %d x %d pixels\n", doc.waypointCount(),
                doc.trackpointCount(), kWidth, kHeight);
    const double full = Measure([&] { PaintPlot(image, plot, image.rect()); });
    Report("plot: paint everything", full, "plain points and lines", plain);

    // A zoom step as the wheel makes it: the new layout and a paint of everything.
    PlotViewport view = plot.Viewport();
    const double zoom = Measure([&] {
        view.ZoomAt({kWidth / 2.0, kHeight / 2.0}, 1.25);
        plot.SetViewport(view);
        PaintPlot(image, plot, image.rect());
    });
    Report("plot: zoom step (layout and paint)", zoom, "plain points and lines", plain);
    plot.FitAll();

    // One waypoint moved: the plot told of the change (the document's own work on it not
    // timed), then the repaint of the area it asked for, against painting everything.
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        WaypointRecord w = doc.Waypoints()[100];
        w.latitude += (run % 2 ? 1 : -1) * 20000;
        doc.SetWaypoint(100, w);
        times.push_back(Measure(
            [&] {
                plot.OnUpdate(nullptr, 0, {});
                const PixelRect& a = plot.LastChangeArea();
                PaintPlot(image, plot, QRect(a.left, a.top, a.right - a.left, a.bottom - a.top));
            },
            1));
    }
    std::sort(times.begin(), times.end());
    Report("plot: one waypoint changed, area repainted", times[2], "paint everything", full);
    std::printf("\n");
}
