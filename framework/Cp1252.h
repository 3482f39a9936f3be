#pragma once

#include <string>
#include <string_view>

// Record text is 8-bit Windows-1252. These are the only conversions between it and the
// UTF-8 of the user interface, the clipboard text, JSON and GPX.

// Every byte has a character: the five bytes Windows-1252 leaves undefined map to the C1
// control characters of the same value, so bytes survive a round trip unchanged.
std::string Cp1252ToUtf8(std::string_view text);

// Characters without a Windows-1252 byte, and bytes that are not valid UTF-8, become
// `replacement`.
std::string Utf8ToCp1252(std::string_view text, char replacement = '?');
