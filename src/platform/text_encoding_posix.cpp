#include "platform/text_encoding.h"

namespace tessaly {

std::string InCodePage(std::string_view utf8, unsigned) {
    return std::string(utf8);
}

}  // namespace tessaly
