// A shortcut on disk against its line in a table of expected shortcuts: every
// field, read back through the Shell's link object and the file's header.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/e2e_support.h"
#include "tests/shared/worked_example.h"

namespace zoriza::e2e {

inline void ExpectLink(const std::wstring& path, const expected::ExpectedShortcut& e) {
    ASSERT_TRUE(FileExists(path)) << path;
    const LinkFields link = ReadLink(path);
    EXPECT_EQ(link.target, e.target) << path;
    EXPECT_EQ(link.iconLocation, e.icon) << path;
    EXPECT_EQ(link.iconIndex, 0) << path;
    EXPECT_EQ(link.arguments, e.arguments) << path;
    EXPECT_EQ(link.workingDirectory, e.workingFolder) << path;
    EXPECT_EQ(link.description, L"") << path;
    EXPECT_EQ(link.hotkey, 0) << path;
    EXPECT_EQ(link.showCommand, static_cast<DWORD>(e.showCommand)) << path;
}

// Where the create command writes an expected shortcut: the user's Desktop or Programs.
inline std::wstring LinkPath(const expected::ExpectedShortcut& e) {
    return (e.folder == expected::LinkFolder::Desktop ? DesktopFolder() : ProgramsFolder()) + L"\\" + e.name + L".lnk";
}

inline void ExpectLinks(const auto& shortcuts) {
    for (const expected::ExpectedShortcut& e : shortcuts) ExpectLink(LinkPath(e), e);
}

}  // namespace zoriza::e2e
