// The language switch: stores the selected language and captions the window
// again, each text from its fixed Catalan key.
#include <array>

#include "localisation/catalogue.h"
#include "main_window/layout.h"
#include "main_window/main_window.h"

namespace zoriza {

namespace {

std::wstring LanguageCodeOf(std::int16_t langIndex) {
    if (langIndex < 0 || langIndex >= static_cast<std::int16_t>(kLanguageCodes.size())) return kCatalan;
    return kLanguageCodes[static_cast<std::size_t>(langIndex)];
}

std::wstring TranslatedDesignText(ControlId id) { return Translate(DesignOf(id).designText); }

}  // namespace

void Form1::Lang_Click() {
    CurrentLanguage = LanguageCodeOf(c_.Lang.ListIndex());
    c_.form.SetCaption(Translate(kDesignCaption));
    for (std::size_t i = 0; i < kEditionCaptions.size(); ++i) {
        c_.App.SetList(static_cast<std::int16_t>(i), Translate(kEditionCaptions[i]));
    }
    c_.Frame1.SetCaption(TranslatedDesignText(ControlId::Frame1));
    c_.Search.SetCaption(TranslatedDesignText(ControlId::Search));
    c_.Frame2.SetCaption(TranslatedDesignText(ControlId::Frame2));
    c_.Frame3.SetCaption(TranslatedDesignText(ControlId::Frame3));
    c_.Icona.SetCaption(TranslatedDesignText(ControlId::Icona));
}

}  // namespace zoriza
