#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"

namespace {

void AddFileCommands(CLI::App& app, int& status)
{
    auto infoPath = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    CLI::App* info = app.add_subcommand("info", "Print a summary of a file");
    info->add_flag("--json", *json, "Print one JSON object instead");
    info->add_option("FILE", *infoPath, "The file (.orvd or .orvg)")->required();
    info->callback([&status, infoPath, json] { status = RunInfo(*infoPath, *json); });

    auto input = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    CLI::App* convert = app.add_subcommand(
        "convert", "Convert between .orvd and .gpx by the file endings, or rewrite a .orvg map");
    convert->add_option("IN", *input, "The file to read")->required();
    convert->add_option("OUT", *output, "The file to write")->required();
    convert->callback([&status, input, output] { status = RunConvert(*input, *output); });

    auto map = std::make_shared<std::string>();
    auto picture = std::make_shared<std::string>();
    CLI::App* render = app.add_subcommand(
        "render", "Paint the page of a map, or a map of the points of GPS data, into a picture");
    render->add_option("FILE", *map, "The map (.orvg) or GPS data (.orvd)")->required();
    render->add_option("OUT", *picture, "The picture (.png, .pdf or .svg)")->required();
    render->callback([&status, map, picture] { status = RunRender(*map, *picture); });
}

// check, time, download, upload, off: each sets `status` when it has run.
void AddTransferCommands(CLI::App& app, int& status)
{
    auto port = std::make_shared<std::string>();
    auto addPort = [port](CLI::App* command) {
        command->add_option("--port", *port,
                            "The receiver's port: COMn: or a device path (else the stored one)");
    };

    CLI::App* check = app.add_subcommand("check", "Identify the receiver");
    addPort(check);
    check->callback([&status, port] { status = RunCheck(*port); });

    auto set = std::make_shared<bool>(false);
    CLI::App* time = app.add_subcommand("time", "Show the receiver's time beside the computer's");
    addPort(time);
    time->add_flag("--set", *set, "Set the computer's clock from the receiver");
    time->callback([&status, port, set] { status = RunTime(*port, *set); });

    auto what = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    CLI::App* download = app.add_subcommand("download", "Download from the receiver into a file");
    addPort(download);
    download->add_option("WHAT", *what, "waypoints, track, routes or all")
        ->required()
        ->check(CLI::IsMember({"waypoints", "track", "routes", "all"}));
    download->add_option("-o,--output", *output, "The .orvd file to write")->required();
    download->callback(
        [&status, port, what, output] { status = RunDownload(*port, *what, *output); });

    auto input = std::make_shared<std::string>();
    auto waypoints = std::make_shared<bool>(false);
    auto track = std::make_shared<bool>(false);
    auto routes = std::make_shared<bool>(false);
    CLI::App* upload = app.add_subcommand("upload", "Upload a file's records to the receiver");
    addPort(upload);
    upload->add_option("FILE", *input, "The .orvd file")->required();
    upload->add_flag("--waypoints", *waypoints, "Only the waypoints");
    upload->add_flag("--track", *track, "Only the track log");
    upload->add_flag("--routes", *routes, "Only the routes");
    upload->callback([&status, port, input, waypoints, track, routes] {
        status = RunUpload(*port, *input, *waypoints, *track, *routes);
    });

    CLI::App* off = app.add_subcommand("off", "Switch the receiver off");
    addPort(off);
    off->callback([&status, port] { status = RunPowerOff(*port); });
}

// simulate: a receiver on a pseudo-terminal; sets `status` when it has run.
void AddSimulateCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<SimulateOptions>();
    CLI::App* simulate = app.add_subcommand(
        "simulate",
        "Act as a Garmin receiver on a pseudo-terminal until SIGINT or SIGTERM; the device path "
        "is the first line of output");
    simulate->add_option("--model", options->model, "The receiver to play (default gps12)");
    simulate->add_flag("--list-models", options->listModels,
                       "Print the receivers it plays, one a line, and end");
    simulate->add_option("--data", options->data,
                         "Records to offer instead of the receiver's sample (.orvd, .gpx)");
    simulate->add_option("--baud", options->baud, "Pace the line at this many baud")
        ->check(CLI::PositiveNumber);
    simulate->add_option("--link", options->link,
                         "Make this path a symbolic link to the device while serving");
    simulate->add_option("--save", options->save,
                         "At the end, write the receiver's records (uploads included) (.orvd)");
    simulate->add_flag("--week-rollover", options->weekRollover,
                       "Report dates 1024 weeks early, as receivers past a GPS week rollover do");
    simulate->add_flag("--burst", options->burst,
                       "Send each acknowledgement in one write with the packet after it, as a "
                       "fast line through a USB adapter delivers them");
    CLI::Option* moving = simulate->add_option(
        "--moving", options->track,
        "Move along the track points of FILE (.orvd, .gpx), else along the receiver's track "
        "log, sending PVT packets once the host asks for them");
    moving->expected(0, 1)->type_name("FILE");
    simulate->add_option("--rate", options->rate, "Fixes a second while moving (default 1)")
        ->check(CLI::Range(0.1, 20.0))
        ->needs(moving);
    simulate
        ->add_flag("--nmea", options->nmea,
                   "While moving, send NMEA 0183 sentences instead of the binary protocol")
        ->needs(moving);
    simulate->callback([&status, options, moving] {
        options->moving = moving->count() > 0;
        status = RunSimulate(*options);
    });
}

// live: positions from the receiver, NMEA or gpsd; sets `status` when it has ended.
void AddLiveCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<LiveOptions>();
    CLI::App* live = app.add_subcommand(
        "live", "Print the receiver's positions as they come, until --count or SIGINT");
    CLI::Option* port = live->add_option(
        "--port", options->port,
        "The receiver's port: COMn: or a device path (default: the editor's); whether it speaks "
        "NMEA or its own protocol is found out, unless --nmea or --pvt says it");
    CLI::Option* nmea = live->add_flag("--nmea", options->nmea, "The port speaks NMEA 0183");
    live->add_flag("--pvt", options->pvt, "Ask the receiver on the port for its PVT packets")
        ->excludes(nmea);
    live->add_option("--baud", options->baud, "NMEA at this rate (default 4800)")
        ->check(CLI::IsMember({4800, 9600, 19200, 38400, 57600, 115200}));
    live->add_option("--gpsd", options->gpsd, "Positions from gpsd at HOST[:PORT] (port 2947)")
        ->excludes(port)
        ->excludes(nmea)
        ->excludes("--pvt")
        ->excludes("--baud");
    live->add_option("--count", options->count, "End after this many positions")
        ->check(CLI::PositiveNumber);
    live->add_flag("--json", options->json, "One JSON object a line");
    live->callback([&status, options] { status = RunLive(*options); });
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{
        "orvi: the OrviEdit command-line tool for GPS data (.orvd) files, maps (.orvg) and "
        "receivers"};
    app.require_subcommand(1);
    int status = 1;
    AddFileCommands(app, status);
    AddTransferCommands(app, status);
    AddSimulateCommand(app, status);
    AddLiveCommand(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return status;
}
