// The first inputs of the fuzz targets, made by the program's own writers (and, for the
// line targets, the frames a receiver or host sends): tests/fuzz/corpus/<target>/ holds
// what `orvi_fuzz_replay --make-seeds DIR` writes.

#include "tests/fuzz/FuzzSeeds.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "draw/model/MapTransfer.h"
#include "edit/ClipboardBlock.h"
#include "gps/Gpx.h"
#include "gps/RichRecordBytes.h"
#include "link/Pvt.h"
#include "link/UnitData.h"
#include "link/UnitProfile.h"
#include "link/WaypointPacket.h"
#include "tests/fuzz/FuzzDocuments.h"
#include "tests/fuzz/FuzzLine.h"
#include "tests/fuzz/FuzzMaps.h"
#include "tests/gps/GpsTestRecords.h"
#include "tests/link/AnyDataType.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Word(uint16_t v)
{
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
}

Bytes U32(uint32_t v)
{
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

class SeedWriter {
public:
    explicit SeedWriter(std::string dir) : dir_(std::move(dir)) {}

    void Write(const std::string& target, const std::string& name, const Bytes& bytes)
    {
        std::filesystem::create_directories(dir_ + "/" + target);
        std::string path = dir_ + "/" + target + "/" + name;
        WriteFuzzFile(path, bytes.data(), bytes.size());
        ++written_;
    }
    int written() const { return written_; }
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
    int written_ = 0;
};

std::vector<WaypointRecord> Waypoints(int n)
{
    std::vector<WaypointRecord> records;
    for (int i = 1; i <= n; ++i) {
        records.push_back(TestWaypoint(i));
    }
    return records;
}

std::vector<TrackpointRecord> Track(int n)
{
    std::vector<TrackpointRecord> records;
    for (int i = 0; i < n; ++i) {
        records.push_back(TestTrackpoint(i));
    }
    return records;
}

void WriteGpsSeeds(SeedWriter& out)
{
    CDataDoc doc;
    doc.ReplaceWaypoints(Waypoints(3));
    std::vector<TrackpointRecord> track = Track(5);
    track[3].newTrack = 1;
    track[4].time = TRACK_TIME_NONE;
    doc.ReplaceTrackpoints(track);
    auto correction = ZeroedEntry<MapCorrectionSet>();
    correction.reference = TestWaypoint(1);
    correction.target = TestWaypoint(2);
    correction.rotation = 12.5;
    correction.scale = 1.25;
    SetFieldText(correction.name, sizeof correction.name, "Karte 1");
    doc.correctionSets.Append(correction);
    auto grid = ZeroedEntry<GridScalePreset>();
    grid.latitudeScale = 111.0;
    grid.longitudeScale = 74.5;
    SetFieldText(grid.name, sizeof grid.name, "Raster");
    doc.gridPresets.Append(grid);
    out.Write("orvd", "every-section.orvd", StoredOrvd(doc));
    CDataDoc trackOnly;
    trackOnly.ReplaceTrackpoints(Track(3));
    out.Write("orvd", "track-only.orvd", StoredOrvd(trackOnly));
    CDataDoc rich;
    rich.ReplaceWaypoints(Waypoints(2), {TestDetails(1), NoWaypointDetails()});
    TrackpointDetails named = NoTrackpointDetails();
    SetFieldText(named.trackName, sizeof named.trackName, "Abendrunde");
    named.altitude = 512.5f;
    rich.ReplaceTrackpoints(Track(2), {named, NoTrackpointDetails()});
    rich.ReplaceRoutes({TestRoute(1, 2)});
    rich.SetReceiver("named14");
    out.Write("orvd", "details-and-routes.orvd", StoredOrvd(rich));

    out.Write("gpx", "export.gpx", Text(FormatGpx(doc.Records())));
    out.Write("gpx", "export-rich.gpx", Text(FormatGpx(GpxTestRecords())));
    out.Write("gpx", "routes-and-zones.gpx",
              Text("<?xml version=\"1.0\"?>\n"
                   "<gpx:gpx xmlns:gpx=\"http://www.topografix.com/GPX/1/1\" version=\"1.1\">\n"
                   " <gpx:rte><gpx:rtept lat=\" 47.5 \" lon=\"-8.25\"><gpx:name>Brücke "
                   "Süd</gpx:name><gpx:desc>über den Fluss</gpx:desc><gpx:sym>camp</gpx:sym>"
                   "</gpx:rtept></gpx:rte>\n"
                   " <gpx:trk><gpx:trkseg><gpx:trkpt lat=\"47.1\" lon=\"8.2\">"
                   "<gpx:time>2024-05-01T12:00:00.250+02:00</gpx:time></gpx:trkpt>"
                   "<gpx:trkpt lat=\"47.2\" lon=\"8.3\"><gpx:time>1999-12-31T23:59:59Z"
                   "</gpx:time></gpx:trkpt></gpx:trkseg><gpx:trkseg><gpx:trkpt lat=\"-90\" "
                   "lon=\"180\"/></gpx:trkseg></gpx:trk>\n</gpx:gpx>\n"));

    out.Write("pointclip", "waypoints.block", EncodeClipboardBlock(Waypoints(3)));
    out.Write("pointclip", "trackpoints.block", EncodeClipboardBlock(track));
    out.Write("pointclip", "details.block", EncodeDetails(std::vector{TestDetails(1)}));
    out.Write("pointclip", "routes.block", EncodeRoutes({TestRoute(3, 2)}));
}

Bytes WaypointFrame(const WaypointRecord& w)
{
    uint8_t packet[WAYPOINT_PACKET_SIZE];
    WaypointToPacket(w, packet);
    return LineFrame(PKT_WAYPOINT, Bytes(packet, packet + WAYPOINT_PACKET_SIZE));
}

Bytes TrackpointFrame(const TrackpointRecord& t)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&t);
    return LineFrame(PKT_TRACKPOINT, Bytes(p, p + sizeof t));
}

