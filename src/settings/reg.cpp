#include "settings/reg.h"

#include "core/errors.h"
#include "core/int_text.h"

namespace tessaly {

std::int32_t RegReadInteger(SettingsBackend& backend, const std::string& key,
                            const std::string& name, std::int32_t defaultValue) {
    // A key that can be neither opened nor created reads as defaults instead of
    // falling back to the root of the store.
    const auto opened = backend.OpenOrCreateKey(key);
    if (!opened) {
        return defaultValue;
    }
    const auto info = opened->QueryValue(name);
    if (!info) {
        return defaultValue;
    }
    std::string text;
    if (info->size > 0) {
        if (info->type == SettingsKey::ValueType::Other) {
            throw TessalyError("Invalid data type for '" + name + "'");
        }
        auto data = opened->ReadValueData(name);
        if (!data) {
            throw TessalyError("Failed to get data for '" + name + "'");
        }
        text = data->substr(0, data->find('\0'));
    }
    return ParseIntegerText(text).value_or(defaultValue);
}

void RegWriteInteger(SettingsBackend& backend, const std::string& key, const std::string& name,
                     std::int32_t value) {
    const auto opened = backend.OpenOrCreateKey(key);
    if (!opened) {
        throw TessalyError("Failed to create key " + key);
    }
    std::string data = std::to_string(value);
    data.push_back('\0');
    if (!opened->SetStringValue(name, data)) {
        throw TessalyError("Failed to set data for '" + name + "'");
    }
}

}  // namespace tessaly
