// tessaly-cli is linked statically, because starting is most of its run (the shared C
// library's mapping is spared; bench/compare-startup.sh shows what that is worth). A
// static C library cannot load the system's locales reliably, nor the modules with their
// shared libraries, so a run that needs them goes, before it has read or written
// anything, to tessaly-cli-full: the same program linked against the system's C library.
#include "cli/hand_over.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/system.h"

namespace tessaly {

void HandOverToFullProgram(char** argv) {
    const std::string folder = ProgramFolder();
    std::vector<std::string> candidates{folder + TESSALY_FULL_CLI_FROM_PROGRAM,
                                        folder + TESSALY_FULL_CLI_NAME};
    // Where the build made it, for a development build run from its folder only: a copy
    // elsewhere must not run whatever is at that path now.
    const char* const built = TESSALY_FULL_CLI_BUILT;
    if (built != nullptr && RunsFromBuildFolder()) {
        candidates.emplace_back(built);
    }
    int error = ENOENT;
    for (const std::string& path : candidates) {
        ::execv(path.c_str(), argv);
        if (errno != ENOENT) {
            error = errno;
        }
    }
    std::fprintf(stderr,
                 "tessaly-cli: cannot start %s, which reads locales, fonts and events: %s\n",
                 candidates[0].c_str(), std::strerror(error));
    std::exit(1);
}

}  // namespace tessaly
