#pragma once

#include <string>

#include "gps/GpsRecords.h"
#include "link/UnitProfile.h"

// What a unit speaking `protocols` does not keep of `records` as an upload sends them: each
// record is written in the unit's data type and read back, and what differs is said, one
// phrase a field, in the words of the upload's message ("2 Symbole angenähert, Tiefen und
// Adressen nicht übertragen"). Symbols the unit's type has no number for come back as the
// nearest of its 16; names and comments cut by the type, and fields it has no place for,
// are named. Empty strings: the unit keeps everything of that kind. Records a type cannot
// be written in at all (see TransferPackets) are not looked at: their upload is refused.
struct TypeLosses {
    std::string waypoints;
    std::string track;
    std::string routes;
};

TypeLosses LossesOfTypes(const UnitProtocols& protocols, const GpsRecords& records);
