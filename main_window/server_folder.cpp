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
// Local disks come first in that order, and any signed-in user may make a
// folder at a local disk's root: a folder another user made is passed over,
// or that user would choose what this one (or, for every user, everyone) runs.
void Form1::Search_Click() {
    const ScanOutcome outcome = [this] {
        const WaitCursor busy(c_.form);
        return Scan();
    }();
    if (!outcome.found) ShowNotFound(outcome.candidate);
}

ScanOutcome Form1::Scan() {
    const LaunchTarget target = CurrentLaunchTarget();
    ScanOutcome outcome;
    outcome.candidate = target.AppCode + L"\\" + target.BatchFile;
    std::vector<std::wstring> drives;
    std::vector<std::wstring> launchers;
    for (std::int16_t i = 0; i < c_.Drive1.ListCount(); ++i) {
        drives.push_back(DriveKey(c_.Drive1.List(i)));
        launchers.push_back(drives.back() + L"\\" + outcome.candidate);
    }
    const std::size_t found = FirstTrustedHolding(drives, launchers, target.AppCode, outcome.passedOver);
    if (found == drives.size()) return outcome;
    c_.Drive1.SetDrive(drives[found]);
    c_.Dir1.SetPath(drives[found] + L"\\" + target.AppCode);
    c_.Dir1.Refresh();
    outcome.found = c_.Dir1.Path();
    return outcome;
}

std::size_t Form1::FirstTrustedHolding(const std::vector<std::wstring>& drives,
                                       const std::vector<std::wstring>& launchers, const std::wstring& appCode,
                                       std::vector<std::wstring>& passedOver) {
    std::size_t start = 0;
    while (start < launchers.size()) {
        const std::vector<std::wstring> rest(launchers.begin() + static_cast<std::ptrdiff_t>(start), launchers.end());
        const std::size_t found = start + services_.files.FirstHolding(rest, EntryKinds::NormalFiles);
        if (found == launchers.size()) return found;
        const std::wstring folder = drives[found] + L"\\" + appCode;
        if (!services_.files.MadeByAnotherUser(folder)) return found;
        passedOver.push_back(folder);
        start = found + 1;
    }
    return launchers.size();
}

}  // namespace zoriza
