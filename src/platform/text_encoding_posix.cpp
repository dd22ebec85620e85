#include "core/winansi.h"
#include "platform/text_encoding.h"

namespace tessaly {

// Linux desktops run in UTF-8 locales.
std::optional<std::string> ToWinAnsi(std::string_view platformText) {
    return Utf8ToWinAnsi(platformText);
}

std::string ToUtf8(std::string_view platformText) {
    return std::string(platformText);
}

}  // namespace tessaly
