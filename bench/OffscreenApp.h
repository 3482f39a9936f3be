#pragma once

// The arguments of a Qt application that paints offscreen, for the benchmarks that paint:
// Application app(OffscreenArgc(), OffscreenArgv()).
inline int& OffscreenArgc()
{
    static int argc = 3;
    return argc;
}

inline char** OffscreenArgv()
{
    static char name[] = "orvi-bench";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    return argv;
}
