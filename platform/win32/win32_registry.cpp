#include "platform/win32/win32_registry.h"

#include "platform/win32/unique_handle.h"

namespace zoriza {

namespace {

// Predefined roots are sign-extended 32-bit values.
HKEY RootHandle(RegistryRoot root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

HKEY KeyHandle(RegistryKey::Handle handle) { return reinterpret_cast<HKEY>(handle); }

RegistryKey::Handle HandleValue(HKEY key) { return reinterpret_cast<RegistryKey::Handle>(key); }

}  // namespace

RegistryStatus Win32Registry::OpenKey(RegistryRoot root, const std::wstring& path, std::uint32_t access,
                                      RegistryKey& key) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(RootHandle(root), path.c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) key = Own(HandleValue(opened));
    return status;
}

RegistryStatus Win32Registry::CreateKey(RegistryRoot root, const std::wstring& path, RegistryKey& key) {
    HKEY created = nullptr;
    const LSTATUS status = RegCreateKeyW(RootHandle(root), path.c_str(), &created);
    if (status == ERROR_SUCCESS) key = Own(HandleValue(created));
    return status;
}

RegistryStatus Win32Registry::QueryValue(const RegistryKey& key, const std::wstring& name, std::uint32_t& type,
                                         std::uint8_t* data, std::uint32_t& size) {
    DWORD valueType = type;
    DWORD valueSize = size;
    const LSTATUS status =
        RegQueryValueExW(KeyHandle(HandleOf(key)), name.c_str(), nullptr, &valueType, data, &valueSize);
    type = valueType;
    size = valueSize;
    return status;
}

RegistryStatus Win32Registry::SetValue(const RegistryKey& key, const std::wstring& name, std::uint32_t type,
                                       std::span<const std::uint8_t> data) {
    return RegSetValueExW(KeyHandle(HandleOf(key)), name.c_str(), 0, type, data.data(),
                          static_cast<DWORD>(data.size()));
}

RegistryStatus Win32Registry::CloseKey(RegistryKey::Handle handle) {
    return RegistryKeyTraits::Close(KeyHandle(handle));
}

std::wstring Win32Registry::DecodeAnsi(std::span<const std::uint8_t> bytes) const {
    if (bytes.empty()) return {};
    const auto* text = reinterpret_cast<const char*>(bytes.data());
    const int length = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(bytes.size()), wide.data(), length);
    return wide;
}

}  // namespace zoriza
