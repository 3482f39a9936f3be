#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// What a receiver can hold: the rules its names follow, which symbols it has, and how many
// points it takes. A document follows one profile when the user renames or edits a
// waypoint; what is imported or downloaded keeps its whole name and values.
struct ReceiverProfile {
    // What a receiver allows in a name.
    enum class NameCharacters {
        IDENT,      // A-Z, 0-9, blank and hyphen; letters to upper case (the ident rule)
        PRINTABLE,  // every printable Windows-1252 character
    };

    const char* id;    // stored in the document: "gps12", ...
    const char* name;  // shown under Optionen
    int nameLength;
    NameCharacters characters;
    int commentLength;
    bool fullSymbols;  // the maker's full symbol table, else the 16 of the GPS 12
    bool altitudes;    // waypoints hold an altitude
    int routeNameLength;  // a route's name or comment: printable characters
    int maxWaypoints;
    int maxRoutes;
    int maxRoutePoints;  // per route
    int maxTrackpoints;
};

// The GPS 12's rules: every document follows them unless it says otherwise.
const ReceiverProfile& Gps12Profile();
// The profiles the user can choose, the GPS 12's first.
std::span<const ReceiverProfile> KnownProfiles();
// The profile of `id`; the GPS 12's for an id the program does not know.
const ReceiverProfile& ProfileOf(std::string_view id);

// A name the user typed, as a receiver of `profile` holds it (Windows-1252); nothing when
// no character of a name remains.
std::optional<std::string> TypedName(const ReceiverProfile& profile, std::string_view name);
// A route name the user typed as a receiver of `profile` holds it: its printable
// characters, at most routeNameLength of them (the GPS 12 keeps a comment of 20); nothing
// when no character remains.
std::optional<std::string> TypedRouteName(const ReceiverProfile& profile, std::string_view name);
