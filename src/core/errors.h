#pragma once

#include <stdexcept>
#include <string>
#include <system_error>

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
    FileSaveError(const std::string& message, const std::string& path, std::error_code reason)
        : TessalyError(message), path_(path), reason_(reason) {}
    const std::string& path() const { return path_; }
    const std::error_code& reason() const { return reason_; }

  private:
    std::string path_;
    std::error_code reason_;
};

// The file could not be created or replaced. `folderClosed`: the folder refuses new
// files (an installed copy's folder), where another folder may do; otherwise this one
// file cannot be replaced (write-protected, a folder in its place, held by a viewer).
class FileCreateError : public FileSaveError {
  public:
    explicit FileCreateError(const std::string& path, std::error_code reason = {},
                             bool folderClosed = false)
        : FileSaveError(CannotCreateFileMessage(path), path, reason), folderClosed_(folderClosed) {}
    bool folderClosed() const { return folderClosed_; }

  private:
    bool folderClosed_;
};

}  // namespace tessaly
