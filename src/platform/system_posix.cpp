#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/system.h"

extern char** environ;

namespace tessaly {

LocalDateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

void OpenWithDefaultHandler(const std::string& target) {
    // Double fork so the opener is never left as a zombie of a long-running caller.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::fork() == 0) {
            char program[] = "xdg-open";
            std::string argument = target;
            char* argv[] = {program, argument.data(), nullptr};
            ::execvp(program, argv);
        }
        ::_exit(0);
    }
    if (child > 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
    }
}

std::string ProgramFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return AbsoluteFolder(".");
    }
    return exe.parent_path().string() + "/";
}

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs, with $HOME expanded as xdg-user-dir does.
std::optional<std::string> XdgDocumentsDir(const std::string& home) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config =
        configHome != nullptr && *configHome != '\0' ? configHome : home + "/.config";
    std::ifstream file(config + "/user-dirs.dirs");
    std::string line;
    while (std::getline(file, line)) {
        static constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
        if (!line.starts_with(kKey) || line.back() != '"') {
            continue;
        }
        std::string value = line.substr(kKey.size(), line.size() - kKey.size() - 1);
        if (value.starts_with("$HOME")) {
            value = home + value.substr(5);
        }
        if (!value.starts_with('/')) {
            continue;
        }
        return value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> DocumentsFolder() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        return std::nullopt;
    }
    std::error_code error;
    if (auto documents = XdgDocumentsDir(home);
        documents && std::filesystem::is_directory(*documents, error)) {
        return WithSlash(*documents);
    }
    return WithSlash(home);
}

std::string AbsoluteFolder(const std::string& folder) {
    std::error_code error;
    auto absolute = std::filesystem::absolute(folder.empty() ? "." : folder, error);
    if (error) {
        return WithSlash(folder);
    }
    return WithSlash(absolute.lexically_normal().string());
}

}  // namespace tessaly
