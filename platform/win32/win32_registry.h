#pragma once

#include "platform/registry.h"

namespace zoriza {

// The advapi32 registry functions in their wide forms.
class Win32Registry : public Registry {
public:
    RegistryStatus OpenKey(RegistryRoot root, const std::wstring& path, std::uint32_t access,
                           RegistryKey& key) override;
    RegistryStatus CreateKey(RegistryRoot root, const std::wstring& path, RegistryKey& key) override;
    RegistryStatus QueryValue(RegistryKey key, const std::wstring& name, std::uint32_t& type,
                              std::uint8_t* data, std::uint32_t& size) override;
    RegistryStatus SetValue(RegistryKey key, const std::wstring& name, std::uint32_t type,
                            std::span<const std::uint8_t> data) override;
    RegistryStatus CloseKey(RegistryKey key) override;
    std::wstring DecodeAnsi(std::span<const std::uint8_t> bytes) const override;
};

}  // namespace zoriza
