#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "core/byte_spans.h"

namespace tessaly {

// Why a save failed: the step, and the system's reason.
struct SaveFailure {
    enum class Step {
        Create,   // no new file can be made in the folder (closed, or missing)
        Write,    // its bytes could not be written or flushed (a full disk)
        Replace,  // it cannot take the target's place: the target is write-protected,
                  // a folder, a link leading nowhere, or held open by another program
    };
    Step step;
    std::error_code reason;
    // The folder refuses new files, as an installed copy's folder does: another folder
    // may do where this one does not.
    bool folderClosed = false;
    // What the reason alone would not tell (a link's missing target, a link not
    // followed), or nothing.
    std::string detail = {};
};

// The descriptor a path names: /dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N.
// Writing to it is writing to the descriptor, as a shell's redirection set it up
// (appending after >>), never replacing what it leads to.
std::optional<int> DescriptorNamed(std::string_view path);

#ifndef _WIN32
// Whether a part of `path` is a link that the system would not follow under
// fs.protected_symlinks (another user's, in a sticky folder that anyone can write): a
// folder through such a link is not to be resolved, and a save there is refused.
bool PassesProtectedLink(const std::string& path);
#endif

// How the temporary copy comes into being: without a name until it is whole, where the
// system allows (Linux: O_TMPFILE), or named from the start, as everywhere else.
enum class TemporaryCopy { UnnamedWherePossible, Named };

// Writes `bytes` to `path` whole: into a new file in the folder of the file `path`
// leads to (through symbolic links), then moved over that file, which keeps its
// permission bits. A write-protected target is refused, never replaced, and so is a
// link that the system itself would not follow (fs.protected_symlinks: another user's
// link in a sticky folder that anyone can write). On any failure,
// or a kill at any moment, the earlier file is left as it was and no temporary file
// remains (a named copy that a killed run left is removed by the next save). A device or
// a pipe (/dev/null, a FIFO) is not replaced but written to, and a descriptor's name
// (DescriptorNamed) is written to that descriptor. Nothing when saved.
std::optional<SaveFailure> TrySaveFileAtomically(
    const std::string& path, ByteSpans bytes,
    TemporaryCopy copy = TemporaryCopy::UnnamedWherePossible);

// The same, reporting a failure as the program's error:
//  - the file cannot be created or replaced: FileCreateError(path)
//  - writing or flushing the temporary file fails: FileSaveError(writeErrorMessage)
void SaveFileAtomically(const std::string& path, ByteSpans bytes,
                        const std::string& writeErrorMessage);

// The system's words for a failure, as its own tools print them.
std::string DescribeReason(const std::error_code& reason);

// The hidden name of a temporary copy of `name` made by process `pid`:
// ".<name>.<pid>.<random>.tmp".
std::string TemporaryNameFor(std::string_view name, unsigned long pid);
// 64 bits of the system's random numbers, for such names.
std::uint64_t RandomBitsForName();
// The process that made `entry`, when it is such a name for `name`.
std::optional<unsigned long> TemporaryNameOwner(std::string_view entry, std::string_view name);

}  // namespace tessaly
