// The registry as the settings store needs it: five operations that answer
// with the system's status codes, exactly as the advapi32 functions do.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zoriza {

using RegistryRoot = std::uint32_t;
using RegistryKey = std::uintptr_t;
using RegistryStatus = std::int32_t;

inline constexpr RegistryRoot kHkeyCurrentUser = 0x80000001;

inline constexpr RegistryStatus kRegistrySuccess = 0;
inline constexpr RegistryStatus kRegistryFileNotFound = 2;
inline constexpr RegistryStatus kRegistryAccessDenied = 5;
inline constexpr RegistryStatus kRegistryMoreData = 234;

inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeyWrite = 0x20006;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

class Registry {
public:
    virtual ~Registry() = default;
    virtual RegistryStatus OpenKey(RegistryRoot root, const std::wstring& path,
                                   std::uint32_t access, RegistryKey& key) = 0;
    // Creates the key and every missing key above it, or opens it.
    virtual RegistryStatus CreateKey(RegistryRoot root, const std::wstring& path,
                                     RegistryKey& key) = 0;
    // Without data only reports the size in bytes; with data copies at most
    // `size` bytes and answers kRegistryMoreData when they do not fit.
    // Strings travel as UTF-16 little-endian code units.
    virtual RegistryStatus QueryValue(RegistryKey key, const std::wstring& name,
                                      std::uint32_t& type, std::uint8_t* data,
                                      std::uint32_t& size) = 0;
    virtual RegistryStatus SetValue(RegistryKey key, const std::wstring& name,
                                    std::uint32_t type, std::span<const std::uint8_t> data) = 0;
    virtual RegistryStatus CloseKey(RegistryKey key) = 0;
    // Bytes in the system's ANSI code page as text.
    virtual std::wstring DecodeAnsi(std::span<const std::uint8_t> bytes) const = 0;
};

}  // namespace zoriza
