#pragma once

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <sstream>

#include "support/host_command.h"
#else
#include <sys/wait.h>
#endif

namespace tessaly::test {

struct RunResult {
    int status;
    std::string output;
};

#ifdef _WIN32

// Runs tessaly-cli.exe under Wine with `environment` ("NAME=value ..."); `output` holds
// what it printed on both streams, its line ends as LF. Wine takes a process's time
// zone from the TZ its Unix side starts with, which no Windows parent can set: the
// program is started with wine from the build machine's shell.
inline RunResult RunCli(const std::string& arguments,
                        const std::string& environment = "SOURCE_DATE_EPOCH=1700000000") {
    std::string command = "env " + environment + " wine " + HostPath(TESSALY_CLI_PATH);
    std::istringstream words(arguments);
    for (std::string word; words >> word;) {
        command += ' ';
        command += HostQuoted(word);
    }
    CommandRun run = RunHostCommand(command + " 2>&1");
    for (auto at = run.output.find("\r\n"); at != std::string::npos;
         at = run.output.find("\r\n", at)) {
        run.output.erase(at, 1);
    }
    return {run.exitCode, run.output};
}

#else

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

#endif

}  // namespace tessaly::test
