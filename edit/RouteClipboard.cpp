#include "edit/RouteClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "edit/RouteEditing.h"
#include "gps/RichRecordBytes.h"

QString RouteClipboardMimeType()
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
        .arg(QString::fromLatin1(ROUTE_CLIPBOARD_FORMAT));
}

bool ClipboardHasRoutes()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(RouteClipboardMimeType());
}

void CopyRoutesToClipboard(const std::vector<Route>& routes)
{
    const std::vector<uint8_t> bytes = EncodeRoutes(routes);
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(RouteClipboardText(routes)));
    data->setData(RouteClipboardMimeType(), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

std::vector<Route> RoutesFromClipboard()
{
    if (!ClipboardHasRoutes()) {
        return {};
    }
    const QByteArray bytes = QApplication::clipboard()->mimeData()->data(RouteClipboardMimeType());
    return DecodeRoutes(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}
