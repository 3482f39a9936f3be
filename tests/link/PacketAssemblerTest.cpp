// One assembler reads both directions: a receiver's downloads strictly, the host's uploads to
// the simulated units as the GPS 12 took them.

#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "link/LinkTypes.h"
#include "link/UnitData.h"

namespace {

using Packets = std::vector<std::pair<uint8_t, std::vector<uint8_t>>>;

TEST(PacketAssembler, DownloadsAreReadStrictlyUploadsAsTheGps12TookThem)
{
    UnitProtocols p;
    p.waypointType = p.routeWaypointType = 103;
    p.routeHeaderType = 200;
    p.trackHeaderType = 310;
    p.trackPointType = 301;
    auto read = [&](PacketReading reading, const Packets& packets, int slots = 0) {
        PacketAssembler assembler(p, reading);
        assembler.WaypointSlots(slots);
        for (const auto& [id, data] : packets) {
            assembler.Take(id, data.data(), data.size());
        }
        return assembler.Finish();
    };
    const auto strict = PacketReading::Strict;
    const auto lenient = PacketReading::Lenient;
    std::vector<uint8_t> waypoint = EncodeWaypoint(103, WaypointRecord{}, NoWaypointDetails());
    const Packets routePoint = {{PKT_ROUTE_WAYPOINT, waypoint}};
    const Packets point = {{PKT_TRACKPOINT, EncodeTrackPoint(301, {}, NoTrackpointDetails())}};
    Packets routes(MAX_DOC_ROUTES + 1, {PKT_ROUTE_HEADER, EncodeRouteHeader(200, {})});
    routes.push_back(routePoint[0]);
    waypoint.pop_back();
    const Packets shortWaypoint = {{PKT_WAYPOINT, waypoint}};

    EXPECT_THROW(read(strict, routePoint), DataTypeError);
    EXPECT_EQ(read(lenient, routePoint).routes.at(0).points.size(), 1u);
    EXPECT_THROW(read(strict, routes), DataTypeError);
    GpsRecords dropped = read(lenient, routes);
    EXPECT_EQ(dropped.routes.size(), size_t(MAX_DOC_ROUTES));
    EXPECT_TRUE(dropped.routes.back().points.empty());
    EXPECT_THROW(read(strict, shortWaypoint), DataTypeError);
    EXPECT_EQ(read(lenient, shortWaypoint).waypoints.size(), 1u);
    EXPECT_EQ(read(strict, point).trackpoints.at(0).newTrack, 0);
    EXPECT_EQ(read(lenient, point).trackpoints.at(0).newTrack, 1);
    // A download's count gives the waypoints their slots; those that never came stay zero.
    GpsRecords slots = read(strict, {}, 2);
    EXPECT_EQ(slots.waypoints.size(), 2u);
    EXPECT_TRUE(slots.waypointDetails.empty());
}

}  // namespace
