#include <random>

#include "core/errors.h"
#include "platform/file_save.h"

namespace tessaly {

void SaveFileAtomically(const std::string& path, std::string_view bytes,
                        const std::string& writeErrorMessage) {
    const auto failure = TrySaveFileAtomically(path, bytes);
    if (!failure) {
        return;
    }
    if (failure->step == SaveFailure::Step::Write) {
        throw TessalyError(writeErrorMessage);
    }
    throw FileCreateError(path);
}

std::string TemporaryPathBeside(const std::string& path, std::string_view separators) {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::string suffix(8, ' ');
    for (char& c : suffix) {
        c = kAlphabet[random() % (sizeof kAlphabet - 1)];
    }
    const auto separator = path.find_last_of(separators);
    const std::string folder = separator == std::string::npos ? "" : path.substr(0, separator + 1);
    const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    return folder + "." + name + "." + suffix + ".tmp";
}

}  // namespace tessaly
