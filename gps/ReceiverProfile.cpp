#include "gps/ReceiverProfile.h"

#include "gps/WaypointName.h"

namespace {

// Limits as the receivers' manuals give them. The later units differ among themselves; the
// link fills in a unit's own when it knows it.
constexpr ReceiverProfile kProfiles[] = {
    {"gps12", "GPS 12 (Namen bis 6 Zeichen)", 6, ReceiverProfile::NameCharacters::IDENT, 40,
     false, false, 20, 500, 20, 30, 1024},
    {"named14", "eTrex, GPS V, GPSMAP (Namen bis 14 Zeichen)", 14,
     ReceiverProfile::NameCharacters::PRINTABLE, 50, true, true, 20, 1000, 50, 250, 10000},
    {"named50", "Neuere Geräte (Namen bis 50 Zeichen)", 50,
     ReceiverProfile::NameCharacters::PRINTABLE, 50, true, true, 50, 2000, 200, 250, 10000},
    // The units the link knows (link/KnownUnits.cpp, which has the same limits): a document
    // downloaded from one follows its rules.
    {"gps3", "GPS III", 6, ReceiverProfile::NameCharacters::IDENT, 40, true, false, 20, 500, 20,
     30, 1900},
    {"etrex", "eTrex", 6, ReceiverProfile::NameCharacters::IDENT, 50, true, true, 20, 500, 1, 50,
     2048},
    {"gpsmap60cs", "GPSMAP 60CS", 10, ReceiverProfile::NameCharacters::IDENT, 50, true, true, 20,
     1000, 50, 250, 10000},
    {"gpsmap60csx", "GPSMAP 60CSx", 14, ReceiverProfile::NameCharacters::PRINTABLE, 50, true,
     true, 20, 1000, 50, 250, 10000},
    {"forerunner301", "Forerunner 301", 6, ReceiverProfile::NameCharacters::IDENT, 50, true, true,
     20, 100, 20, 50, 10000},
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

namespace {

// The printable Windows-1252 characters of `name` up to its first zero byte, at most
// `length` of them, without trailing blanks; nothing when no character remains.
std::optional<std::string> PrintableName(std::string_view name, int length)
{
    std::string kept;
    for (char c : name.substr(0, name.find('\0'))) {
        auto b = static_cast<unsigned char>(c);
        if (kept.size() < static_cast<size_t>(length) && b >= 0x20 && b != 0x7F) {
            kept += c;
        }
    }
    kept.erase(kept.find_last_not_of(' ') + 1);
    if (kept.empty()) {
        return std::nullopt;
    }
    return kept;
}

}  // namespace

std::optional<std::string> TypedName(const ReceiverProfile& profile, std::string_view name)
{
    if (profile.characters == ReceiverProfile::NameCharacters::PRINTABLE) {
        return PrintableName(name, profile.nameLength);
    }
    if (profile.nameLength == 6) {
        return TypedWaypointIdent(name);
    }
    std::string kept = IdentRuleName(name, static_cast<size_t>(profile.nameLength));
    return kept.empty() ? std::nullopt : std::optional<std::string>(kept);
}

std::optional<std::string> TypedRouteName(const ReceiverProfile& profile, std::string_view name)
{
    return PrintableName(name, profile.routeNameLength);
}
