#include "unattended/server_folder_spelling.h"

#include <vector>

#include "localisation/catalogue.h"
#include "main_window/shortcut_plan.h"
#include "platform/base/error.h"
#include "platform/base/text.h"
#include "platform/file_system.h"

namespace zoriza {

namespace {

bool IsDotOrDots(const std::wstring& part) { return part == L"." || part == L".."; }

// Windows drops a name's trailing dots and blanks: "VekPro. " is "VekPro".
std::wstring WithoutTrailingDotsOrBlanks(std::wstring part) {
    while (!part.empty() && (part.back() == L'.' || part.back() == L' ')) part.pop_back();
    return part;
}

// The parts from the root down, "." and ".." resolved, each as Windows reads it.
std::vector<std::wstring> ResolvedParts(const std::wstring& folder) {
    std::vector<std::wstring> resolved = ResolvedPathParts(folder);
    for (std::wstring& part : resolved) part = WithoutTrailingDotsOrBlanks(part);
    return resolved;
}

// Whether every shortcut's target, working folder and icon of every edition
// and platform fit the Windows path limit with `folder` as the server folder.
bool HoldsThePlan(const std::wstring& folder) {
    for (std::size_t edition = 0; edition < kEditionCaptions.size(); ++edition) {
        for (const bool sixteenBit : {false, true}) {
            const LaunchTarget target = ResolveLaunchTarget(static_cast<std::int16_t>(edition), folder, sixteenBit);
            for (const PlannedShortcut& planned : ShortcutPlan(target, L"", false)) {
                const std::wstring working = WorkingFolderOf(planned.target);
                if (!PathTooLong({L"", planned.target, working, working + L"\\" + planned.iconPath}).empty()) {
                    return false;
                }
            }
        }
    }
    return true;
}

}  // namespace

std::wstring MalformedServerFolder(const std::wstring& folder) {
    if (folder.find_first_of(L"*?") != std::wstring::npos) return L"a folder has no wildcards";
    for (const std::wstring& part : PathParts(folder)) {
        if (!IsDotOrDots(part) && WithoutTrailingDotsOrBlanks(part).empty()) {
            return Joined({L"\"", part, L"\" names no folder"});
        }
    }
    if (!HoldsThePlan(folder)) {
        return L"too long: the shortcuts' targets and icons in it would pass the Windows path limit";
    }
    return {};
}

std::wstring AsTheDiskSpellsIt(FileSystem& files, const std::wstring& folder) {
    if (folder.size() == kDriveLength) return folder;  // the folder last shown on that drive
    std::wstring spelled = AsciiUpper(folder.substr(0, kDriveLength));
    bool onDisk = true;
    for (const std::wstring& part : ResolvedParts(folder)) {
        const std::wstring path = Joined({spelled, L"\\", part});
        std::wstring name;
        try {
            if (onDisk) name = files.FirstMatch(path, EntryKinds::AnyFolder);
        } catch (const AppError&) {
            // The folder list says why it cannot be read.
        }
        onDisk = !name.empty();
        spelled = Joined({spelled, L"\\", onDisk ? name : part});
    }
    return spelled.size() == kDriveLength ? spelled + L"\\" : spelled;
}

}  // namespace zoriza
