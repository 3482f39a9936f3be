#include "gps/WaypointName.h"

#include <algorithm>

#include "gps/Records.h"

namespace {

// The ident letters of the Windows-1252 bytes 0xC0 to 0xDF, the upper-case Latin-1 letters
// (0xE0 to 0xFF are their lower case, 32 above). Empty: left out.
constexpr std::string_view kLatin1Letters[32] = {
    "A", "A", "A", "A", "A", "A", "AE", "C",   // À Á Â Ã Ä Å Æ Ç
    "E", "E", "E", "E", "I", "I", "I",  "I",   // È É Ê Ë Ì Í Î Ï
    "D", "N", "O", "O", "O", "O", "O",  "",    // Ð Ñ Ò Ó Ô Õ Ö ×
    "O", "U", "U", "U", "U", "Y", "TH", "SS",  // Ø Ù Ú Û Ü Ý Þ ß
};

void AppendIdentLetters(std::string& ident, unsigned char b)
{
    if ((b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == ' ' || b == '-') {
        ident += static_cast<char>(b);
    } else if (b >= 'a' && b <= 'z') {
        ident += static_cast<char>(b - 'a' + 'A');
    } else if (b == 0xFF) {  // ÿ, whose upper case Ÿ lies elsewhere
        ident += 'Y';
    } else if (b >= 0xC0) {  // ÷ falls on × and is left out too
        ident += kLatin1Letters[(b - 0xC0) % 32];
    } else {
        switch (b) {
        case 0x8A:  // Š
        case 0x9A:  // š
            ident += 'S';
            break;
        case 0x8C:  // Œ
        case 0x9C:  // œ
            ident += "OE";
            break;
        case 0x8E:  // Ž
        case 0x9E:  // ž
            ident += 'Z';
            break;
        case 0x9F:  // Ÿ
            ident += 'Y';
            break;
        default:
            break;
        }
    }
}

}  // namespace

std::string NormalizeWaypointIdent(std::string_view name)
{
    name = name.substr(0, name.find('\0'));
    std::string ident;
    for (size_t i = 0; i < name.size() && ident.size() < WAYPOINT_IDENT_SIZE; ++i) {
        AppendIdentLetters(ident, static_cast<unsigned char>(name[i]));
    }
    ident.resize(WAYPOINT_IDENT_SIZE, ' ');
    return ident;
}

std::string IdentRuleName(std::string_view name, size_t length)
{
    name = name.substr(0, name.find('\0'));
    std::string kept;
    for (size_t i = 0; i < name.size() && kept.size() < length; ++i) {
        AppendIdentLetters(kept, static_cast<unsigned char>(name[i]));
    }
    kept.resize(std::min(kept.size(), length));
    return kept.erase(kept.find_last_not_of(' ') + 1);
}

std::optional<std::string> TypedWaypointIdent(std::string_view name)
{
    std::string ident = NormalizeWaypointIdent(name);
    if (ident.find_first_not_of(' ') == std::string::npos) {
        return std::nullopt;
    }
    return ident;
}
