// A registry held in memory that answers with the system's status codes, and
// can be told to refuse access, fail a data query or change a value between
// the size query and the data query.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace zoriza {

class MemoryRegistry : public Registry {
public:
    struct Value {
        std::uint32_t type = kRegSz;
        std::vector<std::uint8_t> data;
    };

    RegistryStatus OpenKey(RegistryRoot root, const std::wstring& path, std::uint32_t access,
                           RegistryKey& key) override;
    RegistryStatus CreateKey(RegistryRoot root, const std::wstring& path, RegistryKey& key) override;
    RegistryStatus QueryValue(const RegistryKey& key, const std::wstring& name, std::uint32_t& type,
                              std::uint8_t* data, std::uint32_t& size) override;
    RegistryStatus SetValue(const RegistryKey& key, const std::wstring& name, std::uint32_t type,
                            std::span<const std::uint8_t> data) override;
    std::wstring DecodeAnsi(std::span<const std::uint8_t> bytes) const override;

    // Test controls and inspection; paths are relative to HKEY_CURRENT_USER.
    void Put(const std::wstring& path, const std::wstring& name, Value value);
    void PutText(const std::wstring& path, const std::wstring& name, const std::wstring& text);
    const Value* Find(const std::wstring& path, const std::wstring& name) const;
    bool KeyExists(const std::wstring& path) const;
    // Opening answers "access denied"; creating still works, so a wrongful
    // create shows.
    void DenyOpen(const std::wstring& path) { denied_.insert(Key(kHkeyCurrentUser, path)); }
    void FailDataQueries(bool fail) { failDataQueries_ = fail; }
    void FailWrites(bool fail) { failWrites_ = fail; }
    // Runs between the next size query and its data query.
    void BetweenQueries(std::function<void()> action) { betweenQueries_ = std::move(action); }
    std::size_t OpenHandles() const { return handles_.size(); }
    // Closes of a key that was not open: a key closed twice.
    std::size_t StrayCloses() const { return strayCloses_; }
    const std::vector<std::wstring>& WrittenNames() const { return written_; }

private:
    RegistryStatus CloseKey(RegistryKey::Handle handle) override;
    static std::wstring Key(const std::wstring& path);
    static std::wstring Key(RegistryRoot root, const std::wstring& path);

    std::map<std::wstring, std::map<std::wstring, Value>> keys_;
    std::map<RegistryKey::Handle, std::wstring> handles_;
    std::set<std::wstring> denied_;
    RegistryKey::Handle nextHandle_ = 0x100;
    std::size_t strayCloses_ = 0;
    bool failDataQueries_ = false;
    bool failWrites_ = false;
    std::function<void()> betweenQueries_;
    std::vector<std::wstring> written_;
};

}  // namespace zoriza
