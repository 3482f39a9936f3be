#pragma once

#include <QString>
#include <vector>

#include "edit/PointListFormat.h"

class CDataDoc;

// The system clipboard of the point lists. Each record kind has a private format, the
// MIME type application/x-qt-windows-mime;value="Orvi Waypoints" (or "Orvi Trackpoints"),
// which other running instances of the program see as well; a plain text goes beside it.

QString ClipboardMimeType(ListMode mode);
// Whether the private format of `mode` is on the clipboard.
bool ClipboardHasRecords(ListMode mode);
// Puts the records of `indices` (in that order) on the clipboard in both forms. Indices
// without a record end the list there.
void CopyRecordsToClipboard(const CDataDoc& doc, ListMode mode, const std::vector<int>& indices);
// Inserts the clipboard's records of `mode` at the start of the document (one undo step).
// DOC_OK, the document's failure code (DOC_TOO_MANY: nothing changed), or DOC_BAD_INDEX when
// the clipboard holds no usable block (a damaged one is refused whole).
int PasteRecordsFromClipboard(CDataDoc& doc, ListMode mode);
