#pragma once

#include "gps/Records.h"

constexpr size_t ENTRY_NAME_SIZE = 41;

// A stored transformation of the move dialog: the reference point before correction, the
// point it is moved to, the rotation added to every course from the reference and the
// factor applied to every distance. 184 bytes, stored verbatim; reserved bytes are zero.
struct __attribute__((packed)) MapCorrectionSet {
    WaypointRecord reference;
    WaypointRecord target;
    uint8_t reserved1[6];
    double rotation;  // degrees, 0 to 360
    double scale;
    char name[ENTRY_NAME_SIZE];  // zero-padded; no terminating zero when all 41 bytes are used
    uint8_t reserved2[7];
};

static_assert(sizeof(MapCorrectionSet) == 184);
static_assert(offsetof(MapCorrectionSet, rotation) == 120);
static_assert(offsetof(MapCorrectionSet, name) == 136);
