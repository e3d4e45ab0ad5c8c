// What the drive and folder lists show, as the tests of the server folder
// read them from the running program.
#pragma once

#include <cwctype>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace zoriza::e2e {

// What the two lists show: the drive entry chosen and the folder entries,
// with the one selected.
struct Lists {
    std::wstring drive;
    std::vector<std::wstring> folders;
    int selected = -1;
};

inline Lists Read(const RunningProgram& program) {
    Lists lists;
    lists.drive = program.ListText(ControlId::Drive1, program.ListIndex(ControlId::Drive1));
    for (int i = 0; i < program.ListCount(ControlId::Dir1); ++i) {
        lists.folders.push_back(program.ListText(ControlId::Dir1, i));
    }
    lists.selected = program.ListIndex(ControlId::Dir1);
    return lists;
}

// The lists as the scan leaves them on `letter`: the drive chosen, its root
// then its VekPro folder, that one selected.
inline bool ShowsEditionFolderOn(const Lists& lists, wchar_t letter) {
    const std::wstring root = {static_cast<wchar_t>(std::towupper(letter)), L':', L'\\'};
    return lists.drive.substr(0, 2) == std::wstring{letter, L':'} && lists.folders.size() >= 2 &&
           lists.folders[0] == root && lists.folders[1] == L"  VekPro" && lists.selected == 1;
}

inline std::wstring Describe(const Lists& lists) {
    std::wstring text = L"drive \"" + lists.drive + L"\", folders";
    for (std::size_t i = 0; i < lists.folders.size(); ++i) {
        text += static_cast<int>(i) == lists.selected ? L" *\"" : L" \"";
        text += lists.folders[i] + L"\"";
    }
    return text;
}

// The drives the program lists are the logical drives of this prefix.
inline bool HasDrive(wchar_t letter) { return (GetLogicalDrives() >> (letter - L'a') & 1) != 0; }

}  // namespace zoriza::e2e
