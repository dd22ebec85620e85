#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tessaly {

// A file's bytes as spans to be written one after another, each as it stands: a
// document kept in pieces (its text, a picture's samples shared by several objects)
// reaches the disk without being copied into one buffer first. The spans are borrowed
// and must outlive this view.
class ByteSpans {
  public:
    // A file that is one piece.
    ByteSpans(std::string_view whole) noexcept : whole_(whole) {}
    ByteSpans(const std::string& whole) noexcept : whole_(whole) {}
    ByteSpans(const char* whole) noexcept : whole_(whole) {}
    explicit ByteSpans(std::span<const std::string_view> spans) noexcept : spans_(spans) {}

    std::span<const std::string_view> spans() const noexcept {
        return spans_.empty() ? std::span<const std::string_view>(&whole_, 1) : spans_;
    }
    std::size_t size() const noexcept {
        std::size_t total = 0;
        for (const std::string_view span : spans()) {
            total += span.size();
        }
        return total;
    }
    // The bytes in one piece, for a reader that needs them so.
    std::string Joined() const {
        std::string joined;
        joined.reserve(size());
        for (const std::string_view span : spans()) {
            joined.append(span);
        }
        return joined;
    }

  private:
    std::string_view whole_;
    std::span<const std::string_view> spans_;
};

}  // namespace tessaly
