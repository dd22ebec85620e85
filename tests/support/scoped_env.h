#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tessaly::test {

// An environment variable set (or, given nothing, removed) while the object lives, and
// put back as it was afterwards. POSIX only.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            saved_ = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(saved_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }

  private:
    std::string name_;
    std::optional<std::string> saved_;
};

}  // namespace tessaly::test
