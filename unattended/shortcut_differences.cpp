#include "unattended/shortcut_differences.h"

#include "platform/base/text.h"

namespace zoriza {

namespace {

std::wstring ShowCommandText(std::int16_t showCommand) {
    if (showCommand == kShowNormal) return L"normal";
    if (showCommand == kShowMaximized) return L"maximized";
    return DecimalText(showCommand);
}

// "Ctrl+Alt+A": the modifiers in the high byte, the virtual key in the low one.
std::wstring HotkeyText(std::uint16_t hotkey) {
    if (hotkey == 0) return L"none";
    constexpr unsigned kShift = 0x01, kControl = 0x02, kAlt = 0x04;
    const unsigned modifiers = hotkey >> 8;
    const wchar_t key = static_cast<wchar_t>(hotkey & 0xFF);
    std::wstring text;
    if ((modifiers & kControl) != 0) text += L"Ctrl+";
    if ((modifiers & kAlt) != 0) text += L"Alt+";
    if ((modifiers & kShift) != 0) text += L"Shift+";
    const bool named = (key >= L'0' && key <= L'9') || (key >= L'A' && key <= L'Z');
    return named ? text + key : Joined({text, L"key ", DecimalText(key)});
}

std::wstring IconText(const ShortcutFields& fields) {
    if (fields.iconIndex == 0) return fields.iconLocation;
    return Joined({fields.iconLocation, L",", DecimalText(fields.iconIndex)});
}

struct FieldDifference {
    const wchar_t* field;
    std::wstring there;
    std::wstring wanted;
};

}  // namespace

std::vector<std::wstring> DifferencesOf(const ShortcutFields& there, const ShortcutFields& wanted) {
    const FieldDifference all[] = {
        {L"target", there.target, wanted.target},
        {L"window", ShowCommandText(there.showCommand), ShowCommandText(wanted.showCommand)},
        {L"hotkey", HotkeyText(there.hotkey), HotkeyText(wanted.hotkey)},
        {L"icon", IconText(there), IconText(wanted)},
        {L"description", there.description, wanted.description},
        {L"arguments", there.arguments, wanted.arguments},
        {L"working folder", there.workingDirectory, wanted.workingDirectory},
        {L"app id", there.appUserModelId, wanted.appUserModelId},
    };
    std::vector<std::wstring> lines;
    for (const FieldDifference& d : all) {
        if (d.there != d.wanted)
            lines.push_back(Joined({d.field, L" \"", d.there, L"\", should be \"", d.wanted, L"\""}));
    }
    return lines;
}

}  // namespace zoriza
