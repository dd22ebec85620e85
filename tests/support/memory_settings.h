#pragma once

#include <map>
#include <set>
#include <string>

#include "settings/reg.h"

namespace tessaly::test {

// A settings store in memory that can refuse on demand.
class MemorySettings : public SettingsBackend {
  public:
    struct Value {
        SettingsKey::ValueType type;
        std::string data;
    };
    using Values = std::map<std::string, Value>;

    std::map<std::string, Values> keys;
    bool refuseKeys = false;    // neither open nor create
    bool refuseWrites = false;  // the key opens, setting a value fails
    bool refuseDataReads = false;

    std::unique_ptr<SettingsKey> OpenOrCreateKey(const std::string& path) override;

    // The store's string form of `text`: its bytes and a NUL.
    void PutString(const std::string& key, const std::string& name, const std::string& text,
                   SettingsKey::ValueType type = SettingsKey::ValueType::String) {
        keys[key][name] = {type, text + '\0'};
    }
};

}  // namespace tessaly::test
