#pragma once

// The display format of numbers and dates: 0 the user's regional format, anything else the
// US standard format. It selects the process locale for all categories ("" or "C"), which
// every number and date the program formats follows, and Qt's default locale with it.
void ApplyDisplayFormat(int displayFormat);

// Reads "Settings"/"DisplayFormat" (default 0) and applies it.
void ApplyStoredDisplayFormat();
