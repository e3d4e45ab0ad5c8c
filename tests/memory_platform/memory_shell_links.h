// The Shell's shortcut objects held in memory: saved shortcuts land as files
// in a memory file system, and every field set is recorded in order. A
// shortcut saved before is loaded when it is created again.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/memory_platform/memory_file_system.h"
#include "platform/shell_links.h"

namespace zoriza {

struct SavedShortcut {
    std::wstring targetPath;
    std::int16_t windowStyle = 0;
    std::wstring hotkey;
    std::wstring iconLocation;
    std::wstring description;
    std::wstring arguments;
    std::wstring workingDirectory;
    int fieldsSet = 0;
    std::wstring appUserModelId;

    bool operator==(const SavedShortcut&) const = default;
};

class MemoryShellLinks : public ShellLinks {
public:
    MemoryShellLinks(MemoryFileSystem& files, std::wstring desktop, std::wstring programs);

    std::wstring FolderPath(SpecialFolder folder) override;
    std::unique_ptr<ShortcutFile> CreateShortcut(const std::wstring& linkPath) override;
    std::optional<ShortcutFields> ReadShortcut(const std::wstring& linkPath) override;
    void NotifyChanged(ShellChange change, const std::wstring& path) override;

    void FailSaving(const std::wstring& linkPath) { failing_.insert(linkPath); }
    const std::map<std::wstring, SavedShortcut>& Saved() const { return saved_; }
    // Every call in order: "Create <path>", "Load <path>" for a shortcut that
    // is there, "TargetPath", ..., "Save".
    const std::vector<std::wstring>& Calls() const { return calls_; }
    std::vector<std::wstring> SavedInOrder() const { return savedOrder_; }
    struct Notice {
        ShellChange change;
        std::wstring path;
        bool operator==(const Notice&) const = default;
    };
    const std::vector<Notice>& Notices() const { return notices_; }

private:
    friend class MemoryShortcutFile;
    void Store(const std::wstring& linkPath, const SavedShortcut& shortcut);
    const SavedShortcut* SavedThere(const std::wstring& linkPath);

    MemoryFileSystem& files_;
    std::wstring desktop_;
    std::wstring programs_;
    std::set<std::wstring> failing_;
    std::map<std::wstring, SavedShortcut> saved_;
    std::vector<std::wstring> calls_;
    std::vector<std::wstring> savedOrder_;
    std::vector<Notice> notices_;
};

}  // namespace zoriza
