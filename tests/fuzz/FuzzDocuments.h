#pragma once

#include <cstdint>
#include <vector>

#include "edit/PointListFormat.h"
#include "framework/Archive.h"
#include "framework/ByteStream.h"
#include "gps/CDataDoc.h"

// A GPS data document's file bytes as it stores them.
inline std::vector<uint8_t> StoredOrvd(CDataDoc& doc)
{
    MemoryOutputStream out;
    Archive archive(out);
    doc.Serialize(archive);
    return out.TakeBytes();
}

// Loads `bytes` into `doc`; throws ArchiveException as loading a file does.
inline void LoadOrvd(CDataDoc& doc, const std::vector<uint8_t>& bytes)
{
    MemoryInputStream in(bytes);
    Archive archive(in);
    doc.Serialize(archive);
}

// The cell texts of the point lists showing the document: every column of the first and
// the last rows, as the list would show them after the records came in.
inline void ShowPointLists(const CDataDoc& doc)
{
    std::vector<TrackLeg> legs = ComputeTrackLegs(doc.Trackpoints());
    for (ListMode mode : {LIST_WAYPOINTS, LIST_TRACKPOINTS}) {
        int count = mode == LIST_WAYPOINTS ? doc.waypointCount() : doc.trackpointCount();
        for (int record = 0; record < count; ++record) {
            if (record == 8 && count > 16) {
                record = count - 8;
            }
            for (int column = 0; column < ListColumnCount(mode); ++column) {
                PointListCellText(doc, mode, legs, record, column);
            }
        }
    }
}
