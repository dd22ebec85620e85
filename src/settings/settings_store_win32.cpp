#include "settings/settings_store_win32.h"

#include <windows.h>

#include <algorithm>

namespace tessaly {

namespace {

class RegistryKey : public SettingsKey {
  public:
    explicit RegistryKey(HKEY key) : key_(key) {}
    ~RegistryKey() override { ::RegCloseKey(key_); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    std::optional<ValueInfo> QueryValue(const std::string& name) override {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (::RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        ValueType kind = ValueType::Other;
        if (type == REG_SZ) {
            kind = ValueType::String;
        } else if (type == REG_EXPAND_SZ) {
            kind = ValueType::ExpandString;
        }
        return ValueInfo{kind, size};
    }

    std::optional<std::string> ReadValueData(const std::string& name) override {
        DWORD size = 0;
        if (::RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        // The size of an -A string is only an upper bound, and another program may
        // change the value in between: read until the buffer is large enough.
        for (int attempt = 0; attempt < 8; ++attempt) {
            std::string data(size, '\0');
            DWORD got = size;
            const LSTATUS status = ::RegQueryValueExA(key_, name.c_str(), nullptr, nullptr,
                                                      reinterpret_cast<BYTE*>(data.data()), &got);
            if (status == ERROR_SUCCESS) {
                data.resize(std::min<DWORD>(got, size));
                return data;
            }
            if (status != ERROR_MORE_DATA) {
                return std::nullopt;
            }
            size = got > size ? got : size * 2 + 16;
        }
        return std::nullopt;
    }

    bool SetStringValue(const std::string& name, const std::string& dataWithNul) override {
        return ::RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(dataWithNul.data()),
                                static_cast<DWORD>(dataWithNul.size())) == ERROR_SUCCESS;
    }

  private:
    HKEY key_;
};

}  // namespace

std::unique_ptr<SettingsKey> RegistrySettingsBackend::OpenOrCreateKey(const std::string& key) {
    const std::string path = root_.empty() ? key : root_ + "\\" + key;
    HKEY created = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &created, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    ::RegCloseKey(created);
    // Opened again for the access itself, so a key that exists but refuses full access
    // is reported rather than half used.
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &opened) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<RegistryKey>(opened);
}

}  // namespace tessaly
