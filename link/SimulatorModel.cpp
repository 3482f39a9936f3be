// The simulated receiver's model: the unit it plays and the records it holds.

#include <algorithm>
#include <utility>

#include "link/GarminSimulator.h"

namespace {

constexpr size_t kMaxProductDescription = 250;  // product data: 4 bytes, description, zero

}  // namespace

std::vector<std::string> GarminSimulator::SetUnit(const UnitProfile& unit)
{
    std::lock_guard lock(mutex_);
    unit_ = unit;
    productId_ = unit.productId;
    softwareVersion_ = unit.softwareVersion;
    description_ = std::string(unit.description).substr(0, kMaxProductDescription);
    fastestBaud_ = std::max(unit.fastestBaud, BASE_BAUD);
    return AdaptToUnit(unit_, records_);
}

UnitProfile GarminSimulator::Unit() const
{
    std::lock_guard lock(mutex_);
    return unit_;
}

std::vector<std::string> GarminSimulator::SetRecords(GpsRecords records)
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> notes = AdaptToUnit(unit_, records);
    records_ = std::move(records);
    return notes;
}

GpsRecords GarminSimulator::Records() const
{
    std::lock_guard lock(mutex_);
    return records_;
}

void GarminSimulator::SetProduct(uint16_t id, int16_t version, const std::string& description)
{
    std::lock_guard lock(mutex_);
    productId_ = id;
    softwareVersion_ = version;
    description_ = description.substr(0, kMaxProductDescription);
}

void GarminSimulator::SetWaypoints(std::vector<WaypointRecord> records)
{
    std::lock_guard lock(mutex_);
    records_.waypoints = std::move(records);
    records_.waypointDetails.clear();
}

void GarminSimulator::SetTrackpoints(std::vector<TrackpointRecord> records)
{
    std::lock_guard lock(mutex_);
    records_.trackpoints = std::move(records);
    records_.trackpointDetails.clear();
}

std::vector<WaypointRecord> GarminSimulator::Waypoints() const
{
    std::lock_guard lock(mutex_);
    return records_.waypoints;
}

std::vector<TrackpointRecord> GarminSimulator::Trackpoints() const
{
    std::lock_guard lock(mutex_);
    return records_.trackpoints;
}
