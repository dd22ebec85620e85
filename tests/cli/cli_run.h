#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace tessaly::test {

struct RunResult {
    int status;
    std::string output;
};

// Runs tessaly-cli through the shell; `output` holds what it printed on both streams,
// unless `stdoutTo` sends standard output elsewhere.
inline RunResult RunCli(const std::string& arguments,
                        const std::string& environment = "SOURCE_DATE_EPOCH=1700000000",
                        const std::string& stdoutTo = "") {
    const std::string command = "env " + environment + " " + std::string(TESSALY_CLI_PATH) + " " +
                                arguments + " 2>&1" + (stdoutTo.empty() ? "" : " >" + stdoutTo);
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t got = 0; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

}  // namespace tessaly::test
