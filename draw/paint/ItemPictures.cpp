#include "draw/paint/ItemPictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <cmath>
#include <memory>

namespace {

// The icon with its label, in pixels.
constexpr int kIconWidth = 96;
constexpr int kIconHeight = 64;
constexpr double kHimetricPerPixel = 2540.0 / 96.0;

// A decoded picture, or nothing for an icon.
class Picture : public CDrawItem::Presentation {
public:
    bool IsEmpty() const { return !svg && image.isNull(); }

    QImage image;
    std::unique_ptr<QSvgRenderer> svg;
};

bool IsSvg(const std::string& mimeType)
{
    return mimeType == "image/svg+xml";
}

QByteArray AsByteArray(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

QByteArray ReadFileBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

std::unique_ptr<Picture> Decode(const std::string& mimeType, const QByteArray& bytes)
{
    auto picture = std::make_unique<Picture>();
    if (IsSvg(mimeType)) {
        auto svg = std::make_unique<QSvgRenderer>(bytes);
        if (svg->isValid()) {
            picture->svg = std::move(svg);
        }
        return picture;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    picture->image = reader.read();
    return picture;
}

const Picture& PictureOf(const CDrawItem& item)
{
    if (auto* cached = dynamic_cast<Picture*>(item.GetPresentation())) {
        return *cached;
    }
    std::unique_ptr<Picture> picture;
    if (item.IsPicture()) {
        QByteArray bytes =
            item.IsLinked() ? ReadFileBytes(item.GetLinkPath()) : AsByteArray(item.GetData());
        picture = Decode(item.GetMimeType(), bytes);
        if (item.IsLinked() && picture->IsEmpty() && !item.GetData().empty()) {
            picture = Decode(item.GetMimeType(), AsByteArray(item.GetData()));
        }
    } else {
        picture = std::make_unique<Picture>();
    }
    const Picture& result = *picture;
    item.SetPresentation(std::move(picture));
    return result;
}

// A sheet of paper with a folded corner above the file name, centred in `box`.
void PaintIcon(QPainter& painter, const std::string& name, const QRectF& box)
{
    double size = std::min({32.0, box.width() - 4, box.height() - 4});
    QString label = QString::fromStdString(name);
    QFont font = painter.font();
    font.setPixelSize(11);
    QFontMetricsF metrics(font);
    double labelHeight = box.height() >= size + metrics.height() + 6 ? metrics.height() : 0;
    double top = box.top() + (box.height() - size - labelHeight) / 2;
    if (size >= 8) {
        double left = std::floor(box.center().x() - size * 0.4);
        double width = std::floor(size * 0.8);
        double fold = std::floor(size * 0.25);
        QPainterPath sheet;
        sheet.moveTo(left + 0.5, top + 0.5);
        sheet.lineTo(left + width - fold + 0.5, top + 0.5);
        sheet.lineTo(left + width + 0.5, top + fold + 0.5);
        sheet.lineTo(left + width + 0.5, top + size + 0.5);
        sheet.lineTo(left + 0.5, top + size + 0.5);
        sheet.closeSubpath();
        painter.fillPath(sheet, Qt::white);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawPath(sheet);
        painter.drawLine(QPointF(left + width - fold + 0.5, top + 0.5),
                         QPointF(left + width - fold + 0.5, top + fold + 0.5));
        painter.drawLine(QPointF(left + width - fold + 0.5, top + fold + 0.5),
                         QPointF(left + width + 0.5, top + fold + 0.5));
    }
    if (labelHeight > 0) {
        painter.setFont(font);
        painter.setPen(Qt::black);
        QString shown = metrics.elidedText(label, Qt::ElideMiddle, box.width());
        painter.drawText(QRectF(box.left(), top + size + 4, box.width(), labelHeight),
                         Qt::AlignHCenter | Qt::AlignTop, shown);
    }
}

}  // namespace

void PaintItem(QPainter& painter, const CDrawItem& item, const QRectF& box)
{
    const Picture& picture = PictureOf(item);
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (picture.svg) {
        picture.svg->render(&painter, box);
    } else if (!picture.image.isNull()) {
        painter.drawImage(box, picture.image);
    } else {
        PaintIcon(painter, item.GetName(), box);
    }
    painter.restore();
}

CSize NaturalExtent(const std::string& mimeType, const std::vector<uint8_t>& bytes)
{
    QByteArray data = AsByteArray(bytes);
    QSize pixels(kIconWidth, kIconHeight);
    if (IsSvg(mimeType)) {
        QSvgRenderer svg(data);
        if (svg.isValid()) {
            pixels = svg.defaultSize();
        }
    } else if (mimeType.rfind("image/", 0) == 0) {
        QBuffer buffer(&data);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        QSize size = reader.size();
        if (size.isValid()) {
            pixels = size;
        }
    }
    return {static_cast<int32_t>(std::lround(pixels.width() * kHimetricPerPixel)),
            static_cast<int32_t>(std::lround(pixels.height() * kHimetricPerPixel))};
}

bool DecodesAsPicture(const std::string& mimeType, const std::vector<uint8_t>& bytes)
{
    QByteArray data = AsByteArray(bytes);
    if (IsSvg(mimeType)) {
        return QSvgRenderer(data).isValid();
    }
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    QImage image;
    return reader.read(&image) && !image.isNull();
}

bool LoadItemFromFile(CDrawItem& item, const std::string& path, ItemType type, std::string& error)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": " + file.errorString().toStdString();
        return false;
    }
    QByteArray data = file.readAll();
    std::vector<uint8_t> bytes(data.begin(), data.end());
    std::string mimeType = QMimeDatabase()
                               .mimeTypeForFileNameAndData(QString::fromStdString(path), data)
                               .name()
                               .toStdString();
    std::string name = QFileInfo(file).fileName().toStdString();
    CSize extent = NaturalExtent(mimeType, bytes);
    switch (type) {
    case OT_LINK:
        item.SetLinkedFile(QFileInfo(file).absoluteFilePath().toStdString(), std::move(mimeType),
                           extent, std::move(bytes));
        break;
    case OT_STATIC: {
        CDrawItem probe;
        probe.SetStaticPicture(name, mimeType, bytes, extent);
        if (!probe.IsPicture()) {
            error = path + ": not a picture (" + mimeType + ")";
            return false;
        }
        item.SetStaticPicture(std::move(name), std::move(mimeType), std::move(bytes), extent);
        break;
    }
    default:
        item.SetEmbeddedFile(std::move(name), std::move(mimeType), std::move(bytes), extent);
        break;
    }
    return true;
}

bool EmbedLinkedFile(CDrawItem& item, std::string& error)
{
    if (!item.IsLinked()) {
        error = item.GetName() + ": not linked";
        return false;
    }
    CDrawItem copy;
    if (!LoadItemFromFile(copy, item.GetLinkPath(), OT_EMBEDDED, error)) {
        return false;
    }
    CSize extent;
    copy.GetExtent(extent);
    item.SetEmbeddedFile(item.GetName(), copy.GetMimeType(), copy.GetData(), extent);
    return true;
}
