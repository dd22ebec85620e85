#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tessaly::test {

// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder with a trailing separator, as the program's folder strings are.
    std::string withSeparator() const;
    std::vector<std::string> entries() const;

  private:
    std::filesystem::path path_;
};

std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);

// Lines joined with CR LF after each, the form every file of the program takes.
std::string CrLfLines(std::initializer_list<std::string> lines);

}  // namespace tessaly::test
