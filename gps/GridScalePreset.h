#pragma once

#include "gps/MapCorrectionSet.h"

// The scale of a map's coordinate grid, in map units per degree of each axis, kept under a
// name by the grid coordinates dialog. 144 bytes, stored verbatim; reserved bytes are zero.
struct __attribute__((packed)) GridScalePreset {
    uint8_t reserved1[64];
    double latitudeScale;   // map units per degree of latitude ("Breite")
    double longitudeScale;  // map units per degree of longitude ("Länge")
    double unused[2];       // always 0
    char name[ENTRY_NAME_SIZE];
    uint8_t reserved2[7];
};

static_assert(sizeof(GridScalePreset) == 144);
static_assert(offsetof(GridScalePreset, latitudeScale) == 64);
static_assert(offsetof(GridScalePreset, name) == 96);
