#include "edit/GridCoordinates.h"

#include <cmath>

namespace {

GridLine SplitNonNegative(double value)
{
    return {std::floor(value), std::floor(std::fmod(value * 60, 60)), std::fmod(value * 3600, 60)};
}

// Keeps +0 for zero parts, so that none is shown as "-0".
double Negated(double part)
{
    return part == 0 ? 0.0 : -part;
}

}  // namespace

GridLine SplitGridLine(double value)
{
    if (!std::isfinite(value) || value == 0) {
        return {0, 0, 0};
    }
    if (value >= 0) {
        return SplitNonNegative(value);
    }
    GridLine line = SplitNonNegative(-value);
    return {Negated(line.degrees), Negated(line.minutes), Negated(line.seconds)};
}

double SumGridLine(const GridLine& line)
{
    return line.seconds * (1.0 / 3600) + line.minutes * (1.0 / 60) + line.degrees;
}

double GridPosition(const GridLine& line, double distance, double scale)
{
    double position = SumGridLine(line);
    if (scale != 0) {
        position = position + distance / scale;
    }
    return position;
}
