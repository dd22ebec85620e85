#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// Writes `bytes` to `path` whole: first into a new file created exclusively in the
// same folder, then renamed over `path`. On any failure the earlier file at `path`
// is left as it was and no temporary file remains.
//  - the temporary file cannot be created, or the rename fails: FileCreateError(path)
//  - writing or flushing the temporary file fails (disk full):
//    TessalyError(writeErrorMessage)
void SaveFileAtomically(const std::string& path, std::string_view bytes,
                        const std::string& writeErrorMessage);

// A new hidden name in the folder of `path` for its temporary copy:
// ".<name>.<random>.tmp". `separators` are the platform's path separators.
std::string TemporaryPathBeside(const std::string& path, std::string_view separators);

}  // namespace tessaly