// The receiver's side of a download: the command acknowledged, the count, the records,
// transfer complete.
Bytes DownloadReplies(uint16_t command, const Bytes& records, int count)
{
    return LineAck(PKT_COMMAND) + LineFrame(PKT_RECORD_COUNT, Word(static_cast<uint16_t>(count))) +
           records + LineFrame(PKT_XFER_DONE, Word(command));
}

// The receiver's answer to a product request: the acknowledgement, the unit's product data
// and, from a unit that sends one, its protocol array.
Bytes ProductReplies(const UnitProfile& unit = KnownUnits().front())
{
    Bytes replies =
        LineAck(PKT_PRODUCT_REQUEST) +
        LineFrame(PKT_PRODUCT_DATA, Word(unit.productId) +
                                        Word(static_cast<uint16_t>(unit.softwareVersion)) +
                                        Text(unit.description) + Bytes{0});
    if (unit.sendsProtocolArray) {
        replies = replies + LineFrame(PKT_PROTOCOL_ARRAY, EncodeProtocolArray(unit.protocols));
    }
    return replies;
}

constexpr uint16_t kTransferCommands[] = {CMD_SEND_WAYPOINTS, CMD_SEND_TRACK, CMD_SEND_ROUTES};

// The packets as frames on the line, one after the other.
Bytes Frames(const std::vector<UnitPacket>& packets)
{
    Bytes frames;
    for (const UnitPacket& packet : packets) {
        frames = frames + LineFrame(packet.id, packet.data);
    }
    return frames;
}

// The acknowledgements of a transfer's count, packets and transfer-complete packet.
Bytes TransferAcks(const std::vector<UnitPacket>& packets)
{
    Bytes acks = LineAck(PKT_RECORD_COUNT);
    for (const UnitPacket& packet : packets) {
        acks = acks + LineAck(packet.id);
    }
    return acks + LineAck(PKT_XFER_DONE);
}

// The unit's sample less its last waypoint, route and track point: what a host uploads.
GpsRecords UploadSample(const UnitProfile& unit)
{
    GpsRecords records = UnitSampleRecords(unit);
    auto dropLast = [](auto& items, auto& details) {
        if (!items.empty()) {
            items.pop_back();
        }
        details.resize(std::min(details.size(), items.size()));
    };
    dropLast(records.waypoints, records.waypointDetails);
    dropLast(records.trackpoints, records.trackpointDetails);
    if (!records.routes.empty()) {
        records.routes.pop_back();
    }
    return records;
}

