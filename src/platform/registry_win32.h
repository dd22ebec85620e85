#pragma once

#include <memory>
#include <string>

#include "settings/reg.h"

namespace tessaly {

// The settings store in the per-user registry: keys are paths below HKEY_CURRENT_USER.
class RegistrySettingsBackend : public SettingsBackend {
  public:
    std::unique_ptr<SettingsKey> OpenOrCreateKey(const std::string& path) override;
};

}  // namespace tessaly
