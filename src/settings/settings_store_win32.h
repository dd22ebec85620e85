#pragma once

#include <memory>
#include <string>

#include "settings/reg.h"

namespace tessaly {

// The settings store in the per-user registry: keys are paths below HKEY_CURRENT_USER,
// or below the key `root` there, so tests can keep away from the user's own settings.
class RegistrySettingsBackend : public SettingsBackend {
  public:
    explicit RegistrySettingsBackend(std::string root = {}) : root_(std::move(root)) {}
    std::unique_ptr<SettingsKey> OpenOrCreateKey(const std::string& path) override;

  private:
    std::string root_;
};

}  // namespace tessaly
