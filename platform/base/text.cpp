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

}  // namespace zoriza
