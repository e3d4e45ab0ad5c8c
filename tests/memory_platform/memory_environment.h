// The process environment and the user's language identifier, held in memory.
#pragma once

#include <map>
#include <string>

#include "platform/environment.h"
#include "platform/language_id.h"

namespace zoriza {

class MemoryEnvironment : public Environment {
public:
    void Set(const std::wstring& name, const std::wstring& value) { variables_[name] = value; }
    std::wstring Variable(const std::wstring& name) const override {
        const auto found = variables_.find(name);
        return found == variables_.end() ? std::wstring() : found->second;
    }

private:
    std::map<std::wstring, std::wstring> variables_;
};

class MemoryLanguageId : public LanguageIdSource {
public:
    explicit MemoryLanguageId(std::uint16_t id = 0x0403) : id_(id) {}
    void Set(std::uint16_t id) { id_ = id; }
    std::uint16_t UserDefaultLangId() const override { return id_; }

private:
    std::uint16_t id_;
};

}  // namespace zoriza
