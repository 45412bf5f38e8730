#include "tests/support/run_command.h"

#include <sys/wait.h>

#include <cstdio>
#include <stdexcept>

#include "tests/support/temp_dir.h"

namespace velmora::test {

namespace {
std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}
}  // namespace

CommandResult RunVelmoraInfo(const std::vector<std::string>& args, int timeoutSeconds) {
    TempDir scratch;
    std::string command = "timeout -s KILL " + std::to_string(timeoutSeconds) + " " + ShellQuote(VELMORA_INFO_BIN);
    for (const auto& arg : args) command += " " + ShellQuote(arg);
    command += " 2>" + ShellQuote(scratch.Path() + "stderr");

    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    CommandResult result;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.exitCode = 128 + WTERMSIG(status);
    }
    result.errors = ReadFileText(scratch.Path() + "stderr");
    return result;
}

}  // namespace velmora::test
