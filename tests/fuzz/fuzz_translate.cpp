// Translate gives the source back unless it is a key, and then a text of the
// key's own row.
#include <cstdlib>

#include "localisation/catalogue.h"
#include "tests/fuzz/fuzz_input.h"

using namespace zoriza;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t choice = input.Byte();
    const wchar_t* codes[] = {kCatalan, kGalician, kAranese, kSpanish};
    CurrentLanguage = choice < 4 ? std::wstring(codes[choice]) : input.Text(4);
    const std::uint8_t row = input.Byte();
    const std::wstring source = row < kCatalogueSize ? kCatalogue[row].catalan : input.Rest();
    const std::wstring result = Translate(source);
    bool isKey = false;
    for (const CatalogueRow& entry : kCatalogue) {
        if (source != entry.catalan) continue;
        isKey = true;
        if (result != entry.catalan && result != entry.spanish && result != entry.galician && result != entry.aranese) {
            std::abort();
        }
    }
    if (!isKey && result != source) std::abort();
    return 0;
}
