#include "draw/view/MapClipboard.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawObj.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/MapTransfer.h"
#include "draw/paint/ItemPictures.h"
#include "draw/paint/QtGdiPainter.h"
#include "framework/ArchiveException.h"

namespace {

const char* const kSvgType = "image/svg+xml";
// The message of an object that cannot be made from the data (two blanks after the stop).
const char* const kCannotEmbed =
    "Failed to create object.  Make sure the object is entered in the system registry.";
// A picture of the selection for other programs is never larger than this on either side.
constexpr int kMaxPicture = 4000;

std::vector<uint8_t> Bytes(const QByteArray& data)
{
    return std::vector<uint8_t>(data.begin(), data.end());
}

QByteArray ToQByteArray(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

// The objects in the order they lie on the page, bottom first.
std::vector<CDrawObj*> InPageOrder(const std::vector<CDrawObj*>& objects)
{
    std::vector<CDrawObj*> ordered = objects;
    if (!objects.empty() && objects.front()->GetDocument()) {
        auto list = objects.front()->GetDocument()->ObjectList();
        auto place = [&](CDrawObj* o) { return std::find(list.begin(), list.end(), o); };
        std::stable_sort(ordered.begin(), ordered.end(),
                         [&](CDrawObj* a, CDrawObj* b) { return place(a) < place(b); });
    }
    return ordered;
}

CRect Bounds(const std::vector<CDrawObj*>& objects)
{
    CRect bounds = objects.front()->PaintedArea();
    for (CDrawObj* object : objects) {
        CRect r = object->PaintedArea();
        bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                  std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
    }
    return bounds;
}

void PaintObjects(QPainter& painter, const std::vector<CDrawObj*>& objects, const CRect& bounds)
{
    painter.translate(-double(bounds.left), -double(bounds.top));
    QtGdiPainter dc(painter, true);
    for (CDrawObj* object : objects) {
        object->Draw(dc);
    }
}

QByteArray PngOf(const std::vector<CDrawObj*>& objects, const CRect& bounds)
{
    QImage image(int(std::min<int64_t>(bounds.Width(), kMaxPicture)),
                 int(std::min<int64_t>(bounds.Height(), kMaxPicture)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        PaintObjects(painter, objects, bounds);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QByteArray SvgOf(const std::vector<CDrawObj*>& objects, const CRect& bounds)
{
    QByteArray svg;
    QBuffer buffer(&svg);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    QSize size(int(std::min<int64_t>(bounds.Width(), kMaxPicture)),
               int(std::min<int64_t>(bounds.Height(), kMaxPicture)));
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(), size));
    QPainter painter;
    if (painter.begin(&generator)) {
        PaintObjects(painter, objects, bounds);
        painter.end();
    }
    return svg;
}

// A local file the data names, or an empty list.
QStringList LocalFiles(const QMimeData* data)
{
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) {
            files << url.toLocalFile();
        }
    }
    return files;
}

// The first MIME type of `data` that holds a picture this program can decode.
QString DecodablePicture(const QMimeData* data)
{
    const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    for (const QString& format : data->formats()) {
        if (format.startsWith(QLatin1String("image/")) && readable.contains(format.toLatin1())) {
            return format;
        }
    }
    return QString();
}

// The items that `data` makes, not yet in a document; empty with `error` set when it makes
// none (or one of its files cannot be read).
std::vector<std::unique_ptr<CDrawItem>> ItemsFrom(const QMimeData& data, std::string& error)
{
    std::vector<std::unique_ptr<CDrawItem>> items;
    const QStringList files = LocalFiles(&data);
    if (!files.isEmpty()) {
        for (const QString& file : files) {
            auto item = std::make_unique<CDrawItem>();
            if (!LoadItemFromFile(*item, file.toStdString(), OT_EMBEDDED, error)) {
                return {};
            }
            items.push_back(std::move(item));
        }
        return items;
    }
    auto embed = [&](const char* name, const char* type, const QByteArray& bytes) {
        std::vector<uint8_t> content = Bytes(bytes);
        CSize extent = NaturalExtent(type, content);
        auto item = std::make_unique<CDrawItem>();
        item->SetEmbeddedFile(name, type, std::move(content), extent);
        items.push_back(std::move(item));
    };
    if (data.hasFormat(QLatin1String(kSvgType))) {
        embed("Zeichnung.svg", kSvgType, data.data(QLatin1String(kSvgType)));
    } else if (data.hasFormat(QStringLiteral("image/png"))) {
        embed("Bild.png", "image/png", data.data(QStringLiteral("image/png")));
    } else if (data.hasFormat(QStringLiteral("image/jpeg"))) {
        embed("Bild.jpg", "image/jpeg", data.data(QStringLiteral("image/jpeg")));
    } else {
        // Any other picture becomes a PNG.
        QImage image;
        QString format = DecodablePicture(&data);
        if (!format.isEmpty()) {
            image.loadFromData(data.data(format));
        } else if (data.hasImage()) {
            image = qvariant_cast<QImage>(data.imageData());
        }
        if (image.isNull()) {
            error = kCannotEmbed;
            return {};
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        embed("Bild.png", "image/png", png);
    }
    return items;
}

}  // namespace

namespace MapClipboard {

QString ObjectsMimeType()
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"Skizel Objects\"");
}

