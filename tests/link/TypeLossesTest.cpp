#include "link/TypeLosses.h"

#include <gtest/gtest.h>

#include "tests/gps/GpsTestRecords.h"

// What a unit's types keep of records that carry every value the model holds.
TEST(TypeLosses, EachUnitsTypesSayWhatTheyDoNotKeep)
{
    struct Case {
        const char* unit;
        const char* waypoints;
        const char* track;
        const char* routes;
    };
    const Case cases[] = {
        {"gps12",
         "3 Namen gekürzt, 3 Kommentare gekürzt, 3 Symbole angenähert, Höhen, Tiefen, "
         "Alarmradien, Temperaturen, Zeiten, Farben, Kategorien, Kartenklassen und Adressen "
         "nicht übertragen",
         "Höhen, Tiefen, Temperaturen, Tracknamen, Trackfarben und Trackanzeige nicht übertragen",
         "5 Namen gekürzt, 5 Kommentare gekürzt, 5 Symbole angenähert, Höhen, Tiefen, "
         "Alarmradien, Temperaturen, Zeiten, Farben, Kategorien, Kartenklassen, Adressen und "
         "Verbindungen nicht übertragen"},
        {"etrex", "Temperaturen, Zeiten und Kategorien nicht übertragen",
         "Temperaturen und Trackfarben nicht übertragen",
         "Temperaturen, Zeiten und Kategorien nicht übertragen"},
        {"forerunner301", "Temperaturen, Zeiten und Kategorien nicht übertragen",
         "Tiefen, Temperaturen, Tracknamen, Trackfarben und Trackanzeige nicht übertragen",
         "Temperaturen, Zeiten und Kategorien nicht übertragen"},
        {"gpsmap60csx", "", "", ""},
    };
    const GpsRecords records = GpxTestRecords();
    for (const Case& c : cases) {
        TypeLosses losses = LossesOfTypes(UnitByModel(c.unit)->protocols, records);
        EXPECT_EQ(losses.waypoints, c.waypoints) << c.unit;
        EXPECT_EQ(losses.track, c.track) << c.unit;
        EXPECT_EQ(losses.routes, c.routes) << c.unit;
    }
}
