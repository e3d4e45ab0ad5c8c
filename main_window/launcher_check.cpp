// The edition's launcher, which the scan and the create command both look
// for: where it is for the current choices, whether it is there, and the box
// that says it is not.
#include "localisation/catalogue.h"
#include "main_window/main_window.h"

namespace zoriza {

LaunchTarget Form1::CurrentLaunchTarget() const {
    return ResolveLaunchTarget(c_.App.ListIndex(), c_.Dir1.Path(), c_.Platform.Value(0));
}

bool Form1::IsNormalFile(const std::wstring& path) {
    return !services_.files.FirstMatch(path, EntryKinds::NormalFiles).empty();
}

void Form1::ShowNotFound(const std::wstring& text) {
    c_.form.ShowMessage(c_.App.Text() + L"\r\n\r\n" + text, Translate(L"NO S'HA TROBAT"),
                        MessageIcon::Error);
}

}  // namespace zoriza
