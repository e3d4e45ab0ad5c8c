// The registry as the settings store needs it: five operations that answer
// with the system's status codes, exactly as the advapi32 functions do.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

namespace zoriza {

using RegistryRoot = std::uint32_t;
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

class Registry;

// An open key. Only a Registry opens one, and the owner closes it through
// that registry exactly once: when it goes out of scope, when it is given
// another key, or earlier by Close. Moving hands the key on; copies do not
// exist, so a key can be neither leaked nor closed twice. An owner lives no
// longer than its registry.
class RegistryKey {
public:
    // The key as the registry that opened it knows it.
    using Handle = std::uintptr_t;

    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept
        : registry_(std::exchange(other.registry_, nullptr)), handle_(std::exchange(other.handle_, 0)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) {
            Close();
            registry_ = std::exchange(other.registry_, nullptr);
            handle_ = std::exchange(other.handle_, 0);
        }
        return *this;
    }

    // Closes the key and answers the registry's status for it; an owner
    // that holds no key has nothing to close and answers success.
    RegistryStatus Close();

private:
    friend class Registry;
    RegistryKey(Registry& registry, Handle handle) : registry_(&registry), handle_(handle) {}

    Registry* registry_ = nullptr;
    Handle handle_ = 0;
};

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
    virtual RegistryStatus QueryValue(const RegistryKey& key, const std::wstring& name,
                                      std::uint32_t& type, std::uint8_t* data,
                                      std::uint32_t& size) = 0;
    virtual RegistryStatus SetValue(const RegistryKey& key, const std::wstring& name,
                                    std::uint32_t type, std::span<const std::uint8_t> data) = 0;
    // Bytes in the system's ANSI code page as text.
    virtual std::wstring DecodeAnsi(std::span<const std::uint8_t> bytes) const = 0;

protected:
    // For the implementations: hands a key just opened to an owner that will
    // close it, and reads the handle back from an owner.
    RegistryKey Own(RegistryKey::Handle handle) { return RegistryKey(*this, handle); }
    static RegistryKey::Handle HandleOf(const RegistryKey& key) { return key.handle_; }

private:
    friend class RegistryKey;
    // Only an owner closes, so that each key is closed once.
    virtual RegistryStatus CloseKey(RegistryKey::Handle handle) = 0;
};

inline RegistryStatus RegistryKey::Close() {
    if (registry_ == nullptr) return kRegistrySuccess;
    const Handle handle = std::exchange(handle_, 0);
    return std::exchange(registry_, nullptr)->CloseKey(handle);
}

}  // namespace zoriza
