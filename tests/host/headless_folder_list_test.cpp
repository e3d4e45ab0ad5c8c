// The folder list without a window: what it accepts, how it shows a path, and
// the errors it gives for what it refuses, each checked through the file system.
#include <gtest/gtest.h>

#include <optional>

#include "platform/base/error.h"
#include "platform/headless/headless_folder_list.h"
#include "tests/memory_platform/memory_file_system.h"

namespace zoriza::testing {
namespace {

class HeadlessFolderListTest : public ::testing::Test {
protected:
    HeadlessFolderListTest() {
        files.AddDrive(L"C:");
        files.AddDrive(L"F:");
        files.AddDrive(L"N:");
        files.AddFolder(L"C:\\Work");
        files.AddFolder(L"F:\\VekPro\\IMATGES");
        files.AddFile(L"F:\\VekPro\\VEKBIN.BAT");
        files.AddFolder(L"F:\\Locked");
        files.DenyAccess(L"F:\\Locked");
        files.SetDriveReady(L"N:", false);
    }

    MemoryFileSystem files;
};

TEST_F(HeadlessFolderListTest, StartsOnItsFolderOrWithoutAPath) {
    EXPECT_EQ(HeadlessFolderList(files, L"c:\\Work\\").Path(), L"C:\\Work");
    EXPECT_EQ(HeadlessFolderList(files, L"C:\\Gone").Path(), L"");
    EXPECT_EQ(HeadlessFolderList(files, L"\\\\server\\share").Path(), L"");
}

TEST_F(HeadlessFolderListTest, ShowsEachFolderAsTheWindowsListDoes) {
    struct Case {
        const wchar_t* given;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"F:\\VekPro", L"F:\\VekPro"},
        {L"f:\\VekPro\\", L"F:\\VekPro"},
        {L"F:\\\\VekPro\\\\IMATGES", L"F:\\VekPro\\IMATGES"},
        {L"F:\\", L"F:\\"},
        {L"f:", L"F:\\"},
        {L"F:VekPro", L"F:\\VekPro"},
        {L"F:\\VekPro\\.\\IMATGES\\..", L"F:\\VekPro"},
        {L"F:\\..\\VekPro", L"F:\\VekPro"},
    };
    for (const Case& c : cases) {
        HeadlessFolderList list(files, L"C:\\Work");
        list.SetPath(c.given);
        EXPECT_EQ(list.Path(), c.shown) << c.given;
    }
}

// As in the window, only while that folder is still there: one that has
// gone since gives the drive's root.
TEST_F(HeadlessFolderListTest, ABareDriveReturnsToTheFolderLastShownOnItWhileItIsThere) {
    HeadlessFolderList list(files, L"C:\\Work");
    list.SetPath(L"F:\\VekPro\\IMATGES");
    list.SetPath(L"C:");
    EXPECT_EQ(list.Path(), L"C:\\Work");
    list.SetPath(L"F:");
    EXPECT_EQ(list.Path(), L"F:\\VekPro\\IMATGES");
    list.SetPath(L"F:..");  // relative to the folder last shown on the drive
    EXPECT_EQ(list.Path(), L"F:\\VekPro");
    list.SetPath(L"F:\\VekPro\\IMATGES");
    list.SetPath(L"C:");
    files.Remove(L"F:\\VekPro\\IMATGES");
    list.SetPath(L"F:");
    EXPECT_EQ(list.Path(), L"F:\\");
}

TEST_F(HeadlessFolderListTest, RefusesWhatItCannotShowAndStaysWhereItWas) {
    struct Case {
        const wchar_t* given;
        std::int32_t error;
    };
    const Case cases[] = {
        {L"F:\\Missing", kPathNotFound},
        {L"F:\\VekPro\\VEKBIN.BAT", kPathNotFound},  // a file, not a folder
        {L"F:\\VekPro\\Deeper", kPathNotFound},
        {L"F:\\Locked", kPathFileAccessError},
        {L"N:\\", kDeviceUnavailable},
        {L"N:\\VekPro", kDeviceUnavailable},
        {L"\\\\server\\share\\VekPro", kPathNotFound},
        {L"VekPro", kPathNotFound},
        {L"", kPathNotFound},
    };
    for (const Case& c : cases) {
        HeadlessFolderList list(files, L"C:\\Work");
        std::optional<std::int32_t> thrown;
        try {
            list.SetPath(c.given);
        } catch (const AppError& error) {
            thrown = error.Number();
        }
        EXPECT_EQ(thrown, c.error) << c.given;
        EXPECT_EQ(list.Path(), L"C:\\Work") << c.given;
    }
}

TEST_F(HeadlessFolderListTest, RefreshFindsAFolderThatHasGone) {
    HeadlessFolderList list(files, L"F:\\VekPro\\IMATGES");
    list.Refresh();
    files.Remove(L"F:\\VekPro\\IMATGES");
    EXPECT_THROW(list.Refresh(), AppError);
}

}  // namespace
}  // namespace zoriza::testing
