#include <algorithm>
#include <iostream>

#include "cli/Commands.h"

std::string FileEnding(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string ending = path.substr(dot);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending;
}

int Fail(const std::string& path, const std::string& message)
{
    std::cerr << "orvi: " << path << ": " << message << "\n";
    return 1;
}
