#include "gps/ReceiverProfile.h"

#include "gps/WaypointName.h"

namespace {

// Limits as the receivers' manuals give them. The later units differ among themselves; the
// link fills in a unit's own when it knows it.
constexpr ReceiverProfile kProfiles[] = {
    {"gps12", "GPS 12 (Namen bis 6 Zeichen)", 6, ReceiverProfile::NameCharacters::IDENT, 40,
     false, false, 500, 20, 30, 1024},
    {"named14", "eTrex, GPS V, GPSMAP (Namen bis 14 Zeichen)", 14,
     ReceiverProfile::NameCharacters::PRINTABLE, 50, true, true, 1000, 50, 250, 10000},
    {"named50", "Neuere Geräte (Namen bis 50 Zeichen)", 50,
     ReceiverProfile::NameCharacters::PRINTABLE, 50, true, true, 2000, 200, 250, 10000},
};

}  // namespace

const ReceiverProfile& Gps12Profile()
{
    return kProfiles[0];
}

std::span<const ReceiverProfile> KnownProfiles()
{
    return kProfiles;
}

const ReceiverProfile& ProfileOf(std::string_view id)
{
    for (const ReceiverProfile& profile : kProfiles) {
        if (id == profile.id) {
            return profile;
        }
    }
    return Gps12Profile();
}

std::optional<std::string> TypedName(const ReceiverProfile& profile, std::string_view name)
{
    if (profile.characters == ReceiverProfile::NameCharacters::IDENT &&
        profile.nameLength == 6) {
        return TypedWaypointIdent(name);
    }
    std::string kept;
    for (char c : name.substr(0, name.find('\0'))) {
        auto b = static_cast<unsigned char>(c);
        if (kept.size() < static_cast<size_t>(profile.nameLength) && b >= 0x20 && b != 0x7F) {
            kept += c;
        }
    }
    while (!kept.empty() && kept.back() == ' ') {
        kept.pop_back();
    }
    if (kept.find_first_not_of(' ') == std::string::npos) {
        return std::nullopt;
    }
    return kept;
}
