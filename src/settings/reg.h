#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tessaly {

// One open key of a settings store; destroying it closes the key.
class SettingsKey {
  public:
    enum class ValueType { String, ExpandString, Other };
    struct ValueInfo {
        ValueType type;
        std::uint32_t size;  // bytes of data, a string's NUL included
    };

    virtual ~SettingsKey() = default;
    // Nothing when the value does not exist.
    virtual std::optional<ValueInfo> QueryValue(const std::string& name) = 0;
    // The value's raw data; nothing when it cannot be fetched.
    virtual std::optional<std::string> ReadValueData(const std::string& name) = 0;
    // Stores a string value whose data is `dataWithNul` (text plus its NUL byte).
    virtual bool SetStringValue(const std::string& name, const std::string& dataWithNul) = 0;
};

// Where the settings live: the per-user registry on Windows, a file on Linux, memory in
// tests.
class SettingsBackend {
  public:
    virtual ~SettingsBackend() = default;
    // Opens the key with full access, creating it when missing; nothing when it can be
    // neither opened nor created.
    virtual std::unique_ptr<SettingsKey> OpenOrCreateKey(const std::string& path) = 0;
};

// Each call opens the key, makes its one access and closes it again.
// A missing key, value, empty text or text that does not convert reads as `defaultValue`.
std::int32_t RegReadInteger(SettingsBackend& backend, const std::string& key,
                            const std::string& name, std::int32_t defaultValue);
void RegWriteInteger(SettingsBackend& backend, const std::string& key, const std::string& name,
                     std::int32_t value);

}  // namespace tessaly
