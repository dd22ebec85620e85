#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>

#include "platform/text_encoding.h"

namespace tessaly {

namespace {

constexpr UINT kWindows1252 = 1252;

}  // namespace

// Through UTF-16: the ANSI code page's text, then Windows-1252 without best-fit
// replacements, so a character 1252 lacks is noticed instead of shown as "?" or a
// look-alike.
std::optional<std::string> ToWinAnsi(std::string_view platformText) {
    if (platformText.empty()) {
        return std::string();
    }
    if (platformText.size() > INT_MAX) {
        return std::nullopt;
    }
    const int inputSize = static_cast<int>(platformText.size());
    const int wideSize = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, platformText.data(),
                                               inputSize, nullptr, 0);
    if (wideSize <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, platformText.data(), inputSize,
                              wide.data(), wideSize) != wideSize) {
        return std::nullopt;
    }
    BOOL usedDefault = FALSE;
    const int outputSize = ::WideCharToMultiByte(kWindows1252, WC_NO_BEST_FIT_CHARS, wide.data(),
                                                 wideSize, nullptr, 0, nullptr, &usedDefault);
    if (outputSize <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(outputSize), '\0');
    if (::WideCharToMultiByte(kWindows1252, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize,
                              text.data(), outputSize, nullptr, &usedDefault) != outputSize ||
        usedDefault) {
        return std::nullopt;
    }
    return text;
}

std::string ToUtf8(std::string_view platformText) {
    if (platformText.empty() || platformText.size() > INT_MAX) {
        return std::string();
    }
    const int inputSize = static_cast<int>(platformText.size());
    const int wideSize =
        ::MultiByteToWideChar(CP_ACP, 0, platformText.data(), inputSize, nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(wideSize, 0)), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, platformText.data(), inputSize, wide.data(), wideSize);
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, text.data(), size, nullptr, nullptr);
    return text;
}

}  // namespace tessaly
