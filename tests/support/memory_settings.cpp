#include "support/memory_settings.h"

namespace tessaly::test {

namespace {

class MemoryKey : public SettingsKey {
  public:
    MemoryKey(MemorySettings& store, MemorySettings::Values& values)
        : store_(store), values_(values) {}

    std::optional<ValueInfo> QueryValue(const std::string& name) override {
        const auto found = values_.find(name);
        if (found == values_.end()) {
            return std::nullopt;
        }
        return ValueInfo{found->second.type, static_cast<std::uint32_t>(found->second.data.size())};
    }
    std::optional<std::string> ReadValueData(const std::string& name) override {
        if (store_.refuseDataReads) {
            return std::nullopt;
        }
        return values_.at(name).data;
    }
    bool SetStringValue(const std::string& name, const std::string& dataWithNul) override {
        if (store_.refuseWrites) {
            return false;
        }
        values_[name] = {ValueType::String, dataWithNul};
        return true;
    }

  private:
    MemorySettings& store_;
    MemorySettings::Values& values_;
};

}  // namespace

std::unique_ptr<SettingsKey> MemorySettings::OpenOrCreateKey(const std::string& path) {
    if (refuseKeys) {
        return nullptr;
    }
    return std::make_unique<MemoryKey>(*this, keys[path]);
}

}  // namespace tessaly::test
