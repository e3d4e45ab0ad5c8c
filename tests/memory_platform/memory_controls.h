// The window toolkit held in memory, for tests of the form's handlers: the
// controls keep their state, raise their events synchronously and reject
// invalid values with the same error numbers as the real ones.
#pragma once

#include <string>
#include <vector>

#include "platform/headless/headless_controls.h"
#include "platform/headless/headless_folder_list.h"
#include "platform/window_toolkit.h"

namespace zoriza {

// The value-holding controls and the folder list are the program's own
// headless ones; the list box and the drive list add what only a test asks of
// them.
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

// The program's own folder list over the memory file system, counting the
// times the form has it read its folder again.
class CountingFolderList : public HeadlessFolderList {
public:
    using HeadlessFolderList::HeadlessFolderList;
    void Refresh() override {
        ++refreshes_;
        HeadlessFolderList::Refresh();
    }
    int Refreshes() const { return refreshes_; }

private:
    int refreshes_ = 0;
};

}  // namespace zoriza
