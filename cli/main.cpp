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
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return status;
}
