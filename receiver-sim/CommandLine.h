// The receiver-sim program's command line.
#pragma once

#include <string>
#include <vector>

#include "receiver-sim/SimTypes.h"

namespace sim {

struct ProgramOptions {
    Options model;           // pacing on by default in the program
    std::string linkPath;    // --link: symlink to the slave device
    std::string traceFile;   // --trace: human trace, written as it goes
    bool help = false;
};

class CommandLine {
public:
    // Fills options from argv; false with a message in error when an argument is wrong.
    static bool parse(const std::vector<std::string>& args, ProgramOptions& options, std::string& error);
    static const char* usage();
};

}  // namespace sim
