#include "platform/base/text.h"

namespace zoriza {

std::wstring Joined(std::initializer_list<std::wstring_view> pieces) {
    std::size_t length = 0;
    for (const std::wstring_view piece : pieces) length += piece.size();
    std::wstring text;
    text.reserve(length);
    for (const std::wstring_view piece : pieces) text.append(piece);
    return text;
}

std::vector<std::wstring> PathParts(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::size_t begin = kDriveLength;
    while (begin <= path.size()) {
        std::size_t end = path.find(L'\\', begin);
        if (end == std::wstring::npos) end = path.size();
        if (end > begin) parts.push_back(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

std::vector<std::wstring> ResolvedPathParts(const std::wstring& path) {
    std::vector<std::wstring> resolved;
    for (const std::wstring& part : PathParts(path)) {
        if (part == L"..") {
            if (!resolved.empty()) resolved.pop_back();
        } else if (part != L".") {
            resolved.push_back(part);
        }
    }
    return resolved;
}

}  // namespace zoriza
