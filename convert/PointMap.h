#pragma once

#include <optional>
#include <vector>

#include "draw/model/MapGeoReference.h"
#include "gps/Records.h"
#include "gps/RichRecords.h"

class CDrawDoc;

// Page units between the outermost points and the page's edges.
constexpr int POINT_MAP_MARGIN = 40;

// Draws the points of a GPS data document into `map` on top of the objects it holds. Qt-free.
//
// Positions: PlotProjection::For over all the points (as the plot of the points projects
// them), fitted into the page less POINT_MAP_MARGIN on every side as PlotViewport::Fit fits
// them (aspect kept, north up; the page's y grows downward; a single position lands in the
// middle). Every object lies within the page, whatever the positions.
//
// Objects, bottom to top:
// - the track log as polylines, one per segment (a trackpoint with newTrack set starts a
//   segment, the first one always does); a segment longer than a polyline holds goes on in
//   a further polyline from the last vertex; a segment whose points all fall on one page
//   unit becomes a dot, a closed polyline round the square of 2 x 2 units about it;
// - each route as a dashed polyline through its points (which count for the projection and
//   the fit as waypoints do);
// - per waypoint, an ellipse of 7 x 7 units centred on it and, for a waypoint with an ident,
//   a transparent text with the ident (Windows-1252, as the record holds it) right of the
//   ellipse, or left of it where the page ends.
// Nothing is added without points. The objects are added as CDrawDoc::Add does; the caller
// decides about undo steps.
//
// Returns the projection and page fit the points were placed with, for the map's
// georeference (convert/GeoReference.h); none without points. The map is not changed by it:
// the caller stores it (CDrawDoc::SetGeoReference) when the map is the points' own.
std::optional<MapGeoReference> AddPointsToMap(const std::vector<WaypointRecord>& waypoints,
                                              const std::vector<TrackpointRecord>& trackpoints,
                                              CDrawDoc& map, const std::vector<Route>& routes = {});
