#include "gps/Gps12Upload.h"

#include <set>

namespace {

std::string TrimmedIdent(const WaypointRecord& w)
{
    return std::string(WithoutTrailingBlanks(WaypointIdent(w)));
}

// `base` with a number at its end, within the ident's six characters.
std::string Numbered(const std::string& base, int number)
{
    std::string digits = std::to_string(number);
    return base.substr(0, WAYPOINT_IDENT_SIZE - digits.size()) + digits;
}

void Append(std::string& text, const std::string& part)
{
    text += (text.empty() ? "" : ", ") + part;
}

void AppendCount(std::string& text, int count, const char* what)
{
    if (count > 0) {
        Append(text, std::to_string(count) + " " + what);
    }
}

}  // namespace

std::vector<WaypointRecord> Gps12Waypoints(const std::vector<WaypointRecord>& records,
                                           const std::vector<WaypointDetails>& details)
{
    std::vector<WaypointRecord> sent = records;
    auto shortened = [&](size_t i) { return i < details.size() && details[i].name[0] != 0; };
    // The idents of the waypoints whose names are whole stay as they are.
    std::set<std::string> taken;
    for (size_t i = 0; i < sent.size(); ++i) {
        if (!shortened(i)) {
            taken.insert(TrimmedIdent(sent[i]));
        }
    }
    for (size_t i = 0; i < sent.size(); ++i) {
        if (!shortened(i)) {
            continue;
        }
        std::string ident = TrimmedIdent(sent[i]);
        for (int number = 1; taken.count(ident) && number < 100000; ++number) {
            ident = Numbered(TrimmedIdent(sent[i]), number);
        }
        taken.insert(ident);
        std::string padded = ident;
        padded.resize(WAYPOINT_IDENT_SIZE, ' ');
        SetFieldText(sent[i].ident, WAYPOINT_IDENT_SIZE, padded);
    }
    return sent;
}

std::string Gps12WaypointLosses(const std::vector<WaypointDetails>& details)
{
    int names = 0, comments = 0, symbols = 0;
    bool altitudes = false, times = false, more = false;
    for (const WaypointDetails& d : details) {
        names += d.name[0] != 0;
        comments += d.comment[0] != 0;
        symbols += d.symbol != SYMBOL_NONE;
        altitudes = altitudes || HasValue(d.altitude);
        times = times || d.time != TIME_NONE;
        WaypointDetails rest = d;
        SetFieldText(rest.name, sizeof rest.name, {});
        SetFieldText(rest.comment, sizeof rest.comment, {});
        rest.symbol = SYMBOL_NONE;
        rest.altitude = VALUE_NONE;
        rest.time = TIME_NONE;
        more = more || !IsEmpty(rest);
    }
    std::string text;
    AppendCount(text, names, "Namen gekürzt");
    AppendCount(text, comments, "Kommentare gekürzt");
    AppendCount(text, symbols, "Symbole angenähert");
    if (altitudes) {
        Append(text, "Höhen nicht übertragen");
    }
    if (times) {
        Append(text, "Zeiten nicht übertragen");
    }
    if (more) {
        Append(text, "weitere Angaben nicht übertragen");
    }
    return text;
}

std::string Gps12TrackLosses(const std::vector<TrackpointDetails>& details)
{
    bool altitudes = false, names = false, more = false;
    for (const TrackpointDetails& d : details) {
        altitudes = altitudes || HasValue(d.altitude);
        names = names || d.trackName[0] != 0;
        more = more || HasValue(d.depth) || HasValue(d.temperature) ||
               d.trackColour != COLOUR_DEFAULT || d.trackDisplay != 1;
    }
    std::string text;
    if (altitudes) {
        Append(text, "Höhen nicht übertragen");
    }
    if (names) {
        Append(text, "Tracknamen nicht übertragen");
    }
    if (more) {
        Append(text, "weitere Angaben nicht übertragen");
    }
    return text;
}

std::string UploadLossesMessage(const std::string& losses)
{
    if (losses.empty()) {
        return {};
    }
    return "Der Empfänger hat nicht alles übernommen: " + losses + ".";
}
