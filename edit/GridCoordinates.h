#pragma once

// A coordinate as the grid coordinates dialog splits it: the grid line in degrees, minutes
// and seconds (fractions of seconds kept).
struct GridLine {
    double degrees;
    double minutes;
    double seconds;
};

// Splits `value` (degrees). A non-negative value gives floor(value), the whole minutes of
// its fraction and the seconds left (13.5 gives 13, 30, 0; 10.0078125 gives 10, 0, 28.125).
// A negative value is split as its magnitude, with every non-zero part negative, so that
// -13.5 gives -13, -30, 0 (13 degrees 30 minutes west or south) and SumGridLine gives the
// value back. A value that is not finite, and -0, give 0, 0, 0.
GridLine SplitGridLine(double value);

// seconds x (1/3600) + minutes x (1/60) + degrees, in that order.
double SumGridLine(const GridLine& line);

// The position of a point `distance` map units from the grid line on a map of `scale` map
// units per degree: SumGridLine(line) + distance / scale. A scale of 0 ignores the distance.
double GridPosition(const GridLine& line, double distance, double scale);
