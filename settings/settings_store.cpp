// Reads and writes the settings through the wide registry functions, so that
// a folder path outside the ANSI code page comes back exactly as it was.
#include <vector>

#include "settings/settings_store.h"

namespace zoriza {

namespace {

constexpr wchar_t kBackslash[] = L"\\";
// A value that keeps growing between the size and the data query is given up
// after this many tries rather than read forever.
constexpr int kReadAttempts = 4;
// No setting holds a longer text than a folder path of 32,767 characters: a
// stored value larger than that is no setting of ours and is not read, so
// that a huge one cannot end every start for want of memory.
constexpr std::uint32_t kLongestValueBytes = (32 * 1024 + 1) * 2;

RegistryRoot ResolveRoot(RegistryRoot root) { return root == 0 ? kHkeyCurrentUser : root; }

bool IsStringType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::wstring DecodeUtf16(const std::vector<std::uint8_t>& bytes) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        if constexpr (sizeof(wchar_t) == 4) {
            // Join a surrogate pair where wchar_t holds whole code points.
            const bool high = unit >= 0xD800 && unit < 0xDC00;
            if (high && i + 3 < bytes.size()) {
                const char16_t low = static_cast<char16_t>(bytes[i + 2] | (bytes[i + 3] << 8));
                if (low >= 0xDC00 && low < 0xE000) {
                    text += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    i += 2;
                    continue;
                }
            }
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

std::vector<std::uint8_t> EncodeUtf16WithTerminator(const std::wstring& text) {
    std::vector<std::uint8_t> bytes;
    auto append = [&bytes](std::uint32_t unit) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (const wchar_t c : text) {
        const auto codePoint = static_cast<std::uint32_t>(c);
        if (codePoint > 0xFFFF) {
            append(0xD800 + ((codePoint - 0x10000) >> 10));
            append(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            append(codePoint);
        }
    }
    append(0);
    return bytes;
}

// Data of other types (a number, raw bytes) are read as ANSI text up to their
// first zero byte, as an ANSI reader would see them.
std::wstring DecodeValue(const Registry& registry, std::uint32_t type,
                         const std::vector<std::uint8_t>& bytes) {
    if (IsStringType(type)) return DecodeUtf16(bytes);
    std::size_t end = 0;
    while (end < bytes.size() && bytes[end] != 0) ++end;
    return registry.DecodeAnsi(std::span<const std::uint8_t>(bytes.data(), end));
}

// The value's data, or nothing when a query fails.
bool QueryData(Registry& registry, const RegistryKey& key, const std::wstring& name,
               std::uint32_t& type, std::vector<std::uint8_t>& data) {
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        std::uint32_t size = 0;
        type = kRegSz;
        if (registry.QueryValue(key, name, type, nullptr, size) != kRegistrySuccess) return false;
        if (size > kLongestValueBytes) return false;
        data.assign(size, 0);
        type = kRegSz;
        const RegistryStatus status = registry.QueryValue(key, name, type, data.data(), size);
        if (status == kRegistryMoreData) continue;
        if (status != kRegistrySuccess) return false;
        data.resize(size);
        return true;
    }
    return false;
}

}  // namespace

std::wstring RegGetString(Registry& registry, RegistryRoot root, const std::wstring& keyPath,
                          const std::wstring& valueName) {
    RegistryKey key;
    if (registry.OpenKey(ResolveRoot(root), TrimChar(keyPath, kBackslash), kKeyQueryValue, key) !=
        kRegistrySuccess) {
        return {};
    }
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> data;
    if (!QueryData(registry, key, TrimChar(valueName, kBackslash), type, data)) return {};
    return DecodeValue(registry, type, data);
}

bool RegSetString(Registry& registry, RegistryRoot root, const std::wstring& keyPath,
                  const std::wstring& valueName, const std::wstring& text) {
    const RegistryRoot resolvedRoot = ResolveRoot(root);
    const std::wstring path = TrimChar(keyPath, kBackslash);
    const std::wstring name = TrimChar(valueName, kBackslash);
    RegistryKey key;
    RegistryStatus status = registry.OpenKey(resolvedRoot, path, kKeyWrite, key);
    if (status == kRegistryFileNotFound) status = registry.CreateKey(resolvedRoot, path, key);
    if (status != kRegistrySuccess) return false;
    const std::vector<std::uint8_t> data = EncodeUtf16WithTerminator(text);
    return registry.SetValue(key, name, kRegSz, data) == kRegistrySuccess;
}

bool RegHoldsString(Registry& registry, RegistryRoot root, const std::wstring& keyPath, const std::wstring& valueName,
                    const std::wstring& text) {
    RegistryKey key;
    if (registry.OpenKey(ResolveRoot(root), TrimChar(keyPath, kBackslash), kKeyQueryValue, key) != kRegistrySuccess) {
        return false;
    }
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> data;
    return QueryData(registry, key, TrimChar(valueName, kBackslash), type, data) && type == kRegSz &&
           data == EncodeUtf16WithTerminator(text);
}

}  // namespace zoriza
