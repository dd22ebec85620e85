// The statically linked tessaly-cli's locale names, fonts and events. A static C library
// cannot load the system's locales reliably, nor the font and events modules with their
// shared libraries, so a run that asks for any of them is handed over whole, before it has written
// anything, to tessaly-cli-full: the same program linked against the system's C library. Every
// other run (English names, US Letter) stays in the static program, which spares the mapping of the
// shared C library (bench/compare-startup.sh shows what that is worth).
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ical/event_files.h"
#include "platform/locale_names.h"
#include "platform/pdf_font.h"
#include "platform/system.h"

namespace tessaly {

namespace {

char** gArguments = nullptr;

// The C library hands initialisers the program's arguments: kept for the handover, so
// that main stays the same in both programs.
__attribute__((constructor)) void KeepArguments(int, char** argv, char**) {
    gArguments = argv;
}

[[noreturn]] void HandOverToFullProgram() {
    const std::string folder = ProgramFolder();
    const std::string candidates[] = {folder + TESSALY_FULL_CLI_FROM_PROGRAM,
                                      folder + TESSALY_FULL_CLI_NAME, TESSALY_FULL_CLI_BUILT};
    int error = ENOENT;
    for (const std::string& path : candidates) {
        ::execv(path.c_str(), gArguments);
        if (errno != ENOENT) {
            error = errno;
        }
    }
    std::fprintf(stderr,
                 "tessaly-cli: cannot start %s, which reads locales, fonts and events: %s\n",
                 candidates[0].c_str(), std::strerror(error));
    std::exit(1);
}

}  // namespace

LocaleNames ReadUserLocaleNames() {
    HandOverToFullProgram();
}

LocaleNames ReadUserLocaleNamesUtf8() {
    HandOverToFullProgram();
}

std::optional<NamedLocaleNames> ReadNamedLocaleNames(const std::string&) {
    HandOverToFullProgram();
}

std::optional<EmbeddedTexts> EmbedTextsForPdf(const std::vector<std::string>&) {
    HandOverToFullProgram();
}

std::optional<EmbeddedTexts> EmbedTextsOfLocaleForPdf(const std::vector<std::string>&,
                                                      const std::string&) {
    HandOverToFullProgram();
}

std::optional<WinAnsiWidths> HelveticaBoldWidths() {
    HandOverToFullProgram();
}

std::function<std::string(int hour, int minute)> LocaleShortTime(const std::string&) {
    HandOverToFullProgram();
}

EventFilesRead ReadEventFiles(const std::vector<std::string>&, DayRange) {
    HandOverToFullProgram();
}

}  // namespace tessaly
