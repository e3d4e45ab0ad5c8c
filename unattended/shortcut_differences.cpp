#include "unattended/checking_services.h"

#include <algorithm>
#include <vector>

#include "platform/base/error.h"
#include "platform/base/text.h"
#include "unattended/run_report.h"

namespace zoriza {

namespace {

// Asked of the check's file system by nothing the create command does.
[[noreturn]] void RefuseWrite() { throw AppError(kInvalidProcedureCall, L"The check writes nothing"); }

std::wstring WithoutFinalBackslash(std::wstring path) {
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

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

std::vector<FieldDifference> Differences(const ShortcutFields& there, const ShortcutFields& wanted) {
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
    std::vector<FieldDifference> differing;
    for (const FieldDifference& difference : all) {
        if (difference.there != difference.wanted) differing.push_back(difference);
    }
    return differing;
}

// The fields the create command gives a shortcut, gathered as it sets them.
class CheckedShortcut : public GatheredShortcut {
public:
    CheckedShortcut(CheckingShellLinks& shell, std::wstring linkPath) : shell_(shell), linkPath_(std::move(linkPath)) {}

    // "Written" when it is not in place, as the create command would write it.
    bool Save() override { return !shell_.InPlace(linkPath_, fields_); }

private:
    CheckingShellLinks& shell_;
    std::wstring linkPath_;
};

}  // namespace

void CheckingFileSystem::MakeFolder(const std::wstring& path) {
    const std::wstring folder = WithoutFinalBackslash(path);
    if (!toldMissing_.insert(folder).second) return;
    ++tally_.notInPlace;
    out_.Line(Joined({L"missing: ", folder}));
}

bool CheckingFileSystem::RemoveFile(const std::wstring&) { RefuseWrite(); }

bool CheckingFileSystem::RemoveEmptyFolder(const std::wstring&) { RefuseWrite(); }

RegistryStatus CheckingRegistry::OpenKey(RegistryRoot root, const std::wstring& path, std::uint32_t,
                                         RegistryKey& key) {
    return real_.OpenKey(root, path, kKeyQueryValue, key);
}

RegistryStatus CheckingRegistry::CreateKey(RegistryRoot, const std::wstring&, RegistryKey&) {
    return kRegistryFileNotFound;  // not there, so it holds none of the settings
}

RegistryStatus CheckingRegistry::SetValue(const RegistryKey& key, const std::wstring& name, std::uint32_t type,
                                          std::span<const std::uint8_t> data) {
    std::uint32_t storedType = 0;
    std::uint32_t size = 0;
    if (real_.QueryValue(key, name, storedType, nullptr, size) != kRegistrySuccess || storedType != type ||
        size != data.size()) {
        return kRegistryFileNotFound;
    }
    std::vector<std::uint8_t> stored(size);
    if (real_.QueryValue(key, name, storedType, stored.data(), size) != kRegistrySuccess) return kRegistryFileNotFound;
    const bool same = std::equal(stored.begin(), stored.end(), data.begin(), data.end());
    return same ? kRegistrySuccess : kRegistryFileNotFound;
}

std::unique_ptr<ShortcutFile> CheckingShellLinks::CreateShortcut(const std::wstring& linkPath) {
    return std::make_unique<CheckedShortcut>(*this, linkPath);
}

bool CheckingShellLinks::InPlace(const std::wstring& linkPath, const ShortcutFields& wanted) {
    std::optional<ShortcutFields> there;
    try {
        there = real_.ReadShortcut(linkPath);
        if (!there && files_.FirstMatch(linkPath, EntryKinds::FoldersAndFiles).empty()) {
            return NotInPlace({L"missing: ", linkPath});
        }
    } catch (const AppError& error) {
        return NotInPlace({L"differs: ", linkPath, L": cannot be read: ", ErrorText(error)});
    }
    if (!there) return NotInPlace({L"differs: ", linkPath, L": not a shortcut"});
    const std::vector<FieldDifference> differing = Differences(*there, wanted);
    if (differing.empty()) {
        out_.Line(Joined({L"in place: ", linkPath}));
        return true;
    }
    for (const FieldDifference& d : differing) {
        out_.Line(Joined(
            {L"differs: ", linkPath, L": ", d.field, L" \"", d.there, L"\", should be \"", d.wanted, L"\""}));
    }
    ++tally_.notInPlace;
    return false;
}

bool CheckingShellLinks::NotInPlace(std::initializer_list<std::wstring_view> line) {
    out_.Line(Joined(line));
    ++tally_.notInPlace;
    return false;
}

}  // namespace zoriza
