#include "edit/PointClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "edit/ClipboardBlock.h"
#include "gps/CDataDoc.h"

namespace {

QByteArray ToBytes(const std::vector<uint8_t>& block)
{
    return QByteArray(reinterpret_cast<const char*>(block.data()),
                      static_cast<qsizetype>(block.size()));
}

std::vector<uint8_t> FromBytes(const QByteArray& bytes)
{
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

QString ClipboardMimeType(ListMode mode)
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
        .arg(QString::fromLatin1(mode == LIST_TRACKPOINTS ? TRACKPOINT_CLIPBOARD_FORMAT
                                                          : WAYPOINT_CLIPBOARD_FORMAT));
}

bool ClipboardHasRecords(ListMode mode)
{
    if (mode != LIST_WAYPOINTS && mode != LIST_TRACKPOINTS) {
        return false;
    }
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(ClipboardMimeType(mode));
}

void CopyRecordsToClipboard(const CDataDoc& doc, ListMode mode, const std::vector<int>& indices)
{
    if (indices.empty() || (mode != LIST_WAYPOINTS && mode != LIST_TRACKPOINTS)) {
        return;
    }
    std::string text = ClipboardTextHeader(static_cast<int>(indices.size()));
    std::vector<WaypointRecord> waypoints;
    std::vector<TrackpointRecord> trackpoints;
    for (int index : indices) {
        if (mode == LIST_WAYPOINTS) {
            WaypointRecord w;
            if (doc.GetWaypoint(index, w) != DOC_OK) {
                break;
            }
            text += WaypointClipboardLine(w) + "\r\n";
            waypoints.push_back(w);
        } else {
            TrackpointRecord t;
            if (doc.GetTrackpoint(index, t) != DOC_OK) {
                break;
            }
            text += TrackpointClipboardLine(t) + "\r\n";
            trackpoints.push_back(t);
        }
    }
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(text));
    data->setData(ClipboardMimeType(mode),
                  ToBytes(mode == LIST_WAYPOINTS ? EncodeClipboardBlock(waypoints)
                                                 : EncodeClipboardBlock(trackpoints)));
    QApplication::clipboard()->setMimeData(data);
}

int PasteRecordsFromClipboard(CDataDoc& doc, ListMode mode)
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!ClipboardHasRecords(mode) || !data) {
        return DOC_BAD_INDEX;
    }
    std::vector<uint8_t> block = FromBytes(data->data(ClipboardMimeType(mode)));
    CDataDoc::UndoStep step(doc, "Einfügen");
    if (mode == LIST_WAYPOINTS) {
        auto records = DecodeWaypointBlock(block);
        return records
                   ? doc.InsertWaypoints(0, static_cast<int32_t>(records->size()), records->data())
                   : DOC_BAD_INDEX;
    }
    auto records = DecodeTrackpointBlock(block);
    return records
               ? doc.InsertTrackpoints(0, static_cast<int32_t>(records->size()), records->data())
               : DOC_BAD_INDEX;
}
