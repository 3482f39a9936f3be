#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The records are the bytes of the files, the clipboard and the receiver's packets: packed,
// little-endian, unaligned. They are copied and compared byte for byte.
static_assert(std::endian::native == std::endian::little,
              "records are stored in the machine's byte order, which must be little-endian");

// 2^31 semicircles are 180 degrees.
struct __attribute__((packed)) SemicirclePosition {
    int32_t latitude;
    int32_t longitude;
};

enum WaypointSymbol : int16_t {
    SYMBOL_DOT,
    SYMBOL_HOUSE,
    SYMBOL_GAS,
    SYMBOL_CAR,
    SYMBOL_FISH,
    SYMBOL_BOAT,
    SYMBOL_ANCHOR,
    SYMBOL_WRECK,
    SYMBOL_EXIT,
    SYMBOL_SKULL,
    SYMBOL_FLAG,
    SYMBOL_CAMP,
    SYMBOL_DUCK,
    SYMBOL_DEER,
    SYMBOL_BUOY,
    SYMBOL_TEMP,
    SYMBOL_COUNT
};

enum WaypointDisplay : uint8_t {
    DISPLAY_SYMBOL_NAME = 0,     // "Symbol + Name"
    DISPLAY_SYMBOL = 1,          // "nur Symbol"
    DISPLAY_SYMBOL_COMMENT = 2,  // "Symbol + Kommentar"
    DISPLAY_COUNT
};

constexpr size_t WAYPOINT_IDENT_SIZE = 6;
constexpr size_t WAYPOINT_COMMENT_SIZE = 40;

// Texts are 8-bit Windows-1252, zero-terminated only when shorter than their field.
struct __attribute__((packed)) WaypointRecord {
    char ident[WAYPOINT_IDENT_SIZE];
    int32_t latitude;   // semicircles
    int32_t longitude;  // semicircles
    char comment[WAYPOINT_COMMENT_SIZE];
    int16_t symbol;   // WaypointSymbol, 0 to 15 when written by the program
    uint8_t display;  // WaypointDisplay
};

struct __attribute__((packed)) TrackpointRecord {
    int32_t latitude;   // semicircles
    int32_t longitude;  // semicircles
    uint32_t time;      // seconds since TRACK_TIME_BASE; TRACK_TIME_NONE when unknown
    uint8_t newTrack;   // non-zero on the first point of a track segment
};

static_assert(sizeof(SemicirclePosition) == 8);
static_assert(sizeof(WaypointRecord) == 57);
static_assert(sizeof(TrackpointRecord) == 13);
static_assert(offsetof(WaypointRecord, comment) == 14);
static_assert(offsetof(WaypointRecord, symbol) == 54);
static_assert(offsetof(TrackpointRecord, newTrack) == 12);

// Receivers use this time for a trackpoint whose moment they do not know.
constexpr uint32_t TRACK_TIME_NONE = 0xFFFFFFFF;

// The text of a fixed-width field: up to its first zero byte, never beyond `width`.
std::string_view FieldText(const char* field, size_t width);

// Fills the field with `text`, cut to `width` bytes, zero-padded.
void SetFieldText(char* field, size_t width, std::string_view text);
// A text without the blanks that pad a field at its end: they say nothing.
std::string_view WithoutTrailingBlanks(std::string_view text);

inline std::string_view WaypointIdent(const WaypointRecord& w)
{
    return FieldText(w.ident, WAYPOINT_IDENT_SIZE);
}
inline std::string_view WaypointComment(const WaypointRecord& w)
{
    return FieldText(w.comment, WAYPOINT_COMMENT_SIZE);
}

inline SemicirclePosition PositionOf(const WaypointRecord& w)
{
    return {w.latitude, w.longitude};
}
inline SemicirclePosition PositionOf(const TrackpointRecord& t)
{
    return {t.latitude, t.longitude};
}

bool SameBytes(const WaypointRecord& a, const WaypointRecord& b);
bool SameBytes(const TrackpointRecord& a, const TrackpointRecord& b);

// The labels of the waypoint dialog's symbol list ("1:  dot" ...) and display list.
// Values outside the table give an empty text.
const char* SymbolLabel(int symbol);
const char* DisplayLabel(int display);
