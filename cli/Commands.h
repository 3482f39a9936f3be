#pragma once

#include <string>

// The sub-commands of `orvi`. Each returns the process exit status and writes errors to
// standard error.
int RunInfo(const std::string& path, bool json);
int RunConvert(const std::string& input, const std::string& output);

// The same for maps (.orvg): info, convert to .orvg through the document's save, and render
// of the page into a picture (.png, .pdf, .svg; a GUI application only for that), where a
// GPS data file (.orvd) is first drawn as a map of its points (AddPointsToMap). They run in
// orvi-maps; orvi's own versions start that program.
int RunMapInfo(const std::string& path, bool json);
int RunMapConvert(const std::string& input, const std::string& output);
int RunRender(const std::string& input, const std::string& output);

// The receiver's commands; `port` is "COMn:" or a device path, empty for the stored one.
// check: the product exchange, the receiver's description printed.
int RunCheck(const std::string& port);
// time: the receiver's time beside the computer's; with `set`, the computer's clock set.
int RunTime(const std::string& port, bool set);
// download waypoints|track|all into the .orvd at `path`.
int RunDownload(const std::string& port, const std::string& what, const std::string& path);
// upload the .orvd at `path` (only its waypoints or its track when asked).
int RunUpload(const std::string& port, const std::string& path, bool waypoints, bool track,
              bool routes);
// off: switches the receiver off.
int RunPowerOff(const std::string& port);

// simulate: acts as a receiver on a pseudo-terminal until SIGINT or SIGTERM; standard output
// gets the device path as its first line, standard error a line for every kind of record
// the unit could not hold all of.
struct SimulateOptions {
    std::string model = "gps12";  // the unit played (UnitByModel)
    bool listModels = false;      // only print the models, one a line
    std::string data;             // records to offer instead of the unit's sample (.orvd, .gpx)
    std::string save;             // at the end, the receiver's records are written here (.orvd)
    std::string link;             // a symbolic link to the device while serving
    int baud = 0;                 // the line's pace; 0 unpaced
    bool weekRollover = false;
    bool burst = false;  // several frames in one write
    // The receiver moves (GarminSimulator::SetMoving) along the track points of `track`
    // (.orvd, .gpx); without it, along the track log it holds, or the unit's sample track
    // when it holds none.
    bool moving = false;
    std::string track;
    double rate = 1;    // fixes a second
    bool nmea = false;  // NMEA sentences instead of the binary protocol
};
int RunSimulate(const SimulateOptions& options);

// live: positions as they come, one line per fix on standard output (with `json` one JSON
// object a line: time, latitude, longitude, altitude, fix, speed, course, satellites; null
// where unknown), changes of the source's state as lines on standard error. Ends after
// `count` fixes with a position, else on SIGINT or SIGTERM.
struct LiveOptions {
    std::string port;   // the receiver's port; empty: the editor's
    bool nmea = false;  // the port speaks NMEA
    bool pvt = false;   // the port speaks the receiver's protocol; neither: found out
    int baud = 4800;    // of NMEA
    std::string gpsd;   // HOST[:PORT]: gpsd instead of a port
    int count = 0;      // 0: until a signal
    bool json = false;
};
int RunLive(const LiveOptions& options);

// Lower-case file ending with its dot (".orvd"), or empty.
std::string FileEnding(const std::string& path);
// Writes "orvi: <path>: <message>" to standard error and returns 1.
int Fail(const std::string& path, const std::string& message);
