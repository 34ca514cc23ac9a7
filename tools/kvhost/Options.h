#pragma once
#include <string>
#include <vector>

// A kvhost command line, read and checked: every option applies to the
// command given, none is given twice, values are in range.
struct Options {
    std::string command;
    std::vector<std::string> positional;  // after the command: the plug-in (unless --all), then its arguments
    bool help = false;
    bool version = false;
    bool all = false;
    std::string sort;
    bool descending = false;
    std::string columns;  // titles or numbers, separated by commas
    bool csv = false;
    bool json = false;
    bool bom = false;
    long width = -1;  // -1: the console's width, or none
    bool verbose = false;
    bool recursive = false;
    bool bench = false;
    int rounds = 5;
    std::string output;
    bool bmp = false;
    bool force = false;
};

// False with `error` for a wrong command line (kvhost exits 2 then).
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

extern const char kUsage[];
