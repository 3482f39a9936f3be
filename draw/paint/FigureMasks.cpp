#include "draw/paint/FigureMasks.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <QThread>

#include <array>
#include <cmath>
#include <memory>
#include <unordered_map>

namespace {

// When the store holds this many figures, or bitmaps of this many bytes, it starts afresh.
constexpr size_t kMaxFigures = 32768;
constexpr size_t kMaxMaskBytes = size_t{16} << 20;

// A figure where a device transform puts it.
struct PlacedFigure {
    FigureKey figure;
    double dx;
    double dy;

    bool operator==(const PlacedFigure&) const = default;
};

struct PlacedFigureHash {
    size_t operator()(const PlacedFigure& key) const noexcept
    {
        const FigureKey& f = key.figure;
        size_t h = std::hash<double>()(key.dx) ^ (std::hash<double>()(key.dy) << 1);
        auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
        for (int v : {f.figure, f.left, f.top, f.right, f.bottom, f.cornerX, f.cornerY}) {
            mix(std::hash<int>()(v));
        }
        mix(std::hash<double>()(f.penWidth));
        mix(size_t{f.penInside} << 1 | size_t{f.filled});
        return h;
    }
};

// The pixels each part covered and where the top left of its bitmap lies.
struct Masks {
    std::array<QBitmap, 2> parts;
    std::array<QPoint, 2> at;  // device pixels
};

struct Store {
    // A figure seen once has no masks yet.
    std::unordered_map<PlacedFigure, std::unique_ptr<Masks>, PlacedFigureHash> figures;
    size_t maskBytes = 0;
    // Painted white where a part covers, cleared again after each part is taken.
    QImage scratch;
    bool postRoutineAdded = false;
};

Store& StoreOfThread()
{
    thread_local Store store;
    return store;
}

void EmptyStore()
{
    Store& store = StoreOfThread();
    store.figures.clear();
    store.maskBytes = 0;
    store.scratch = QImage();
    store.postRoutineAdded = false;
}

// The store, emptied as the application ends (its post routines run before it takes its
// pixmaps and fonts down): a later application starts with an empty one.
Store& TheStore()
{
    Store& store = StoreOfThread();
    if (!store.postRoutineAdded) {
        qAddPostRoutine(EmptyStore);
        store.postRoutineAdded = true;
    }
    return store;
}

bool OnGuiThread()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return app && QThread::currentThread() == app->thread();
}

// True when the device transform only shifts by whole pixels and painting sets exactly the
// pixels covered to the colour painted.
bool WholePixelShift(const QPainter& painter, const QTransform& device)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster && engine->paintDevice() &&
           device.type() <= QTransform::TxTranslate && device.m11() == 1 && device.m22() == 1 &&
           device.m12() == 0 && device.m21() == 0 && device.dx() == std::floor(device.dx()) &&
           device.dy() == std::floor(device.dy()) &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
           painter.opacity() == 1.0 && !painter.testRenderHint(QPainter::Antialiasing);
}

// Where the engine paints figures as they are, without cutting them first: inside the device
// and the system clip (a widget's area to repaint). Qt cuts a figure reaching far beyond it
// before scanning.
QRect DeviceArea(const QPaintEngine& engine)
{
    const QPaintDevice* device = engine.paintDevice();
    QRect area(0, 0, device->width(), device->height());
    QRegion clip = engine.systemClip();
    return clip.isEmpty() ? area : area & clip.boundingRect();
}

// Paints `part` onto the scratch image (at least as large as the device) under `device` and
// takes the pixels it covered within `reach` (device pixels): a bitmap of the smallest
// rectangle holding them, and that rectangle's top left corner in `at`. Leaves the scratch
// clear.
QBitmap TakePart(Store& store, const QSize& deviceSize, const QTransform& device,
                 const QRect& reach, int part, const FigurePart& paint, QPoint& at)
{
    QImage& scratch = store.scratch;
    if (scratch.width() < deviceSize.width() || scratch.height() < deviceSize.height()) {
        scratch = QImage(std::max(scratch.width(), deviceSize.width()),
                         std::max(scratch.height(), deviceSize.height()), QImage::Format_Alpha8);
        scratch.fill(0);
    }
    {
        QPainter painter(&scratch);
        painter.setWorldTransform(device);
        painter.setClipRect(QRectF(reach).translated(-device.dx(), -device.dy()));
        paint(painter, part, Qt::white);
    }
    uchar* const first = scratch.bits() + reach.top() * scratch.bytesPerLine() + reach.left();
    const qsizetype stride = scratch.bytesPerLine();
    int left = reach.width(), top = reach.height(), right = -1, bottom = -1;
    for (int y = 0; y < reach.height(); ++y) {
        const uchar* row = first + y * stride;
        for (int x = 0; x < reach.width(); ++x) {
            if (row[x]) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = y;
            }
        }
    }
    if (right < 0) {
        return {};
    }
    QImage bits(right - left + 1, bottom - top + 1, QImage::Format_MonoLSB);
    bits.setColor(0, qRgb(255, 255, 255));
    bits.setColor(1, qRgb(0, 0, 0));
    bits.fill(0);
    for (int y = top; y <= bottom; ++y) {
        uchar* row = first + y * stride;
        uchar* out = bits.scanLine(y - top);
        for (int x = left; x <= right; ++x) {
            if (row[x]) {
                out[(x - left) >> 3] |= uchar(1 << ((x - left) & 7));
                row[x] = 0;
            }
        }
    }
    at = reach.topLeft() + QPoint(left, top);
    store.maskBytes += size_t(bits.sizeInBytes());
    return QBitmap::fromImage(bits);
}

}  // namespace

void PaintFigure(QPainter& painter, const FigureKey& key, const QRect& reach, const QColor& fill,
                 const QColor& outline, const FigurePart& paint)
{
    const QColor* colours[2] = {&fill, &outline};
    auto paintAsItIs = [&] {
        for (int part = 0; part < 2; ++part) {
            if (colours[part]->isValid()) {
                paint(painter, part, *colours[part]);
            }
        }
    };
    const QTransform& device = painter.deviceTransform();
    QRect pixels = reach.translated(int(device.dx()), int(device.dy()));
    if (!WholePixelShift(painter, device) || !OnGuiThread() ||
        !DeviceArea(*painter.paintEngine()).contains(pixels)) {
        paintAsItIs();
        return;
    }

    Store& store = TheStore();
    if (store.figures.size() >= kMaxFigures || store.maskBytes >= kMaxMaskBytes) {
        store.figures.clear();
        store.maskBytes = 0;
    }
    auto [found, first] = store.figures.try_emplace({key, device.dx(), device.dy()});
    if (first) {
        paintAsItIs();
        return;
    }
    if (!found->second) {
        found->second = std::make_unique<Masks>();
        const QPaintDevice* target = painter.paintEngine()->paintDevice();
        for (int part = 0; part < 2; ++part) {
            if (colours[part]->isValid()) {
                found->second->parts[part] =
                    TakePart(store, QSize(target->width(), target->height()), device, pixels, part,
                             paint, found->second->at[part]);
            }
        }
    }
    const Masks& masks = *found->second;
    QPen pen = painter.pen();
    for (int part = 0; part < 2; ++part) {
        if (colours[part]->isValid() && !masks.parts[part].isNull()) {
            painter.setPen(*colours[part]);
            painter.drawPixmap(QPointF(masks.at[part] - pixels.topLeft() + reach.topLeft()),
                               masks.parts[part]);
        }
    }
    painter.setPen(pen);
}
