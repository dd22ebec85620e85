#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/byte_spans.h"
#include "core/date_time.h"

namespace tessaly {

// Toolkit-free services of the operating system, one implementation per platform.
// Paths are bytes on Linux and UTF-8 on Windows, where they meet the system in UTF-16.

LocalDateTime LocalNow();

// Hands a file or web address to the desktop's default handler; the outcome is not
// examined (Linux: xdg-open started without a shell; Windows: ShellExecuteW).
void OpenWithDefaultHandler(const std::string& target);

// Folder of the running executable, with its trailing separator. On Linux without /proc
// (a chroot, a sandbox), the folder the programs are installed in, never the current one.
std::string ProgramFolder();

#ifndef _WIN32
// Whether the program runs from the folder of the development build that made it, where
// its own files may be found as that build left them; never in a release build.
bool RunsFromBuildFolder();
#endif

// The user's documents folder with a trailing separator, or the home folder, or
// nothing when neither is known.
std::optional<std::string> DocumentsFolder();

// A folder given on a command line as the file system resolves it (links, then ".."),
// made absolute, with a trailing separator. One that cannot be resolved is only made
// absolute, so that a file saved there fails with the system's reason.
std::string AbsoluteFolder(const std::string& folder);

// The command line's arguments after the program's name (on Windows read in UTF-16, so
// that any name arrives whole).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Writes text to standard output or error and flushes it (a Windows console takes it in
// UTF-16); the system's reason when that fails.
std::error_code WriteText(std::FILE* stream, std::string_view text);

// Whether standard error goes to a terminal, where progress may be shown.
bool StandardErrorIsTerminal();

// Whether standard output goes to a terminal that shows reverse video (on Windows a
// console that takes escape sequences, which this turns on).
bool StandardOutputShowsReverseVideo();

// Writes `bytes` unchanged to standard output (in binary mode on Windows) and flushes
// it; the system's reason when they cannot all be written.
std::error_code WriteToStandardOutput(ByteSpans bytes);

}  // namespace tessaly
