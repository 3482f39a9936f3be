#pragma once

#include <QDate>
#include <QGeoPositionInfo>
#include <QTime>
#include <map>
#include <optional>

#include "live/LiveTypes.h"

// One NMEA sentence as Qt Positioning read it.
struct NmeaSentence {
    enum class Kind { RMC, GGA, GLL, GSA, VTG, ZDA, PGRME, OTHER };
    Kind kind = Kind::OTHER;
    QGeoPositionInfo info;           // time, coordinate, speed, course, accuracy, as far as it says
    bool saysFix = false;            // RMC, GGA and GLL: whether it reports a fix
    int satelliteSystem = -1;        // GSA: the satellites' system (QGeoSatelliteInfo)
    int satellitesUsed = -1;         // GSA: how many satellites of that system the fix uses
    double receiverError = qQNaN();  // PGRME: the receiver's horizontal error, m
};

// What the sentences of one epoch said so far.
struct NmeaEpoch {
    QTime time;
    QDate date;
    double latitude = qQNaN();
    double longitude = qQNaN();
    double altitude = qQNaN();
    double speed = qQNaN();
    double course = qQNaN();
    double horizontalError = qQNaN();  // Qt's, of HDOP
    double receiverError = qQNaN();    // a PGRME's
    bool fixSaid = false;
    bool noFixSaid = false;
    unsigned kinds = 0;             // bit per NmeaSentence::Kind seen
    std::map<int, int> satellites;  // system -> used
};

// Groups sentences into the receiver's epochs and makes one fix of each.
//
// An epoch is the sentences of one time of day. It ends when a sentence brings another time,
// or, where the sentence or the epoch has no time (a receiver that knows none yet), when an
// RMC, GGA or GLL comes a second time, or by Finish(). Sentences without a time (GSA, VTG,
// PGRME) belong to the epoch under way. A sentence whose time is that of the epoch that
// ended last came late and is left out.
//
// An epoch with an RMC, GGA or GLL makes a fix; others make none. The fix has a position
// only when one of them reports a fix, none reports none (a void RMC or GLL, a GGA of
// quality 0) and a latitude and longitude came: 3D with an altitude, 2D without. Otherwise
// its kind is NONE and it carries nothing but its time and satellites. The date comes from
// the epoch's RMC or ZDA, else from the last epoch that had one; without any the fix has
// no time. Satellites are the sum over the epoch's GSA sentences, one per system. The
// horizontal error is the receiver's own (PGRME) where the epoch has one, else what Qt made
// of the HDOP.
class NmeaEpochs {
public:
    std::optional<LiveFix> Add(const NmeaSentence& sentence);
    std::optional<LiveFix> Finish();
    // Forgets the epoch under way and the last time and date.
    void Reset();

private:
    void Merge(const NmeaSentence& sentence);
    LiveFix FixOf(const NmeaEpoch& epoch) const;

    std::optional<NmeaEpoch> epoch_;
    QTime lastTime_;
    QDate lastDate_;
};
