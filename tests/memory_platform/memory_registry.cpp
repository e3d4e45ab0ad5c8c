#include "tests/memory_platform/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/base/text.h"

namespace zoriza {

namespace {

constexpr RegistryStatus kInvalidHandle = 6;

}  // namespace

std::wstring MemoryRegistry::Key(const std::wstring& path) { return AsciiUpper(path); }

std::wstring MemoryRegistry::Key(RegistryRoot root, const std::wstring& path) {
    return std::to_wstring(root) + L"\\" + Key(path);
}

RegistryStatus MemoryRegistry::OpenKey(RegistryRoot root, const std::wstring& path, std::uint32_t,
                                       RegistryKey& key) {
    const std::wstring fullKey = Key(root, path);
    if (denied_.count(fullKey) != 0) return kRegistryAccessDenied;
    if (keys_.count(fullKey) == 0) return kRegistryFileNotFound;
    handles_[nextHandle_] = fullKey;
    key = Own(nextHandle_++);
    return kRegistrySuccess;
}

RegistryStatus MemoryRegistry::CreateKey(RegistryRoot root, const std::wstring& path, RegistryKey& key) {
    const std::wstring fullKey = Key(root, path);
    keys_[fullKey];
    handles_[nextHandle_] = fullKey;
    key = Own(nextHandle_++);
    return kRegistrySuccess;
}

RegistryStatus MemoryRegistry::QueryValue(const RegistryKey& key, const std::wstring& name,
                                          std::uint32_t& type, std::uint8_t* data,
                                          std::uint32_t& size) {
    const auto handle = handles_.find(HandleOf(key));
    if (handle == handles_.end()) return kInvalidHandle;
    if (data != nullptr && failDataQueries_) return kRegistryAccessDenied;
    const auto& values = keys_[handle->second];
    const auto found = values.find(Key(name));
    if (found == values.end()) return kRegistryFileNotFound;
    const Value& value = found->second;
    type = value.type;
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    if (data == nullptr) {
        size = needed;
        if (betweenQueries_) std::exchange(betweenQueries_, nullptr)();
        return kRegistrySuccess;
    }
    if (size < needed) {
        size = needed;
        return kRegistryMoreData;
    }
    std::memcpy(data, value.data.data(), needed);
    size = needed;
    return kRegistrySuccess;
}

RegistryStatus MemoryRegistry::SetValue(const RegistryKey& key, const std::wstring& name, std::uint32_t type,
                                        std::span<const std::uint8_t> data) {
    const auto handle = handles_.find(HandleOf(key));
    if (handle == handles_.end()) return kInvalidHandle;
    if (failWrites_) return kRegistryAccessDenied;
    keys_[handle->second][Key(name)] = Value{type, {data.begin(), data.end()}};
    written_.push_back(name);
    return kRegistrySuccess;
}

RegistryStatus MemoryRegistry::CloseKey(RegistryKey::Handle handle) {
    if (handles_.erase(handle) == 1) return kRegistrySuccess;
    ++strayCloses_;
    return kInvalidHandle;
}

// Latin-1 stands for the ANSI code page here.
std::wstring MemoryRegistry::DecodeAnsi(std::span<const std::uint8_t> bytes) const {
    return std::wstring(bytes.begin(), bytes.end());
}

void MemoryRegistry::Put(const std::wstring& path, const std::wstring& name, Value value) {
    keys_[Key(kHkeyCurrentUser, path)][Key(name)] = std::move(value);
}

void MemoryRegistry::PutText(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    Value value;
    for (const wchar_t c : text) {
        value.data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        value.data.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    value.data.insert(value.data.end(), {0, 0});
    Put(path, name, std::move(value));
}

const MemoryRegistry::Value* MemoryRegistry::Find(const std::wstring& path, const std::wstring& name) const {
    const auto key = keys_.find(Key(kHkeyCurrentUser, path));
    if (key == keys_.end()) return nullptr;
    const auto value = key->second.find(Key(name));
    return value == key->second.end() ? nullptr : &value->second;
}

bool MemoryRegistry::KeyExists(const std::wstring& path) const {
    return keys_.count(Key(kHkeyCurrentUser, path)) != 0;
}

}  // namespace zoriza
