// Form1 itself: the controls' own events wired to their handlers, and the key
// preview, where Esc anywhere ends the program.
#include "main_window/main_window.h"

namespace zoriza {

Form1::Form1(const FormControls& controls, const FormServices& services)
    : c_(controls), services_(services) {
    c_.Lang.OnClick([this] { Lang_Click(); });
    c_.Drive1.OnChange([this] { Drive1_Change(); });
}

void Form1::Form_KeyPress(std::int16_t& KeyAscii) {
    if (KeyAscii != kEscape) return;
    c_.form.Unload();
    c_.form.EndProgram();
}

}  // namespace zoriza
