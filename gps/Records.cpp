#include "gps/Records.h"

#include <cstring>

std::string_view FieldText(const char* field, size_t width)
{
    const void* end = std::memchr(field, 0, width);
    return {field, end ? static_cast<size_t>(static_cast<const char*>(end) - field) : width};
}

void SetFieldText(char* field, size_t width, std::string_view text)
{
    size_t n = std::min(width, text.size());
    if (n > 0) {  // an empty view may have no data at all, which memcpy must not be given
        std::memcpy(field, text.data(), n);
    }
    std::memset(field + n, 0, width - n);
}

bool SameBytes(const WaypointRecord& a, const WaypointRecord& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameBytes(const TrackpointRecord& a, const TrackpointRecord& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

const char* SymbolLabel(int symbol)
{
    static const char* const kLabels[SYMBOL_COUNT] = {
        "1:  dot",    "2:  house", "3:  gas",  "4:  car",   "5:  fish", "6:  boat",
        "7:  anchor", "8:  wreck", "9:  exit", "10: skull", "11: flag", "12: camp",
        "13: duck",   "14: deer",  "15: buoy", "16: temp",
    };
    return symbol >= 0 && symbol < SYMBOL_COUNT ? kLabels[symbol] : "";
}

const char* DisplayLabel(int display)
{
    static const char* const kLabels[DISPLAY_COUNT] = {"Symbol + Name", "nur Symbol",
                                                       "Symbol + Kommentar"};
    return display >= 0 && display < DISPLAY_COUNT ? kLabels[display] : "";
}

std::string_view WithoutTrailingBlanks(std::string_view text)
{
    return text.substr(0, text.find_last_not_of(' ') + 1);
}
