#pragma once

#include <optional>
#include <string>

namespace tessaly {

// The user's folders by the XDG rules, one reading for the settings file and the
// documents folder alike. Each is a path without a trailing separator, or nothing when
// no home folder is known.

// HOME, or else the home folder of the password database.
std::optional<std::string> HomeFolder();

// XDG_CONFIG_HOME when it is an absolute path (the rules ignore a relative one), else
// ~/.config.
std::optional<std::string> ConfigFolder();

// XDG_DOCUMENTS_DIR of user-dirs.dirs in the config folder, $HOME expanded as
// xdg-user-dir does, when it names an existing folder; else the home folder.
std::optional<std::string> XdgDocumentsFolder();

// The folder as the program's folder paths are given: with a trailing separator.
inline std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

}  // namespace tessaly
