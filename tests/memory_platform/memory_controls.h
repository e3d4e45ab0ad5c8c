// The window toolkit held in memory, for tests of the form's handlers: the
// controls keep their state, raise their events synchronously and reject
// invalid values with the same error numbers as the real ones.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/headless/headless_controls.h"
#include "tests/memory_platform/memory_file_system.h"
#include "platform/window_toolkit.h"

namespace zoriza {

// The value-holding controls are the program's own headless ones; the list box
// and the drive list add what only a test asks of them.
using MemoryCaption = HeadlessCaption;
using MemoryOptionGroup = HeadlessOptionGroup;
using MemoryCheckBox = HeadlessCheckBox;
using MemoryWindow = HeadlessWindow;

class MemoryListBox : public HeadlessListBox {
public:
    using HeadlessListBox::HeadlessListBox;
    // A user's selection: the same path as the real list's notification.
    void Click(std::int16_t index) { SetListIndex(index); }
};

class MemoryDriveList : public HeadlessDriveList {
public:
    MemoryDriveList(std::vector<std::wstring> entries, const std::wstring& currentDrive);
    void OnChange(EventHandler handler) override;
    int ChangesRaised() const { return changes_; }

private:
    int changes_ = 0;
};

class MemoryFolderList : public FolderList {
public:
    MemoryFolderList(const MemoryFileSystem& files, std::wstring path);
    std::wstring Path() const override { return path_; }
    void SetPath(const std::wstring& path) override;
    void Refresh() override { ++refreshes_; }
    // The folder a drive shows when the list moves to it ("F:" alone).
    void SetDriveFolder(const std::wstring& drive, const std::wstring& folder);
    int Refreshes() const { return refreshes_; }

private:
    const MemoryFileSystem& files_;
    std::wstring path_;
    std::map<std::wstring, std::wstring> driveFolders_;
    int refreshes_ = 0;
};

}  // namespace zoriza
