#pragma once

#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

namespace tessaly {

// The one error type of the program: its message is what the user sees.
class TessalyError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline std::string CannotCreateFileMessage(const std::string& path) {
    return "Cannot create file " + path;
}

// A file could not be saved. The message is the window's; the path and the system's
// reason let a command-line tool say which file and why.
class FileSaveError : public TessalyError {
  public:
    FileSaveError(const std::string& message, const std::string& path, std::error_code reason,
                  std::string detail = {})
        : TessalyError(message), path_(path), reason_(reason), detail_(std::move(detail)) {}
    const std::string& path() const { return path_; }
    const std::error_code& reason() const { return reason_; }
    // What the reason alone would not tell (which link, and why), or nothing.
    const std::string& detail() const { return detail_; }

  private:
    std::string path_;
    std::error_code reason_;
    std::string detail_;
};

// The file could not be created or replaced. `folderClosed`: the folder refuses new
// files (an installed copy's folder), where another folder may do; otherwise this one
// file cannot be replaced (write-protected, a folder in its place, held by a viewer).
class FileCreateError : public FileSaveError {
  public:
    explicit FileCreateError(const std::string& path, std::error_code reason = {},
                             bool folderClosed = false, std::string detail = {})
        : FileSaveError(CannotCreateFileMessage(path), path, reason, std::move(detail)),
          folderClosed_(folderClosed) {}
    bool folderClosed() const { return folderClosed_; }

  private:
    bool folderClosed_;
};

}  // namespace tessaly
