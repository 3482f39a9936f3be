// orvi-maps: the map commands of orvi (info and convert of .orvg files, render of a map or
// of the points of a .orvd file), started by orvi with the arguments it has taken:
// info [--json] MAP, convert IN OUT, render FILE OUT.

#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"

int main(int argc, char** argv)
{
    std::vector<std::string> a(argv + 1, argv + argc);
    if (a.size() == 2 && a[0] == "info") {
        return RunMapInfo(a[1], false);
    }
    if (a.size() == 3 && a[0] == "info" && a[1] == "--json") {
        return RunMapInfo(a[2], true);
    }
    if (a.size() == 3 && a[0] == "convert") {
        return RunMapConvert(a[1], a[2]);
    }
    if (a.size() == 3 && a[0] == "render") {
        return RunRender(a[1], a[2]);
    }
    std::cerr << "usage: orvi-maps info [--json] MAP | convert IN OUT | render FILE OUT\n";
    return 2;
}
