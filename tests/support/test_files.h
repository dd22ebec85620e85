#pragma once

#include <cstddef>
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

// How often `what` stands in `text`, overlapping ones counted.
inline std::size_t CountOf(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);

// Lines joined with CR LF after each, the form every file of the program takes.
std::string CrLfLines(std::initializer_list<std::string> lines);

}  // namespace tessaly::test
