#include "link/UnitProfile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <utility>

namespace {

// A protocol of UnitProtocols' fields: where its number and its data types go.
struct FieldProtocol {
    char tag;
    int number;
    int UnitProtocols::*protocol;
    std::array<int UnitProtocols::*, 3> types;  // in the order the array names them
    int typeCount;
    const char* subject;  // what it is about, for the error about two of a kind
};

using U = UnitProtocols;

constexpr FieldProtocol kFieldProtocols[] = {
    {'L', 1, &U::link, {}, 0, "die Verbindung"},
    {'L', 2, &U::link, {}, 0, "die Verbindung"},
    {'A', 100, &U::waypoints, {&U::waypointType}, 1, "Wegpunkte"},
    {'A', 200, &U::routes, {&U::routeHeaderType, &U::routeWaypointType}, 2, "Routen"},
    {'A',
     201,
     &U::routes,
     {&U::routeHeaderType, &U::routeWaypointType, &U::routeLinkType},
     3,
     "Routen"},
    {'A', 300, &U::tracks, {&U::trackPointType}, 1, "Tracks"},
    {'A', 301, &U::tracks, {&U::trackHeaderType, &U::trackPointType}, 2, "Tracks"},
    {'A', 302, &U::tracks, {&U::trackHeaderType, &U::trackPointType}, 2, "Tracks"},
    {'A', 600, &U::time, {&U::timeType}, 1, "Datum und Uhrzeit"},
    {'A', 800, &U::pvt, {&U::pvtType}, 1, "Positionsdaten"},
};

// A physical, link or application protocol followed by its data types.
using ProtocolGroup = std::vector<ProtocolEntry>;

const FieldProtocol* FieldProtocolOf(const ProtocolEntry& head)
{
    for (const FieldProtocol& field : kFieldProtocols) {
        if (field.tag == head.tag && field.number == head.number) {
            return &field;
        }
    }
    return nullptr;
}

[[noreturn]] void RefuseArray(const std::string& why)
{
    throw ProtocolArrayError("Protokollliste: " + why);
}

std::vector<ProtocolGroup> ReadProtocolGroups(const uint8_t* data, size_t size)
{
    if (size % 3 != 0) {
        RefuseArray(std::to_string(size) + " Bytes sind keine ganzen Einträge");
    }
    std::vector<ProtocolGroup> groups;
    for (size_t i = 0; i < size / 3; ++i) {
        const uint8_t* bytes = data + 3 * i;
        ProtocolEntry entry{static_cast<char>(bytes[0]),
                            static_cast<uint16_t>(bytes[1] | bytes[2] << 8)};
        auto position = [i] { return "Eintrag " + std::to_string(i + 1); };
        switch (entry.tag) {
        case 'P':
        case 'L':
        case 'A':
            groups.push_back({entry});
            break;
        case 'D':
            if (groups.empty() || groups.back().front().tag != 'A') {
                RefuseArray(position() + " (" + ProtocolName(entry) +
                            ") ist ein Datentyp ohne Anwendungsprotokoll davor");
            }
            groups.back().push_back(entry);
            break;
        default: {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", bytes[0]);
            RefuseArray(position() + " hat die unbekannte Kennung " + code);
        }
        }
    }
    return groups;
}

// Where a group stands in the array: physical, link, then application protocols, each
// kind in ascending numbers.
std::pair<int, int> ArrayPlace(const ProtocolGroup& group)
{
    constexpr std::string_view kTagOrder = "PLAD";
    size_t rank = kTagOrder.find(group.front().tag);
    return {rank == std::string_view::npos ? 4 : static_cast<int>(rank), group.front().number};
}

void SortByArrayPlace(std::vector<ProtocolGroup>& groups)
{
    std::stable_sort(groups.begin(), groups.end(),
                     [](const auto& a, const auto& b) { return ArrayPlace(a) < ArrayPlace(b); });
}

std::vector<ProtocolGroup> ArrayGroupsOf(const UnitProtocols& protocols)
{
    std::vector<ProtocolGroup> groups;
    for (const FieldProtocol& field : kFieldProtocols) {
        if (protocols.*field.protocol != field.number) {
            continue;
        }
        ProtocolGroup group{{field.tag, static_cast<uint16_t>(field.number)}};
        for (int i = 0; i < field.typeCount; ++i) {
            group.push_back({'D', static_cast<uint16_t>(protocols.*field.types[i])});
        }
        groups.push_back(std::move(group));
    }
    bool inOthers = false;
    for (const ProtocolEntry& entry : protocols.others) {
        if (entry.tag == 'D' && inOthers) {
            groups.back().push_back(entry);
        } else {
            groups.push_back({entry});
            inOthers = true;
        }
    }
    SortByArrayPlace(groups);
    return groups;
}

}  // namespace

std::string ProtocolName(const ProtocolEntry& entry)
{
    char name[16];
    std::snprintf(name, sizeof name, "%c%03u", entry.tag, static_cast<unsigned>(entry.number));
    return name;
}

UnitProtocols ParseProtocolArray(const uint8_t* data, size_t size)
{
    UnitProtocols protocols;
    protocols.fromArray = true;
    std::set<std::pair<char, uint16_t>> seen;
    std::vector<ProtocolGroup> others;
    for (const ProtocolGroup& group : ReadProtocolGroups(data, size)) {
        const ProtocolEntry& head = group.front();
        if (!seen.insert({head.tag, head.number}).second) {
            RefuseArray(ProtocolName(head) + " steht zweimal darin");
        }
        const FieldProtocol* field = FieldProtocolOf(head);
        int types = static_cast<int>(group.size()) - 1;
        if (field != nullptr && types < field->typeCount) {
            RefuseArray("zu " + ProtocolName(head) + " fehlen Datentypen (" +
                        std::to_string(field->typeCount) + " nötig, " + std::to_string(types) +
                        " genannt)");
        }
        if (field == nullptr || types > field->typeCount) {
            others.push_back(group);
            continue;
        }
        int& number = protocols.*field->protocol;
        if (number != 0) {
            ProtocolEntry before{field->tag, static_cast<uint16_t>(number)};
            RefuseArray(ProtocolName(before) + " und " + ProtocolName(head) +
                        " beschreiben beide " + field->subject);
        }
        number = head.number;
        for (int i = 0; i < field->typeCount; ++i) {
            protocols.*field->types[i] = group[i + 1].number;
        }
    }
    SortByArrayPlace(others);
    for (const ProtocolGroup& group : others) {
        protocols.others.insert(protocols.others.end(), group.begin(), group.end());
    }
    return protocols;
}

std::vector<uint8_t> EncodeProtocolArray(const UnitProtocols& protocols)
{
    std::vector<uint8_t> bytes;
    for (const ProtocolGroup& group : ArrayGroupsOf(protocols)) {
        for (const ProtocolEntry& entry : group) {
            bytes.insert(bytes.end(),
                         {static_cast<uint8_t>(entry.tag), static_cast<uint8_t>(entry.number),
                          static_cast<uint8_t>(entry.number >> 8)});
        }
    }
    return bytes;
}

std::string DescribeProtocols(const UnitProtocols& protocols)
{
    std::string text;
    for (const ProtocolGroup& group : ArrayGroupsOf(protocols)) {
        for (const ProtocolEntry& entry : group) {
            text += (text.empty() ? "" : " ") + ProtocolName(entry);
        }
    }
    return text;
}
