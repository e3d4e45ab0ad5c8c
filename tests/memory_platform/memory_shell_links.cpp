#include "tests/memory_platform/memory_shell_links.h"

#include "platform/base/error.h"

namespace zoriza {

namespace {

constexpr std::int32_t kAccessDenied = static_cast<std::int32_t>(0x80070005);

}  // namespace

class MemoryShortcutFile : public ShortcutFile {
public:
    MemoryShortcutFile(MemoryShellLinks& shell, std::wstring linkPath)
        : shell_(shell), linkPath_(std::move(linkPath)) {}

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
    void Save() override {
        shell_.calls_.push_back(L"Save");
        shell_.Store(linkPath_, fields_);
    }

private:
    void Set(const wchar_t* field, std::wstring& slot, const std::wstring& value) {
        shell_.calls_.push_back(field);
        slot = value;
        ++fields_.fieldsSet;
    }

    MemoryShellLinks& shell_;
    std::wstring linkPath_;
    SavedShortcut fields_;
};

MemoryShellLinks::MemoryShellLinks(MemoryFileSystem& files, std::wstring desktop, std::wstring programs)
    : files_(files), desktop_(std::move(desktop)), programs_(std::move(programs)) {}

std::wstring MemoryShellLinks::FolderPath(SpecialFolder folder) {
    return folder == SpecialFolder::Desktop ? desktop_ : programs_;
}

std::unique_ptr<ShortcutFile> MemoryShellLinks::CreateShortcut(const std::wstring& linkPath) {
    calls_.push_back(L"Create " + linkPath);
    return std::make_unique<MemoryShortcutFile>(*this, linkPath);
}

// A shortcut read back: what was last saved at that path while the file is there.
std::wstring MemoryShellLinks::TargetOf(const std::wstring& linkPath) {
    try {
        if (files_.FirstMatch(linkPath, EntryKinds::NormalFiles).empty()) return {};
    } catch (const AppError&) {
        return {};
    }
    const auto saved = saved_.find(linkPath);
    return saved == saved_.end() ? std::wstring() : saved->second.targetPath;
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
