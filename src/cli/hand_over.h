#pragma once

namespace tessaly {

// Starts tessaly-cli-full in this process's place with the same arguments (`argv` as
// main got it); says why and exits 1 when it cannot be started.
[[noreturn]] void HandOverToFullProgram(char** argv);

}  // namespace tessaly
