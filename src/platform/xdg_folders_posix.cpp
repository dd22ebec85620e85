#include "platform/xdg_folders_posix.h"

#include "platform/system.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace tessaly {

std::optional<std::string> HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return home;
    }
    if (const passwd* user = ::getpwuid(::getuid());
        user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] != '\0') {
        return user->pw_dir;
    }
    return std::nullopt;
}

std::optional<std::string> ConfigFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME");
        config != nullptr && config[0] == '/') {
        return config;
    }
    const auto home = HomeFolder();
    if (!home) {
        return std::nullopt;
    }
    return *home + "/.config";
}

std::optional<std::string> XdgDocumentsFolder() {
    const auto home = HomeFolder();
    if (!home) {
        return std::nullopt;
    }
    std::ifstream file(*ConfigFolder() + "/user-dirs.dirs");
    std::string line;
    while (std::getline(file, line)) {
        static constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
        if (!line.starts_with(kKey) || line.back() != '"') {
            continue;
        }
        std::string value = line.substr(kKey.size(), line.size() - kKey.size() - 1);
        if (value.starts_with("$HOME")) {
            value = *home + value.substr(5);
        }
        if (!value.starts_with('/')) {
            continue;
        }
        std::error_code error;
        if (std::filesystem::is_directory(value, error)) {
            return value;
        }
        break;
    }
    return home;
}

// system.h's, kept here with the user database it may read: tessaly-cli, which never
// asks for it, links without that database (and statically without warnings).
std::optional<std::string> DocumentsFolder() {
    if (const auto documents = XdgDocumentsFolder()) {
        return WithSlash(*documents);
    }
    return std::nullopt;
}

}  // namespace tessaly