// The receiver's side of a switch of the line to `rate` as the host runs it: the stop of
// its reports and the request acknowledged, the rate named, a quiet line while the host's
// port switches, the two pings acknowledged.
Bytes RateSwitchReplies(int rate)
{
    return LineAck(PKT_ASYNC_EVENTS) + LineAck(PKT_BAUD_REQUEST) +
           LineFrame(PKT_BAUD_ACCEPT, U32(static_cast<uint32_t>(rate))) + LineSilence() +
           LineAck(PKT_COMMAND) + LineAck(PKT_COMMAND);
}

// The replies of a transfer, on the unit's fastest line when it has a faster one than the
// base rate: the host switches there before and back after.
Bytes OnFastestLine(const UnitProfile& unit, const Bytes& transfer)
{
    if (unit.fastestBaud <= BASE_BAUD) {
        return transfer;
    }
    return RateSwitchReplies(unit.fastestBaud) + transfer + RateSwitchReplies(BASE_BAUD);
}

// What the host sends for the same switch.
Bytes HostRateSwitch(int rate)
{
    const Bytes ping = LineFrame(PKT_COMMAND, Word(CMD_PING));
    return LineFrame(PKT_ASYNC_EVENTS, Word(0)) +
           LineFrame(PKT_BAUD_REQUEST, U32(static_cast<uint32_t>(rate))) +
           LineAck(PKT_BAUD_ACCEPT) + ping + ping;
}

// A unit's side of a session with the host: the opening and a product request, each
// announcing the unit's protocols, its sample downloaded in its types (waypoints, track
// log, routes) and the host's uploads of waypoints, track log and routes acknowledged.
Bytes UnitSession(const UnitProfile& unit)
{
    const GpsRecords sample = UnitSampleRecords(unit);
    Bytes replies = LineSilence() + ProductReplies(unit) + ProductReplies(unit);
    for (uint16_t command : kTransferCommands) {
        std::vector<UnitPacket> packets = UnitTransferPackets(unit, sample, command);
        replies = replies + OnFastestLine(unit, DownloadReplies(command, Frames(packets),
                                                                static_cast<int>(packets.size())));
    }
    for (uint16_t command : kTransferCommands) {
        replies =
            replies + OnFastestLine(unit, TransferAcks(UnitTransferPackets(unit, sample, command)));
    }
    return replies;
}

// A host's side of a session with a unit: the product request, the unit's records
// downloaded on its fastest line, its position, uploads in its types, power off.
Bytes HostSession(const UnitProfile& unit)
{
    const GpsRecords sample = UnitSampleRecords(unit);
    const GpsRecords upload = UploadSample(unit);
    Bytes host = LineFrame(PKT_PRODUCT_REQUEST, {}) + LineAck(PKT_PRODUCT_DATA);
    if (unit.sendsProtocolArray) {
        host = host + LineAck(PKT_PROTOCOL_ARRAY);
    }
    const bool faster = unit.fastestBaud > BASE_BAUD;
    if (faster) {
        host = host + HostRateSwitch(unit.fastestBaud);
    }
    for (uint16_t command : kTransferCommands) {
        host = host + LineFrame(PKT_COMMAND, Word(command)) +
               TransferAcks(UnitTransferPackets(unit, sample, command));
    }
    if (faster) {
        host = host + HostRateSwitch(BASE_BAUD);
    }
    host = host + LineFrame(PKT_COMMAND, Word(CMD_SEND_POSITION)) + LineAck(PKT_POSITION);
    for (uint16_t command : kTransferCommands) {
        std::vector<UnitPacket> packets = UnitTransferPackets(unit, upload, command);
        host = host + LineFrame(PKT_RECORD_COUNT, Word(static_cast<uint16_t>(packets.size()))) +
               Frames(packets) + LineFrame(PKT_XFER_DONE, Word(command));
    }
    return host + LineFrame(PKT_COMMAND, Word(CMD_POWER_OFF));
}

