#pragma once

namespace tessaly {

// Thrown where a run turns out to need what only tessaly-cli-full has (a locale in
// another encoding, faces not remembered), before anything is written; main then hands
// the run over.
struct FullProgramNeeded {};

// Starts tessaly-cli-full in this process's place with the same arguments (`argv` as
// main got it); says why and exits 1 when it cannot be started.
[[noreturn]] void HandOverToFullProgram(char** argv);

}  // namespace tessaly
