#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tessaly {

// Why a save failed: the step, and the system's reason.
struct SaveFailure {
    enum class Step {
        Create,   // the temporary file could not be created
        Write,    // its bytes could not be written or flushed (a full disk)
        Replace,  // it could not take the target's place
    };
    Step step;
    std::error_code reason;
};

// Writes `bytes` to `path` whole: first into a new file created exclusively in the
// same folder, then renamed over `path`. On any failure the earlier file at `path`
// is left as it was and no temporary file remains. Nothing when saved.
std::optional<SaveFailure> TrySaveFileAtomically(const std::string& path, std::string_view bytes);

// The same, reporting a failure as the program's error:
//  - the temporary file cannot be created, or cannot replace the target:
//    FileCreateError(path)
//  - writing or flushing the temporary file fails: TessalyError(writeErrorMessage)
void SaveFileAtomically(const std::string& path, std::string_view bytes,
                        const std::string& writeErrorMessage);

// A new hidden name in the folder of `path` for its temporary copy:
// ".<name>.<random>.tmp". `separators` are the platform's path separators.
std::string TemporaryPathBeside(const std::string& path, std::string_view separators);

}  // namespace tessaly
