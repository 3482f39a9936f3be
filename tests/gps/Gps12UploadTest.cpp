#include "gps/Gps12Upload.h"
#include "gps/UnitUpload.h"

#include <gtest/gtest.h>

#include "tests/gps/GpsTestRecords.h"

TEST(Gps12Upload, ShortenedNamesGetIdentsOfTheirOwnAndTheLossesAreSaidOnce)
{
    std::vector<WaypointRecord> records(5, TestWaypoint(0));
    std::vector<WaypointDetails> details(5, NoWaypointDetails());
    const char* names[] = {"AUSSIC", "Aussicht Zugerberg", "Aussicht Rigi", "Hafen", "AUSSI1"};
    for (size_t i = 0; i < 5; ++i) {
        SetWaypointName(records[i], details[i], names[i]);
    }
    details[3].altitude = 410;
    std::vector<WaypointRecord> sent = Gps12Waypoints(records, details);
    std::vector<std::string> idents;
    for (const WaypointRecord& w : sent) {
        idents.emplace_back(WaypointIdent(w));
    }
    EXPECT_EQ(idents, (std::vector<std::string>{"AUSSIC", "AUSSI2", "AUSSI3", "HAFEN ", "AUSSI1"}))
        << "whole names keep their idents; shortened ones step around them";
    EXPECT_EQ(Gps12WaypointLosses(details), "3 Namen gekürzt, Höhen nicht übertragen");
    EXPECT_EQ(Gps12WaypointLosses(std::vector<WaypointDetails>(2, NoWaypointDetails())), "");

    std::vector<TrackpointDetails> track(2, NoTrackpointDetails());
    SetFieldText(track[0].trackName, sizeof track[0].trackName, "Morgen");
    EXPECT_EQ(Gps12TrackLosses(track), "Tracknamen nicht übertragen");
}

TEST(UnitUpload, NamesAreCutToTheUnitsRulesUniquelyAndCountsBeyondItsLimitsAreRefused)
{
    GpsRecords records;
    // A name the unit holds as it is (HAFEN) is not said to be cut.
    const char* names[] = {"Aussichtspunkt am See", "Aussichtspunkt Rigi", "HAFEN"};
    for (const char* name : names) {
        WaypointRecord w = TestWaypoint(0);
        WaypointDetails d = NoWaypointDetails();
        SetWaypointName(w, d, name);
        records.waypoints.push_back(w);
        records.waypointDetails.push_back(d);
    }
    records.routes.resize(2);
    records.routes[0].points = {MakeRoutePoint(records.waypoints[1], records.waypointDetails[1])};
    // A point that is no waypoint is cut to a name no waypoint has, the same in every route.
    WaypointRecord summit = TestWaypoint(0);
    WaypointDetails summitDetails = NoWaypointDetails();
    SetWaypointName(summit, summitDetails, "Aussichtspunkt Gipfel");
    records.routes[1].points.assign(2, MakeRoutePoint(summit, summitDetails));
    struct Case {
        const char* unit;
        std::vector<std::string> sent;  // the three waypoints and the summit
        std::string losses;
        std::string routesRefused;
    };
    const Case cases[] = {
        {"gpsmap60csx",
         {"Aussichtspunkt", "Aussichtspunk1", "HAFEN", "Aussichtspunk2"},
         "2 Namen gekürzt",
         ""},
        {"gpsmap60cs", {"AUSSICHTSP", "AUSSICHTS1", "HAFEN", "AUSSICHTS2"}, "2 Namen gekürzt", ""},
        {"etrex",
         {"AUSSIC", "AUSSI1", "HAFEN", "AUSSI2"},
         "2 Namen gekürzt",
         "Der Empfänger hält höchstens 1 Routen; das Dokument hat 2."},
    };
    for (const Case& c : cases) {
        UnitUpload upload = UploadFor(records, ProfileOf(c.unit), UPLOAD_ROUTES);
        std::vector<std::string> sent;
        for (size_t i = 0; i < 3; ++i) {
            sent.emplace_back(WithoutTrailingBlanks(
                WaypointName(upload.records.waypoints[i], upload.records.waypointDetails[i])));
        }
        for (const RoutePoint& point : upload.records.routes[1].points) {
            sent.emplace_back(WithoutTrailingBlanks(WaypointName(point.record, point.details)));
        }
        EXPECT_EQ(sent,
                  (std::vector<std::string>{c.sent[0], c.sent[1], c.sent[2], c.sent[3], c.sent[3]}))
            << c.unit;
        const RoutePoint& point = upload.records.routes[0].points[0];
        EXPECT_EQ(WithoutTrailingBlanks(WaypointName(point.record, point.details)), c.sent[1])
            << c.unit << ": a route point is named as its waypoint";
        EXPECT_EQ(upload.waypointLosses, c.losses) << c.unit;
        EXPECT_EQ(upload.refusal, c.routesRefused) << c.unit;
    }
    EXPECT_EQ(UploadFor(records, Gps12Profile(), UPLOAD_WAYPOINTS).waypointLosses,
              Gps12WaypointLosses(records.waypointDetails));
}
