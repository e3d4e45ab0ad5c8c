#pragma once

#include "platform/registry.h"

namespace zoriza {

// The advapi32 registry functions in their wide forms.
class Win32Registry : public Registry {
public:
    RegistryStatus OpenKey(RegistryRoot root, const std::wstring& path, std::uint32_t access,
                           RegistryKey& key) override;
    RegistryStatus CreateKey(RegistryRoot root, const std::wstring& path, RegistryKey& key) override;
    RegistryStatus QueryValue(const RegistryKey& key, const std::wstring& name, std::uint32_t& type,
                              std::uint8_t* data, std::uint32_t& size) override;
    RegistryStatus SetValue(const RegistryKey& key, const std::wstring& name, std::uint32_t type,
                            std::span<const std::uint8_t> data) override;
    std::wstring DecodeAnsi(std::span<const std::uint8_t> bytes) const override;

private:
    RegistryStatus CloseKey(RegistryKey::Handle handle) override;
};

}  // namespace zoriza
