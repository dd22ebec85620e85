#pragma once

#include <memory>
#include <string>

#include "settings/reg.h"

namespace tessaly {

// The settings store of Linux: a small INI-like text file, one section per key path
// ("[Software\Orvanta\Tessaly]") and one line per value ("WeekStart=1").
//
// A plain value is a string. "Name=expand:1" is an expandable string and
// "Name=dword:00000001" a value of another type: the program never writes those,
// but a hand-edited file may hold them and the reading rules must see them.
//
// Nothing is cached: every access reads the file, and every change rewrites it whole
// through a temporary file and a rename, under an flock on "<file>.lock" so that two
// running copies never lose each other's values. The text is an IniDocument: lines the
// store does not understand are kept as they are. A file that cannot be read (or is implausibly
// large) reads as empty and is never overwritten; a change that cannot be stored is refused.
class SettingsFile : public SettingsBackend {
  public:
    explicit SettingsFile(std::string path);

    // Opens the key, adding its empty section (and the folder) when missing. A key
    // path that cannot be a section name gives nothing.
    std::unique_ptr<SettingsKey> OpenOrCreateKey(const std::string& keyPath) override;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Orvanta/Tessaly.conf in the XDG config folder; empty when no home folder is known.
std::string DefaultSettingsFilePath();

}  // namespace tessaly
