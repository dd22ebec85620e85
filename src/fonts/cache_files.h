#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "fonts/face_cache.h"

namespace tessaly {

// A file or folder as it is now (following links).
FileStamp StampOf(const std::string& path);

// $XDG_CACHE_HOME/tessaly, else ~/.cache/tessaly; nothing without a home, or where
// fontconfig is pointed elsewhere by its own variables (their files are not known here).
std::optional<std::string> CacheFolder();

// The file's bytes: a regular file of this user's, not a link, of at most `most` bytes.
std::optional<std::string> ReadCacheFile(const std::string& path, std::size_t most);

// `text` as the file `name` of the folder (made if missing, of this user's, not a link): a
// temporary file renamed into place; a file that cannot be written is left as it was.
void WriteCacheFile(const std::string& folder, const std::string& name, std::string_view text);

}  // namespace tessaly
