// The server folder: the folder list follows the drive list, and the scan
// looks on every drive for the edition's folder holding its launcher.
#include "localisation/catalogue.h"
#include "main_window/main_window.h"
#include "main_window/wait_cursor.h"
#include "platform/base/text.h"

namespace zoriza {

namespace {

constexpr std::size_t kDriveLength = 2;  // "F:"

}  // namespace

void Form1::Drive1_Change() {
    try {
        c_.Dir1.SetPath(c_.Drive1.Drive().substr(0, kDriveLength));
    } catch (const AppError&) {
        // A drive whose folder cannot be shown leaves both lists as they were.
        c_.Drive1.ShowDrive(c_.Dir1.Path());
        throw;
    }
}

LaunchTarget Form1::CurrentLaunchTarget() const {
    return ResolveLaunchTarget(c_.App.ListIndex(), c_.Dir1.Path(), c_.Platform.Value(0));
}

bool Form1::IsNormalFile(const std::wstring& path) {
    return !services_.files.FirstMatch(path, EntryKinds::NormalFiles).empty();
}

// A drive that cannot be read counts as a drive without the file.
bool Form1::DriveHolds(const std::wstring& candidate) {
    try {
        return IsNormalFile(candidate);
    } catch (const AppError&) {
        return false;
    }
}

void Form1::ShowNotFound(const std::wstring& text) {
    c_.form.ShowMessage(c_.App.Text() + L"\r\n\r\n" + text, Translate(L"NO S'HA TROBAT"),
                        MessageIcon::Error);
}

void Form1::Search_Click() {
    const WaitCursor busy(c_.form);
    const LaunchTarget target = CurrentLaunchTarget();
    const std::int16_t count = c_.Drive1.ListCount();
    std::int16_t i = 0;
    for (; i < count; ++i) {
        const std::wstring drive = AsciiUpper(c_.Drive1.List(i).substr(0, kDriveLength));
        if (DriveHolds(drive + L"\\" + target.AppCode + L"\\" + target.BatchFile)) {
            c_.Drive1.SetDrive(drive);
            c_.Dir1.SetPath(drive + L"\\" + target.AppCode);
            c_.Dir1.Refresh();
            break;
        }
    }
    if (c_.Drive1.ListCount() == i) {
        observer_->ScanFoundNothing(target.AppCode + L"\\" + target.BatchFile);
        ShowNotFound(target.AppCode + L"\\" + target.BatchFile);
    }
}

}  // namespace zoriza
