#pragma once

#include <stdexcept>
#include <string>

namespace tessaly {

// The one error type of the program: its message is what the user sees.
class TessalyError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline std::string CannotCreateFileMessage(const std::string& path) {
    return "Cannot create file " + path;
}

// The target file could not be created or replaced; callers may try another folder.
class FileCreateError : public TessalyError {
  public:
    explicit FileCreateError(const std::string& path)
        : TessalyError(CannotCreateFileMessage(path)), path_(path) {}
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace tessaly
