#pragma once

#include <optional>
#include <string>
#include <string_view>

// How the dialogs show and read numbers, and the standard prompts of invalid input. Numbers
// follow the process locale (its decimal separator), as the point lists do.

// "%.15g": 15 significant digits in general notation.
std::string FormatDialogDouble(double value);
// "%d".
std::string FormatDialogInt(int value);

// A number: optional blanks or tabs, a number strtod accepts in the process locale, optional
// blanks or tabs. Empty text, trailing characters and values that are not finite (NaN,
// infinities, overflow) give nothing.
std::optional<double> ParseDialogDouble(std::string_view text);
// An integer: optional blanks or tabs, an optional sign, decimal digits, optional blanks or
// tabs. Values beyond the int range are clamped to it, so that a range check rejects them.
std::optional<int> ParseDialogInt(std::string_view text);

// The prompts; ranges are shown as FormatDialogInt and FormatDialogDouble show numbers.
std::string PromptEnterInteger();
std::string PromptEnterNumber();
std::string PromptIntegerBetween(int low, int high);
std::string PromptNumberBetween(double low, double high);
std::string PromptMaxChars(int count);
