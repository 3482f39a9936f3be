#include "edit/DialogNumbers.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Replace(std::string text, std::string_view marker, const std::string& value)
{
    size_t at = text.find(marker);
    if (at != std::string::npos) {
        text.replace(at, marker.size(), value);
    }
    return text;
}

}  // namespace

std::string FormatDialogDouble(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::string FormatDialogInt(int value)
{
    return std::to_string(value);
}

std::optional<double> ParseDialogDouble(std::string_view text)
{
    std::string number(TrimBlanks(text));
    if (number.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    double value = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseDialogInt(std::string_view text)
{
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    long long magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        if (magnitude <= LLONG_MAX / 100) {
            magnitude = magnitude * 10 + (c - '0');
        }
    }
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::string PromptEnterInteger()
{
    return "Please enter an integer.";
}

std::string PromptEnterNumber()
{
    return "Please enter a number.";
}

std::string PromptIntegerBetween(int low, int high)
{
    return Replace(
        Replace("Please enter an integer between %1 and %2.", "%1", FormatDialogInt(low)), "%2",
        FormatDialogInt(high));
}

std::string PromptNumberBetween(double low, double high)
{
    return Replace(
        Replace("Please enter a number between %1 and %2.", "%1", FormatDialogDouble(low)), "%2",
        FormatDialogDouble(high));
}

std::string PromptMaxChars(int count)
{
    return Replace("Please enter no more than %1 characters.", "%1", FormatDialogInt(count));
}