void WriteLinkSeeds(SeedWriter& out)
{
    Bytes waypoints;
    for (const WaypointRecord& w : Waypoints(3)) {
        waypoints = waypoints + WaypointFrame(w);
    }
    Bytes track;
    for (const TrackpointRecord& t : Track(3)) {
        track = track + TrackpointFrame(t);
    }
    const Bytes time =
        LineAck(PKT_COMMAND) +
        LineFrame(PKT_DATE_TIME, Bytes{5, 1} + Word(2024) + Word(12) + Bytes{30, 15});
    const Bytes opening = LineSilence() + ProductReplies();

    // The host: commands in bytes 0 and 3, no failing read or write, the receiver's replies.
    Bytes every = Bytes{0x7F, 0, 0, 0} + opening + ProductReplies() +
                  DownloadReplies(CMD_SEND_WAYPOINTS, waypoints, 3) +
                  DownloadReplies(CMD_SEND_TRACK, track, 3) + time + time +
                  LineAck(PKT_RECORD_COUNT) + LineAck(PKT_WAYPOINT) + LineAck(PKT_WAYPOINT) +
                  LineAck(PKT_WAYPOINT) + LineAck(PKT_XFER_DONE) + LineAck(PKT_RECORD_COUNT) +
                  LineAck(PKT_TRACKPOINT) + LineAck(PKT_TRACKPOINT) + LineAck(PKT_TRACKPOINT) +
                  LineAck(PKT_XFER_DONE);
    out.Write("link", "every-command", every);

    Bytes damaged = LineFrame(PKT_WAYPOINT, Bytes(60, 0x10));
    damaged[damaged.size() - 3] ^= 0x01;
    out.Write("link", "refused-and-damaged",
              Bytes{0x12, 0, 0, 0} + opening + LineAck(PKT_COMMAND) +
                  LineFrame(PKT_RECORD_COUNT, Word(2)) + damaged + Bytes{0x00, 0x55} +
                  WaypointFrame(TestWaypoint(1)) + LineSilence() + LineFrame(PKT_NAK, {35, 0}) +
                  LineFrame(PKT_XFER_DONE, Word(7)) + LineFrame(PKT_NAK, {PKT_RECORD_COUNT, 0}));
    out.Write("link", "cancelled-track",
              Bytes{0x84, 0, 0, 0} + opening + LineAck(PKT_COMMAND) +
                  LineFrame(PKT_RECORD_COUNT, Word(40)) + track + track + track);
    out.Write("link", "device-gone",
              Bytes{0x06, 6, 0, 0} + opening + opening + DownloadReplies(CMD_SEND_TRACK, track, 3));
    // Each known unit: product requests, downloads and uploads of every kind.
    for (const UnitProfile& unit : KnownUnits()) {
        out.Write("link", std::string("unit-") + unit.model,
                  Bytes{0x37, 0, 0, 0x03} + UnitSession(unit));
    }

    // The simulator: the unit in byte 0, faults in bytes 1 and 2, then what a host sends.
    const UnitProfile& gps12 = KnownUnits().front();
    const GpsRecords held = UnitSampleRecords(gps12);
    Bytes host =
        LineFrame(PKT_PRODUCT_REQUEST, {}) + LineFrame(PKT_COMMAND, Word(CMD_SEND_WAYPOINTS)) +
        TransferAcks(UnitTransferPackets(gps12, held, CMD_SEND_WAYPOINTS)) +
        LineFrame(PKT_COMMAND, Word(CMD_SEND_TRACK)) +
        TransferAcks(UnitTransferPackets(gps12, held, CMD_SEND_TRACK)) +
        LineFrame(PKT_COMMAND, Word(CMD_SEND_TIME)) + LineAck(PKT_DATE_TIME) +
        LineFrame(PKT_RECORD_COUNT, Word(2)) + WaypointFrame(TestWaypoint(7)) +
        WaypointFrame(TestWaypoint(8)) + LineFrame(PKT_XFER_DONE, Word(CMD_SEND_WAYPOINTS)) +
        LineFrame(99, {1, 2, 3}) + LineFrame(PKT_COMMAND, Word(CMD_POWER_OFF));
    out.Write("simulator", "every-command", Bytes{0, 0, 0} + host);
    out.Write("simulator", "faults-and-hang-up",
              Bytes{0, 0x01 | 0x10 | 0x40, 0x02} + LineFrame(PKT_RECORD_COUNT, Word(1)) +
                  TrackpointFrame(TestTrackpoint(9)) + TrackpointFrame(TestTrackpoint(9)) +
                  LineFrame(PKT_XFER_DONE, Word(CMD_SEND_TRACK)) +
                  LineFrame(PKT_COMMAND, Word(CMD_SEND_WAYPOINTS)) + LineAck(PKT_RECORD_COUNT) +
                  LineFrame(PKT_NAK, {PKT_WAYPOINT, 0}) + LineAck(PKT_WAYPOINT) +
                  LineFrame(PKT_COMMAND, Word(CMD_ABORT_TRANSFER)));
    Bytes cut = LineFrame(PKT_COMMAND, Word(CMD_SEND_TRACK));
    cut.resize(cut.size() - 3);
    out.Write("simulator", "damaged-host",
              Bytes{0, 0, 0} + Bytes{0x00, 0x55, DLE, 0x07, DLE, ETX} + cut + LineSilence() +
                  LineFrame(PKT_COMMAND, {}) + LineFrame(PKT_COMMAND, Word(CMD_SEND_TRACK)) +
                  LineFrame(PKT_PRODUCT_REQUEST, {}));
    for (size_t i = 0; i < KnownUnits().size(); ++i) {
        out.Write("simulator", std::string("session-") + KnownUnits()[i].model,
                  Bytes{static_cast<uint8_t>(i), 0, 0} + HostSession(KnownUnits()[i]));
    }
}

