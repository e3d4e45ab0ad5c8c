#include "tests/memory_platform/memory_shell_links.h"

#include <optional>

#include "platform/base/error.h"

namespace zoriza {

namespace {

constexpr std::int32_t kAccessDenied = static_cast<std::int32_t>(0x80070005);

}  // namespace

class MemoryShortcutFile : public ShortcutFile {
public:
    MemoryShortcutFile(MemoryShellLinks& shell, std::wstring linkPath, const SavedShortcut* existing)
        : shell_(shell), linkPath_(std::move(linkPath)) {
        if (existing == nullptr) return;
        loaded_ = *existing;
        loaded_->fieldsSet = 0;
        fields_ = *loaded_;
    }

    void SetTargetPath(const std::wstring& path) override { Set(L"TargetPath", fields_.targetPath, path); }
    void SetWindowStyle(std::int16_t showCommand) override {
        shell_.calls_.push_back(L"WindowStyle");
        fields_.windowStyle = showCommand;
        ++fields_.fieldsSet;
    }
    void SetHotkey(const std::wstring& hotkey) override { Set(L"Hotkey", fields_.hotkey, hotkey); }
    void SetIconLocation(const std::wstring& location) override {
        Set(L"IconLocation", fields_.iconLocation, location);
    }
    void SetDescription(const std::wstring& text) override { Set(L"Description", fields_.description, text); }
    void SetArguments(const std::wstring& arguments) override {
        Set(L"Arguments", fields_.arguments, arguments);
    }
    void SetWorkingDirectory(const std::wstring& folder) override {
        Set(L"WorkingDirectory", fields_.workingDirectory, folder);
    }
    void SetAppUserModelId(const std::wstring& id) override {
        shell_.calls_.push_back(L"AppUserModelId");
        fields_.appUserModelId = id;
    }
    bool Save() override {
        shell_.calls_.push_back(L"Save");
        if (loaded_ && SameFields(*loaded_, fields_)) return false;
        shell_.Store(linkPath_, fields_);
        return true;
    }

private:
    void Set(const wchar_t* field, std::wstring& slot, const std::wstring& value) {
        shell_.calls_.push_back(field);
        slot = value;
        ++fields_.fieldsSet;
    }

    static bool SameFields(SavedShortcut a, SavedShortcut b) {
        a.fieldsSet = b.fieldsSet = 0;
        return a == b;
    }

    MemoryShellLinks& shell_;
    std::wstring linkPath_;
    SavedShortcut fields_;
    std::optional<SavedShortcut> loaded_;
};

MemoryShellLinks::MemoryShellLinks(MemoryFileSystem& files, std::wstring desktop, std::wstring programs)
    : files_(files), desktop_(std::move(desktop)), programs_(std::move(programs)) {}

std::wstring MemoryShellLinks::FolderPath(SpecialFolder folder) {
    return folder == SpecialFolder::Desktop ? desktop_ : programs_;
}

std::unique_ptr<ShortcutFile> MemoryShellLinks::CreateShortcut(const std::wstring& linkPath) {
    calls_.push_back(L"Create " + linkPath);
    // The shortcut there is opened; a file there that is no shortcut is not.
    const SavedShortcut* existing = SavedThere(linkPath);
    if (existing != nullptr) calls_.push_back(L"Load " + linkPath);
    return std::make_unique<MemoryShortcutFile>(*this, linkPath, existing);
}

// What was last saved at that path while the file is there.
const SavedShortcut* MemoryShellLinks::SavedThere(const std::wstring& linkPath) {
    try {
        if (files_.FirstMatch(linkPath, EntryKinds::NormalFiles).empty()) return nullptr;
    } catch (const AppError&) {
        return nullptr;
    }
    const auto saved = saved_.find(linkPath);
    return saved == saved_.end() ? nullptr : &saved->second;
}

std::optional<ShortcutFields> MemoryShellLinks::ReadShortcut(const std::wstring& linkPath) {
    const SavedShortcut* saved = SavedThere(linkPath);
    if (saved == nullptr) return std::nullopt;
    // Any hotkey set counts as a key.
    return ShortcutFields{saved->targetPath,  saved->windowStyle,      saved->hotkey.empty() ? std::uint16_t{0} : std::uint16_t{1},
                          saved->iconLocation, 0, saved->description, saved->arguments,
                          saved->workingDirectory, saved->appUserModelId};
}

void MemoryShellLinks::NotifyChanged(ShellChange change, const std::wstring& path) {
    notices_.push_back({change, path});
}

void MemoryShellLinks::Store(const std::wstring& linkPath, const SavedShortcut& shortcut) {
    if (failing_.count(linkPath) != 0) throw AppError(kAccessDenied, L"Access denied.");
    const std::wstring folder = linkPath.substr(0, linkPath.rfind(L'\\'));
    if (!files_.FolderExists(folder)) throw AppError(static_cast<std::int32_t>(0x80070003), L"The system cannot find the path specified.");
    files_.CheckReadable(linkPath);
    files_.AddFile(linkPath);
    saved_[linkPath] = shortcut;
    savedOrder_.push_back(linkPath);
}

}  // namespace zoriza
