// Running the command-line program from tests.
#pragma once

#include <string>
#include <vector>

namespace velmora::test {

struct CommandResult {
    int exitCode = -1;    // the program's exit status; 128 + signal when it was killed
    std::string output;   // standard output
    std::string errors;   // standard error
};

// Runs velmora-info with the arguments (each quoted for the shell), at most timeoutSeconds.
CommandResult RunVelmoraInfo(const std::vector<std::string>& args, int timeoutSeconds = 60);

}  // namespace velmora::test
