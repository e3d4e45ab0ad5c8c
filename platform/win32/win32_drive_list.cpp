// The drive list: a drop-down of the machine's drives, "c: [label]".
#include <algorithm>

#include "platform/base/error.h"
#include "platform/base/text.h"
#include "platform/win32/current_folder.h"
#include "platform/win32/list_item_text.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_drives.h"
#include "platform/win32/win32_controls.h"

namespace zoriza {

namespace {

// A network drive shows the share it is mapped to, read from the local
// mapping: asking the server for its label could keep the window from
// opening while the server does not answer. The networking library is loaded
// only when there is a network drive, so that a start without one does not
// pay for it.
std::wstring NetworkName(const std::wstring& root) {
    using GetConnection = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
    const UniqueModule library = LoadSystemLibrary(L"mpr.dll");
    const auto getConnection = LookUp<GetConnection>(library.get(), "WNetGetConnectionW");
    if (getConnection == nullptr) return {};
    const std::wstring drive = root.substr(0, kDriveLength);
    // A buffer that is too small is answered with the length the name needs.
    std::wstring name(MAX_PATH + 1, L'\0');
    DWORD length = static_cast<DWORD>(name.size());
    DWORD status = getConnection(drive.c_str(), name.data(), &length);
    while (status == ERROR_MORE_DATA) {
        name.assign(length, L'\0');
        status = getConnection(drive.c_str(), name.data(), &length);
    }
    if (status != NO_ERROR) return {};
    name.resize(wcsnlen(name.c_str(), name.size()));
    return name;
}

// A volume label is at most MAX_PATH characters: the system cannot be asked
// for its length, and this is the size it documents.
std::wstring VolumeLabel(const std::wstring& root) {
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
        return {};
    }
    return label;
}

// Removable drives are not probed: one without a medium answers slowly.
std::wstring DriveLabel(const std::wstring& root) {
    switch (GetDriveTypeW(root.c_str())) {
        case DRIVE_FIXED:
        case DRIVE_RAMDISK: return VolumeLabel(root);
        case DRIVE_REMOTE: return NetworkName(root);
        default: return {};
    }
}

// "c: [System]", or "c:" for a drive without a label or one that is not probed.
std::wstring DriveEntry(const std::wstring& root, const std::wstring& label) {
    std::wstring entry = {static_cast<wchar_t>(towlower(root[0])), L':'};
    if (!label.empty()) entry += L" [" + label + L"]";
    return entry;
}

// The labels of all drives, asked in one request: they come from the local
// mapping and the local disks, so one wait is enough. Labels that have not
// come within the bound are left out.
std::vector<std::wstring> Labels(const std::vector<std::wstring>& roots, ServerRequests& requests) {
    try {
        return requests.Ask<std::vector<std::wstring>>(L"drive labels", [roots] {
            std::vector<std::wstring> labels;
            for (const std::wstring& root : roots) labels.push_back(DriveLabel(root));
            return labels;
        });
    } catch (const AppError&) {
        return {};
    }
}

}  // namespace

Win32DriveList::Win32DriveList(HWND handle, ServerRequests& requests) : handle_(handle) {
    std::vector<std::wstring> roots;
    for (const std::wstring& drive : LogicalDriveEntries()) roots.push_back(drive + L"\\");
    const std::vector<std::wstring> labels = Labels(roots, requests);
    for (std::size_t i = 0; i < roots.size(); ++i) {
        const std::wstring entry = DriveEntry(roots[i], i < labels.size() ? labels[i] : std::wstring());
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    const int index = IndexOf(CurrentFolder());
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(std::max(index, 0)), 0);
}

std::int16_t Win32DriveList::ListCount() const {
    return static_cast<std::int16_t>(SendMessageW(handle_, CB_GETCOUNT, 0, 0));
}

std::wstring Win32DriveList::List(std::int16_t index) const {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    return ItemText(handle_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

std::wstring Win32DriveList::Drive() const {
    const LRESULT index = SendMessageW(handle_, CB_GETCURSEL, 0, 0);
    return index < 0 ? std::wstring() : ItemText(handle_, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<int>(index));
}

int Win32DriveList::IndexOf(const std::wstring& text) const {
    for (std::int16_t i = 0; i < ListCount(); ++i) {
        if (DriveKey(List(i)) == DriveKey(text)) return i;
    }
    return -1;
}

void Win32DriveList::SetDrive(const std::wstring& text) {
    const int index = IndexOf(text);
    if (index < 0) throw AppError(kDeviceUnavailable, L"Device unavailable");
    if (index == SendMessageW(handle_, CB_GETCURSEL, 0, 0)) return;
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (onChange_) onChange_();
}

void Win32DriveList::ShowDrive(const std::wstring& text) {
    const int index = IndexOf(text);
    if (index >= 0) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace zoriza
