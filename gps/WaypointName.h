#pragma once

#include <optional>
#include <string>
#include <string_view>

// A waypoint name (Windows-1252, ending at its first zero byte) as an ident the receivers
// accept: WAYPOINT_IDENT_SIZE characters of A-Z, 0-9, blank and hyphen, left-aligned and
// padded with blanks. Letters go to upper case, accented Latin letters to their base letter
// (ä and Ä to A, ç to C); ß, æ, œ and þ are spelled SS, AE, OE and TH. Every other character
// is left out, and what remains is cut to the field. Renaming in the point list and GPX
// import both store names this way, so that every name of a document can be uploaded.
std::string NormalizeWaypointIdent(std::string_view name);

// A name by the same rule for a receiver that takes `length` characters of it, without
// padding or trailing blanks.
std::string IdentRuleName(std::string_view name, size_t length);

// A name the user typed (renaming in the point list, the waypoint dialog) as the ident it
// stores, by the rule above; nothing when no character of an ident remains, a name that a
// receiver refuses too.
std::optional<std::string> TypedWaypointIdent(std::string_view name);
