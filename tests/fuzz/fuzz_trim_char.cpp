// TrimChar removes the character from both ends and nothing else.
#include <cstdlib>

#include "settings/settings_store.h"
#include "tests/fuzz/fuzz_input.h"

using namespace zoriza;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring character = input.Text(1);
    if (character.empty()) return 0;
    const std::wstring text = input.Rest();
    const std::wstring trimmed = TrimChar(text, character);
    const wchar_t c = character[0];
    if (!trimmed.empty() && (trimmed.front() == c || trimmed.back() == c)) std::abort();
    const std::size_t start = text.find(trimmed);
    if (start == std::wstring::npos) std::abort();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool kept = i >= start && i < start + trimmed.size();
        if (!kept && text[i] != c) std::abort();
    }
    return 0;
}
