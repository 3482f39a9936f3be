#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The waypoint symbols of the later receivers: the 16-bit symbol numbers of the waypoint
// types D101, D102, D104 and D107 to D110 (marine symbols from 0, land symbols from 8192,
// aviation symbols from 16384), each with the English name that receivers and GPSBabel
// write in a GPX <sym>. The GPS 12's 16 symbols (WaypointSymbol in gps/Records.h) are a set
// of their own; the functions at the end translate between the two.

struct SymbolInfo {
    uint16_t number;
    const char* name;  // ASCII, static
};

// A full-table symbol field that holds nothing: no symbol was given.
constexpr uint16_t SYMBOL_NONE = 0xFFFF;

// Every named symbol, ordered by number, each number and each name once.
std::span<const SymbolInfo> AllSymbols();

// The name of a symbol number; nullptr for numbers the table does not name (the gaps
// between the blocks, the user-customisable numbers 7680 to 8191, SYMBOL_NONE).
const char* SymbolName(uint16_t number);

// The number of a symbol name, ignoring the case of ASCII letters. Also takes the other
// spellings GPSBabel reads ("House", "Hotel", "Small City", "U Marina", "U stump").
std::optional<uint16_t> SymbolByName(std::string_view name);

// The full-table symbol that stands for a record symbol (WaypointSymbol 0 to 15); values
// outside 0 to 15 give the "Waypoint" dot.
uint16_t FullSymbolOfRecordSymbol(int recordSymbol);

// The record symbol nearest in meaning to a full-table symbol (a marina or a boat ramp is
// the boat, a fuel stop the gas pump); the dot when none of the 16 is near. For each of
// the 16, RecordSymbolOfFullSymbol(FullSymbolOfRecordSymbol(s)) == s.
int RecordSymbolOfFullSymbol(uint16_t number);