QString ItemsMimeType()
{
    return QStringLiteral("application/x-orviedit-embedded-items");
}

QMimeData* Copy(const std::vector<CDrawObj*>& objects)
{
    auto data = std::make_unique<QMimeData>();
    if (objects.empty()) {
        return data.release();
    }
    data->setData(ObjectsMimeType(), ToQByteArray(WriteObjectsBlock(objects)));
    data->setData(ItemsMimeType(), ToQByteArray(WriteItemsBlock(objects)));
    std::vector<CDrawObj*> ordered = InPageOrder(objects);
    CRect bounds = Bounds(ordered);
    data->setData(QStringLiteral("image/png"), PngOf(ordered, bounds));
    data->setData(QLatin1String(kSvgType), SvgOf(ordered, bounds));
    // One embedded object also offers its own data: another program pastes the file itself.
    if (objects.size() == 1) {
        auto* ole = dynamic_cast<CDrawOleObj*>(objects.front());
        CDrawItem* item = ole ? ole->GetClientItem() : nullptr;
        if (item && !item->GetData().empty() && !item->GetMimeType().empty()) {
            data->setData(QString::fromStdString(item->GetMimeType()),
                          ToQByteArray(item->GetData()));
        }
    }
    return data.release();
}

bool CanEmbed(const QMimeData* data)
{
    return data && (!LocalFiles(data).isEmpty() || data->hasFormat(QLatin1String(kSvgType)) ||
                    data->hasImage() || !DecodablePicture(data).isEmpty());
}

bool CanPaste(const QMimeData* data)
{
    return data && (data->hasFormat(ObjectsMimeType()) || CanEmbed(data));
}

CSize EmbedSize(const QMimeData* data)
{
    if (!data) {
        return {};
    }
    QSize size;
    const QStringList files = LocalFiles(data);
    if (!files.isEmpty()) {
        QImageReader reader(files.front());
        size = reader.size();
        if (!size.isValid() && files.front().endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            size = QSvgRenderer(files.front()).defaultSize();
        }
    } else if (data->hasFormat(QLatin1String(kSvgType))) {
        size = QSvgRenderer(data->data(QLatin1String(kSvgType))).defaultSize();
    } else if (QString format = DecodablePicture(data); !format.isEmpty()) {
        QByteArray bytes = data->data(format);
        QBuffer buffer(&bytes);
        size = QImageReader(&buffer).size();
    }
    return size.isValid() ? CSize{size.width(), size.height()} : CSize{};
}

std::vector<CDrawObj*> Embed(CDrawDoc& doc, const QMimeData& data, CPoint topLeft,
                             std::string& error)
{
    std::vector<std::unique_ptr<CDrawItem>> items = ItemsFrom(data, error);
    std::vector<CDrawObj*> added;
    for (auto& content : items) {
        auto object =
            std::make_unique<CDrawOleObj>(CRect{topLeft.x, topLeft.y, topLeft.x, topLeft.y});
        CDrawItem* item = doc.AddItem(std::move(content));
        item->SetDrawObj(object.get());
        object->SetClientItem(item);
        added.push_back(doc.Add(std::move(object)));
        item->SyncExtent();
        topLeft = OffsetPoint(topLeft, 10, 10);
    }
    return added;
}

std::vector<CDrawObj*> Paste(CDrawDoc& doc, const QMimeData& data, CPoint topLeft,
                             std::string& error)
{
    if (!data.hasFormat(ObjectsMimeType())) {
        return Embed(doc, data, topLeft, error);
    }
    std::vector<uint8_t> objects = Bytes(data.data(ObjectsMimeType()));
    std::vector<uint8_t> items = Bytes(data.data(ItemsMimeType()));
    try {
        return ReadTransferBlocks(doc, objects, data.hasFormat(ItemsMimeType()) ? &items : nullptr);
    } catch (const ArchiveException& e) {
        error = e.UserMessage();
        return {};
    }
}

}  // namespace MapClipboard
