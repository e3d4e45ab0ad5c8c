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

std::vector<std::wstring> ResolvedPathParts(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::size_t begin = kDriveLength;
    while (begin <= path.size()) {
        std::size_t end = path.find(L'\\', begin);
        if (end == std::wstring::npos) end = path.size();
        const std::wstring part = path.substr(begin, end - begin);
        if (part == L"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        begin = end + 1;
    }
    return parts;
}

}  // namespace zoriza
