#include "edit/PointClipboard.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "edit/ClipboardBlock.h"
#include "gps/CDataDoc.h"
#include "gps/RichRecordBytes.h"

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

// The MIME type under which other instances find a private clipboard format.
QString PrivateMimeType(const char* format)
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
        .arg(QString::fromLatin1(format));
}

QString DetailsMimeType(ListMode mode)
{
    return PrivateMimeType(mode == LIST_TRACKPOINTS ? TRACKPOINT_DETAILS_CLIPBOARD_FORMAT
                                                    : WAYPOINT_DETAILS_CLIPBOARD_FORMAT);
}

}  // namespace

QString ClipboardMimeType(ListMode mode)
{
    return PrivateMimeType(mode == LIST_TRACKPOINTS ? TRACKPOINT_CLIPBOARD_FORMAT
                                                    : WAYPOINT_CLIPBOARD_FORMAT);
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
    std::vector<WaypointDetails> waypointDetails;
    std::vector<TrackpointRecord> trackpoints;
    std::vector<TrackpointDetails> trackpointDetails;
    for (int index : indices) {
        if (mode == LIST_WAYPOINTS) {
            WaypointRecord w;
            if (doc.GetWaypoint(index, w) != DOC_OK) {
                break;
            }
            const WaypointDetails& details = doc.WaypointDetailsAt(index);
            text += WaypointClipboardLine(w, details) + "\r\n";
            waypoints.push_back(w);
            waypointDetails.push_back(details);
        } else {
            TrackpointRecord t;
            if (doc.GetTrackpoint(index, t) != DOC_OK) {
                break;
            }
            const TrackpointDetails& details = doc.TrackpointDetailsAt(index);
            text += TrackpointClipboardLine(t, details) + "\r\n";
            trackpoints.push_back(t);
            trackpointDetails.push_back(details);
        }
    }
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(text));
    data->setData(ClipboardMimeType(mode),
                  ToBytes(mode == LIST_WAYPOINTS ? EncodeClipboardBlock(waypoints)
                                                 : EncodeClipboardBlock(trackpoints)));
    // The details go beside the records only when there are any.
    bool anyWaypointDetails = std::any_of(waypointDetails.begin(), waypointDetails.end(),
                                          [](const auto& d) { return !IsEmpty(d); });
    bool anyTrackpointDetails = std::any_of(trackpointDetails.begin(), trackpointDetails.end(),
                                            [](const auto& d) { return !IsEmpty(d); });
    if (anyWaypointDetails || anyTrackpointDetails) {
        data->setData(DetailsMimeType(mode),
                      ToBytes(mode == LIST_WAYPOINTS ? EncodeDetails(waypointDetails)
                                                     : EncodeDetails(trackpointDetails)));
    }
    QApplication::clipboard()->setMimeData(data);
}

int PasteRecordsFromClipboard(CDataDoc& doc, ListMode mode)
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!ClipboardHasRecords(mode) || !data) {
        return DOC_BAD_INDEX;
    }
    std::vector<uint8_t> block = FromBytes(data->data(ClipboardMimeType(mode)));
    std::vector<uint8_t> detailsBlock = FromBytes(data->data(DetailsMimeType(mode)));
    CDataDoc::UndoStep step(doc, "Einfügen");
    if (mode == LIST_WAYPOINTS) {
        auto records = DecodeWaypointBlock(block);
        if (!records) {
            return DOC_BAD_INDEX;
        }
        auto details = PastedWaypointDetails(detailsBlock, records->size());
        return doc.InsertWaypoints(0, static_cast<int32_t>(records->size()), records->data(),
                                   details.empty() ? nullptr : details.data());
    }
    auto records = DecodeTrackpointBlock(block);
    if (!records) {
        return DOC_BAD_INDEX;
    }
    auto details = PastedTrackpointDetails(detailsBlock, records->size());
    return doc.InsertTrackpoints(0, static_cast<int32_t>(records->size()), records->data(),
                                 details.empty() ? nullptr : details.data());
}
