#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "core/errors.h"

#include "platform/file_save.h"
#include "platform/system.h"
#include "platform/xdg_folders_posix.h"

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
    // Read once: a hand-over asks for it more than once, and it cannot change.
    static const std::string folder = [] {
        std::error_code error;
        const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error) {
            // The current folder may be anyone's: the modules and tessaly-cli-full are
            // looked for beside the program.
            return std::string(TESSALY_INSTALLED_BINDIR);
        }
        return exe.parent_path().string() + "/";
    }();
    return folder;
}

bool RunsFromBuildFolder() {
#ifdef TESSALY_BUILD_FOLDER
    return ProgramFolder().starts_with(TESSALY_BUILD_FOLDER);
#else
    return false;
#endif
}

std::string AbsoluteFolder(const std::string& folder) {
    const std::string given = folder.empty() ? "." : folder;
    // "link/.." is the folder above the link's target, not the folder holding the link.
    // A link the system would not follow stays, for the save to refuse.
    std::error_code error;
    if (const auto resolved = std::filesystem::canonical(given, error);
        !error && !PassesProtectedLink(std::filesystem::absolute(given, error).string())) {
        return WithSlash(resolved.string());
    }
    const auto absolute = std::filesystem::absolute(given, error);
    return WithSlash(error ? given : absolute.string());
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

// An empty text may have no data pointer at all, which fwrite must not be given.
std::error_code WriteText(std::FILE* stream, std::string_view text) {
    if ((!text.empty() && std::fwrite(text.data(), 1, text.size(), stream) != text.size()) ||
        std::fflush(stream) != 0) {
        return {errno, std::generic_category()};
    }
    return {};
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

bool StandardOutputShowsReverseVideo() {
    return ::isatty(STDOUT_FILENO) == 1;
}

std::error_code WriteToStandardOutput(ByteSpans bytes) {
    for (const std::string_view span : bytes.spans()) {
        if (!span.empty() && std::fwrite(span.data(), 1, span.size(), stdout) != span.size()) {
            return {errno, std::generic_category()};
        }
    }
    return WriteText(stdout, {});
}

}  // namespace tessaly
