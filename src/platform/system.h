#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/date_time.h"

namespace tessaly {

// Toolkit-free services of the operating system, one implementation per platform.

LocalDateTime LocalNow();

// Hands a file or web address to the desktop's default handler; the outcome is not
// examined (Linux: xdg-open started without a shell; Windows: ShellExecuteA).
void OpenWithDefaultHandler(const std::string& target);

// Folder of the running executable, with its trailing separator.
std::string ProgramFolder();

// The user's documents folder with a trailing separator, or the home folder, or
// nothing when neither is known.
std::optional<std::string> DocumentsFolder();

// Absolute form of a folder given on a command line, with a trailing separator.
std::string AbsoluteFolder(const std::string& folder);

// Whether standard error goes to a terminal, where progress may be shown.
bool StandardErrorIsTerminal();

// Writes `bytes` unchanged to standard output (in binary mode on Windows);
// TessalyError when they cannot all be written.
void WriteToStandardOutput(std::string_view bytes);

}  // namespace tessaly
