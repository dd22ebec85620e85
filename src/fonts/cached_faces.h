#pragma once

#include <string>
#include <vector>

#include "fonts/fontconfig_faces.h"

namespace tessaly {

// FacesHolding, answered from the user's cache ($XDG_CACHE_HOME/tessaly/faces, else
// ~/.cache/tessaly/faces) where an earlier run asked the same and nothing it rests on has
// changed since: the face files (size and time), fontconfig's configuration and cache
// files and folders, the environment fontconfig reads. Else fontconfig's own answer,
// remembered for the next run. A cache that cannot be read or does not hold is not used.
std::vector<FaceFile> CachedFacesHolding(const std::u32string& characters,
                                         const std::string& language, FaceWeight weight);

// The files the answers given in this run rest on (fontconfig's settings, caches and the
// faces); nothing where the cache is not in use.
std::vector<std::string> FilesAnswersRestOn();

// Writes what this run learnt into the cache (a temporary file renamed into place), if
// anything; a cache that cannot be written is left as it was.
void SaveFaceCache();

}  // namespace tessaly