// A packet of each kind of data type, written by the program's encoders.
void WriteDataTypeSeeds(SeedWriter& out)
{
    auto seed = [&out](const std::string& name, int type, const Bytes& packet) {
        auto at = std::find(std::begin(kAllDataTypes), std::end(kAllDataTypes), type);
        out.Write("datatypes", name,
                  Bytes{static_cast<uint8_t>(at - std::begin(kAllDataTypes))} + packet);
    };
    GpsRecords rich = GpxTestRecords();
    const WaypointRecord& w = rich.waypoints[0];
    const WaypointDetails& d = rich.waypointDetails[0];
    seed("d103-gps12", 103, EncodeWaypoint(103, TestWaypoint(1), NoWaypointDetails()));
    seed("d104", 104, EncodeWaypoint(104, w, d));
    seed("d106", 106, EncodeWaypoint(106, w, d));
    seed("d108", 108, EncodeWaypoint(108, w, d));
    seed("d110", 110, EncodeWaypoint(110, w, d));
    seed("d302", 302, EncodeTrackPoint(302, rich.trackpoints[0], rich.trackpointDetails[0]));
    seed("d312", 312, EncodeTrackHeader(312, rich.trackpointDetails[0], 0));
    seed("d202", 202, EncodeRouteHeader(202, TestRoute(2, 1).header));
    seed("d210", 210, EncodeRouteLink(210, NoRouteLink()));
}

// The protocols of the known units as arrays, those without one as well.
void WriteUnitSeeds(SeedWriter& out)
{
    for (const UnitProfile& unit : KnownUnits()) {
        out.Write("protocols", std::string(unit.model) + ".array",
                  EncodeProtocolArray(unit.protocols));
    }
}

std::vector<uint8_t> SavedMap(CDrawDoc& doc)
{
    FuzzFiles files;
    std::string path = files.Path("seed.orvg");
    doc.OnSaveDocument(path);
    return ReadFuzzFile(path);
}

Bytes TransferBlocks(const std::vector<CDrawObj*>& objects, bool withItems)
{
    Bytes block = WriteObjectsBlock(objects);
    return U32(static_cast<uint32_t>(block.size())) + block +
           (withItems ? WriteItemsBlock(objects) : Bytes());
}

