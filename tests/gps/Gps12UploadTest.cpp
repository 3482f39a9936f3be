#include "gps/Gps12Upload.h"

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
