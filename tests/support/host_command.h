#pragma once

#include <filesystem>
#include <string>

namespace tessaly::test {

// What a command of the machine the tests run on printed on standard output, and its
// exit status (-1 when it could not be run).
struct CommandRun {
    int exitCode = -1;
    std::string output;
};

// Runs a command line with the machine's /bin/sh, for the outside tools (qpdf,
// pdftotext, python3): natively through popen; in the Windows tests under Wine as the
// Linux programs they are, which Wine starts as it starts Windows ones. Standard error
// stays the test's unless the command sends it elsewhere.
CommandRun RunHostCommand(const std::string& command);

// A file's path as such a command names it, quoted for the shell: under Wine the Unix
// path of a Windows one.
std::string HostPath(const std::filesystem::path& path);

// A word quoted for the shell.
std::string HostQuoted(const std::string& text);

// Whether commands can be run: on Windows only under Wine.
bool HostCommandsRun();

}  // namespace tessaly::test