void WriteMapSeeds(SeedWriter& out)
{
    CDrawDoc everyKind;
    everyKind.OnNewDocument();
    AddEveryKind(everyKind);
    CDrawDoc shapes;
    shapes.OnNewDocument();
    AddShape(shapes, CDrawRect::ellipse, {0, 0, 800, 800});
    AddShape(shapes, CDrawRect::line, {790, 10, 10, 790});

    out.Write("orvg", "every-kind.orvg", SavedMap(everyKind));
    out.Write("orvg", "two-shapes.orvg", SavedMap(shapes));
    shapes.SetGeoReference(MapGeoReference::OfControlPoints(
        {{{40, 40, 47.4, 8.45}, {760, 40, 47.4, 8.7}, {40, 760, 47.25, 8.45}}}));
    out.Write("orvg", "two-shapes-calibrated.orvg", SavedMap(shapes));
    out.Write("archive", "every-kind.contents", StoredContents(everyKind));
    out.Write("archive", "two-shapes.contents", StoredContents(shapes));
    out.Write("mapclip", "every-kind.blocks", TransferBlocks(Objects(everyKind), true));
    out.Write("mapclip", "two-shapes.blocks", TransferBlocks(Objects(shapes), false));

    CSummaryInfo summary([] { return uint64_t{133000000000000000}; });
    summary.SetTitle("Karte Nord");
    summary.SetAuthor("Orvi");
    summary.SetComments("zwei\r\nZeilen");
    summary.StampCreateDate();
    summary.IncrementRevision();
    out.Write("propset", "summary.bin", summary.WriteStream());

    CPropSet set;
    set.SetClassId(FMTID_SUMMARY_INFORMATION);
    CPropSection& first = set.AddSection(FMTID_SUMMARY_INFORMATION);
    first.Set(CPropValue::I2(PID_CODEPAGE, 1252));
    first.Set(CPropValue::String(PID_TITLE, "Titel"));
    first.Set(CPropValue(PID_SUBJECT, PROP_LPWSTR, U32(3) + Bytes{'A', 0, 'b', 0, 0, 0}));
    first.Set(CPropValue::FileTime(PID_EDITTIME, 600000000));
    Fmtid other = FMTID_SUMMARY_INFORMATION;
    other[0] ^= 0xFF;
    CPropSection& second = set.AddSection(other);
    second.Set(
        CPropValue(2, PROP_VECTOR | PROP_VARIANT,
                   U32(2) + U32(PROP_I4) + U32(7) + U32(PROP_LPSTR) + U32(2) + Bytes{'x', 0}));
    second.Set(CPropValue(3, PROP_VECTOR | PROP_I2, U32(3) + Bytes{1, 0, 2, 0, 3, 0}));
    second.Set(CPropValue(4, 72, Bytes(16, 0xAB)));
    out.Write("propset", "two-sections.bin", set.Write());
}

// PVT packets of each kind of fix, written by the program's encoder, and one whose time of
// week runs past the end of its week.
void WritePvtSeeds(SeedWriter& out)
{
    LiveFix fix;
    fix.utcMillis = 1717891182500;
    fix.kind = FixKind::THREE_D;
    fix.latitude = 47.17365;
    fix.longitude = 8.51504;
    fix.altitude = 425.5f;
    fix.speed = 1.5f;
    fix.course = 200;
    fix.horizontalError = 4.5f;
    out.Write("pvt", "3d.d800", EncodePvt(fix, {18, -49.5f, 0.25f}));
    fix.kind = FixKind::TWO_D;
    fix.latitude = -33.45;
    fix.longitude = -70.66;
    fix.speed = 0;
    fix.course = VALUE_NONE;
    out.Write("pvt", "2d-standing.d800", EncodePvt(fix));
    LiveFix none;
    none.utcMillis = 1717286400000;
    Bytes noFix = EncodePvt(none);
    out.Write("pvt", "no-fix.d800", noFix);
    const double pastTheWeek = 604800.5;
    std::memcpy(noFix.data() + 18, &pastTheWeek, sizeof pastTheWeek);  // little-endian
    out.Write("pvt", "past-the-week.d800", noFix);
}

}  // namespace

int WriteFuzzSeeds(const std::string& dir)
{
    SeedWriter out(dir);
    WriteGpsSeeds(out);
    WriteLinkSeeds(out);
    WriteDataTypeSeeds(out);
    WriteUnitSeeds(out);
    WritePvtSeeds(out);
    WriteMapSeeds(out);
    return out.written();
}
