#pragma once

#include <QString>
#include <vector>

#include "app/CCalibrateMapDlg.h"
#include "framework/Geometry.h"
#include "gps/LiveFix.h"

class CDrawDoc;
class CDrawView;
class DocManager;
class Document;

// Maps placed on the earth, in the editor: the position pane, "Karte kalibrieren..." and the
// word about a georeference a map file held damaged.

// "x 120, y 45" for a page point, and on a map with a georeference also the position shown
// there, as the plot shows positions: "x 120, y 45   N 47.12345  E 8.54321".
QString MapPositionText(const CDrawDoc& map, CPoint page);

// The waypoints of the open GPS data documents, each named with its document.
std::vector<WaypointChoice> OpenWaypoints(DocManager& documents);

// "Karte kalibrieren...": the calibration dialog for the map of `view`, with the centre of
// the view's selection and the waypoints of `documents`. OK stores the calibration,
// "Kalibrierung entfernen" the map's georeference; either is one undo step.
void CalibrateMap(CDrawView& view, DocManager& documents);

// Shows the live position on every view of every map with a georeference: `fix` the last
// position (none: the marker goes), `receiving` whether fixes still come.
void ShowLivePositionOnMaps(DocManager& documents, const LiveFix* fix, bool receiving);

// After a document was opened: when it is a map whose georeference was left out because its
// stream was damaged, says so (the map itself opened).
void ReportGeoReferenceDamage(Document* document);
