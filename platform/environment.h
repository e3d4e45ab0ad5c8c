#pragma once

#include <string>

namespace zoriza {

class Environment {
public:
    virtual ~Environment() = default;
    // An undefined variable reads as the empty text.
    virtual std::wstring Variable(const std::wstring& name) const = 0;
};

}  // namespace zoriza
