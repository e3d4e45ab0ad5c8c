// The server folder: the folder list follows the drive list, and the scan
// looks on every drive for the edition's folder holding its launcher.
#include "main_window/main_window.h"
#include "main_window/wait_cursor.h"
#include "platform/base/text.h"

namespace zoriza {

void Form1::Drive1_Change() {
    try {
        c_.Dir1.SetPath(c_.Drive1.Drive().substr(0, kDriveLength));
    } catch (const AppError&) {
        // A drive whose folder cannot be shown leaves both lists as they were.
        c_.Drive1.ShowDrive(c_.Dir1.Path());
        throw;
    }
}

// The drives are looked up together, so that drives whose server does not
// answer cost one wait between them; the first drive in the list's order that
// holds the launcher wins, and a drive that cannot be read holds nothing.
void Form1::Search_Click() {
    const WaitCursor busy(c_.form);
    const LaunchTarget target = CurrentLaunchTarget();
    std::vector<std::wstring> drives;
    std::vector<std::wstring> launchers;
    for (std::int16_t i = 0; i < c_.Drive1.ListCount(); ++i) {
        drives.push_back(DriveKey(c_.Drive1.List(i)));
        launchers.push_back(drives.back() + L"\\" + target.AppCode + L"\\" + target.BatchFile);
    }
    const std::size_t found = services_.files.FirstHolding(launchers, EntryKinds::NormalFiles);
    if (found == drives.size()) {
        observer_->ScanFoundNothing(target.AppCode + L"\\" + target.BatchFile);
        ShowNotFound(target.AppCode + L"\\" + target.BatchFile);
        return;
    }
    c_.Drive1.SetDrive(drives[found]);
    c_.Dir1.SetPath(drives[found] + L"\\" + target.AppCode);
    c_.Dir1.Refresh();
}

}  // namespace zoriza
