#include <charconv>
#include <cstdint>

#include "core/errors.h"
#include "platform/file_save.h"

namespace tessaly {

namespace {

constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kRandomLength = 8;
constexpr std::string_view kTemporarySuffix = ".tmp";

}  // namespace

void SaveFileAtomically(const std::string& path, ByteSpans bytes,
                        const std::string& writeErrorMessage) {
    const auto failure = TrySaveFileAtomically(path, bytes);
    if (!failure) {
        return;
    }
    if (failure->step == SaveFailure::Step::Write) {
        throw FileSaveError(writeErrorMessage, path, failure->reason);
    }
    throw FileCreateError(path, failure->reason, failure->folderClosed, failure->detail);
}

std::optional<int> DescriptorNamed(std::string_view path) {
    if (path == "/dev/stdout") {
        return 1;
    }
    if (path == "/dev/stderr") {
        return 2;
    }
    for (const std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
        if (path.starts_with(folder)) {
            const std::string_view digits = path.substr(folder.size());
            int descriptor = -1;
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), descriptor);
            if (!digits.empty() && error == std::errc() && end == digits.data() + digits.size() &&
                descriptor >= 0) {
                return descriptor;
            }
        }
    }
    return std::nullopt;
}

std::string TemporaryNameFor(std::string_view name, unsigned long pid) {
    // Eight characters of 36 take 42 bits.
    std::uint64_t bits = RandomBitsForName();
    static_assert(kRandomLength <= 12);  // 36^12 < 2^64
    // Appended piece by piece: "." + std::string(...) trips a false -Wrestrict in GCC 12.
    std::string text(1, '.');
    text.append(name).append(".").append(std::to_string(pid)).append(".");
    for (size_t k = 0; k < kRandomLength; ++k) {
        text += kAlphabet[bits % kAlphabet.size()];
        bits /= kAlphabet.size();
    }
    return text + std::string(kTemporarySuffix);
}

std::optional<unsigned long> TemporaryNameOwner(std::string_view entry, std::string_view name) {
    if (entry.size() < name.size() + 2 || entry[0] != '.' || entry.substr(1, name.size()) != name ||
        entry[name.size() + 1] != '.' || !entry.ends_with(kTemporarySuffix)) {
        return std::nullopt;
    }
    // What is left: "<pid>.<random>".
    entry.remove_prefix(name.size() + 2);
    entry.remove_suffix(kTemporarySuffix.size());
    const auto dot = entry.find('.');
    if (dot == std::string_view::npos || dot == 0 || entry.size() - dot - 1 != kRandomLength ||
        entry.substr(dot + 1).find_first_not_of(kAlphabet) != std::string_view::npos) {
        return std::nullopt;
    }
    unsigned long pid = 0;
    const auto [end, error] = std::from_chars(entry.data(), entry.data() + dot, pid);
    if (error != std::errc() || end != entry.data() + dot) {
        return std::nullopt;
    }
    return pid;
}

}  // namespace tessaly
