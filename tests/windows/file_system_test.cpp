// Finding entries and making folders on real files of the prefix's C: drive:
// the attributes that hide an entry, folder listings and the error numbers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/unattended_output.h"
#include "platform/base/error.h"
#include "platform/win32/win32_file_system.h"
#include "tests/e2e/e2e_support.h"

namespace zoriza {
namespace {

using e2e::RemoveTree;

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        ASSERT_EQ(towupper(temp[0]), L'C');
        dir = std::wstring(temp) + L"zoriza-files-" + std::to_wstring(GetCurrentProcessId());
        rootFile = L"C:\\zoriza-root-" + std::to_wstring(GetCurrentProcessId()) + L".bat";
        RemoveTree(dir);
        ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((dir + L"\\sub").c_str(), nullptr));
        MakeFile(dir + L"\\VEKBIN.BAT");
        MakeFile(dir + L"\\Gesti\u00f3.bat");
        MakeFile(dir + L"\\hidden.bat", FILE_ATTRIBUTE_HIDDEN);
        MakeFile(dir + L"\\system.bat", FILE_ATTRIBUTE_SYSTEM);
        MakeFile(dir + L"\\sub\\inner.bat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        MakeFile(rootFile);
    }
    void TearDown() override {
        RemoveTree(dir);
        RemoveTree(rootFile);
    }

    static void MakeFile(const std::wstring& path, DWORD attributes = 0) {
        const UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file) << path;
        if (attributes != 0) {
            ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes)) << path;
            ASSERT_EQ(GetFileAttributesW(path.c_str()) & attributes, attributes) << path;
        }
    }

    // FirstMatch, with an error reported as a failure of the case at hand.
    std::wstring Find(const std::wstring& path, EntryKinds kinds) {
        try {
            return files.FirstMatch(path, kinds);
        } catch (const AppError& error) {
            ADD_FAILURE() << path << L": error " << error.Number() << L" " << error.Description();
            return L"<error>";
        }
    }

    static bool IsFolder(const std::wstring& path) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    ServerRequests requests;
    Win32FileSystem files{requests};
    std::wstring dir;
    std::wstring rootFile;
};

TEST_F(FileSystemTest, FirstMatchFindsOnlyTheKindsAskedFor) {
    constexpr auto kFiles = EntryKinds::NormalFiles;
    constexpr auto kAll = EntryKinds::FoldersAndFiles;
    const struct {
        std::wstring path;
        EntryKinds kinds;
        std::wstring expected;
    } cases[] = {
        {dir + L"\\VEKBIN.BAT", kFiles, L"VEKBIN.BAT"},
        {dir + L"\\vekbin.bat", kFiles, L"VEKBIN.BAT"},  // the name as stored
        {dir + L"\\Gesti\u00f3.bat", kFiles, L"Gesti\u00f3.bat"},
        {dir + L"\\missing.bat", kFiles, L""},
        {dir + L"\\missing\\VEKBIN.BAT", kAll, L""},
        {dir + L"\\hidden.bat", kFiles, L""},
        {dir + L"\\hidden.bat", kAll, L""},
        {dir + L"\\system.bat", kFiles, L""},
        {dir + L"\\system.bat", kAll, L""},
        {dir + L"\\sub", kFiles, L""},
        {dir + L"\\sub", kAll, L"sub"},
        {dir + L"\\s*.bat", kFiles, L""},  // hidden.bat and system.bat only
        {dir + L"\\V*.BAT", kAll, L"VEKBIN.BAT"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Find(c.path, c.kinds), c.expected)
            << c.path << (c.kinds == kAll ? L" (folders too)" : L"");
    }
}

TEST_F(FileSystemTest, APathEndingInABackslashListsTheFolder) {
    EXPECT_NE(Find(dir + L"\\", EntryKinds::FoldersAndFiles), L"");
    EXPECT_NE(Find(dir + L"\\sub\\", EntryKinds::FoldersAndFiles), L"");
    EXPECT_NE(Find(L"C:\\", EntryKinds::FoldersAndFiles), L"");
    // sub holds only a hidden system file; its own "." and ".." are folders.
    EXPECT_EQ(Find(dir + L"\\sub\\", EntryKinds::NormalFiles), L"");
    EXPECT_EQ(Find(dir + L"\\missing\\", EntryKinds::FoldersAndFiles), L"");
    // Past ".", "..", sub, hidden.bat and system.bat to one of the two normal files.
    const std::wstring first = Find(dir + L"\\", EntryKinds::NormalFiles);
    EXPECT_TRUE(first == L"VEKBIN.BAT" || first == L"Gesti\u00f3.bat") << first;
}

TEST_F(FileSystemTest, APathThroughAFileEndingInABackslashFindsNothing) {
    EXPECT_EQ(Find(dir + L"\\VEKBIN.BAT\\", EntryKinds::FoldersAndFiles), L"");
    EXPECT_EQ(Find(dir + L"\\VEKBIN.BAT\\", EntryKinds::NormalFiles), L"");
}

TEST_F(FileSystemTest, ADoubledBackslashAfterADriveRootFindsTheFile) {
    const std::wstring name = rootFile.substr(3);
    EXPECT_EQ(Find(L"C:\\" + std::wstring(L"\\") + name, EntryKinds::NormalFiles), name);
    EXPECT_EQ(Find(L"C:\\\\missing.bat", EntryKinds::NormalFiles), L"");
}

// Whether the scan may take a folder, by its owner: C:\\zoriza-other-user is
// another Unix user's (see setup-other-users-folder.sh), the test's own
// folders are this user's, and a folder whose owner cannot be read is
// trusted by nobody.
TEST_F(FileSystemTest, MadeByAnotherUserByTheFoldersOwner) {
    const std::pair<std::wstring, bool> cases[] = {
        {dir, false},
        {dir + L"\\sub", false},
        {L"C:\\zoriza-other-user", true},
        {L"C:\\zoriza-no-such-folder", true},
    };
    for (const auto& [folder, another] : cases) EXPECT_EQ(files.MadeByAnotherUser(folder), another) << folder;
}

// A log named on the command line goes on appending; a log of the run's own
// never opens a file that was there before it, and leaves its bytes alone.
TEST_F(FileSystemTest, ALogOfItsOwnNeverOpensAFileThatWasThere) {
    const std::wstring path = dir + L"\\VEKBIN.BAT";  // made by SetUp, empty
    EXPECT_THROW(LogFile(path, LogOpening::New), AppError);
    EXPECT_EQ(e2e::FileBytes(path), "");
    { LogFile appended(path, LogOpening::Append); }
    EXPECT_NE(e2e::FileBytes(path), "");
    const std::wstring fresh = dir + L"\\fresh.log";
    { LogFile created(fresh, LogOpening::New); }
    EXPECT_NE(e2e::FileBytes(fresh), "");
}

TEST_F(FileSystemTest, MakeFolderCreatesOneLevel) {
    files.MakeFolder(dir + L"\\VekPro");
    EXPECT_TRUE(IsFolder(dir + L"\\VekPro"));
    files.MakeFolder(dir + L"\\VekPro\\Gesti\u00f3");
    EXPECT_EQ(files.FirstMatch(dir + L"\\VekPro\\Gesti\u00f3", EntryKinds::FoldersAndFiles), L"Gesti\u00f3");
}

TEST_F(FileSystemTest, MakeFolderFailuresCarryTheirNumbers) {
    const std::pair<std::wstring, std::int32_t> cases[] = {
        {dir + L"\\sub", kPathFileAccessError},          // already there
        {dir + L"\\VEKBIN.BAT", kPathFileAccessError},   // a file in the way
        {dir + L"\\missing\\VekPro", kPathNotFound},     // no parent
        {dir + L"\\VEKBIN.BAT\\VekPro", kPathNotFound},  // the parent is a file
    };
    for (const auto& [path, number] : cases) {
        try {
            files.MakeFolder(path);
            ADD_FAILURE() << "made " << path;
        } catch (const AppError& error) {
            EXPECT_EQ(error.Number(), number) << path;
            EXPECT_FALSE(error.Description().empty()) << path;
        }
    }
    EXPECT_FALSE(IsFolder(dir + L"\\missing"));
    EXPECT_FALSE(IsFolder(dir + L"\\VEKBIN.BAT"));
}

// Removing what is there, what is not, and what refuses: a file in use, a
// folder where a file is expected, a folder that still holds a hidden file.
TEST_F(FileSystemTest, RemoveFileAndRemoveEmptyFolder) {
    EXPECT_TRUE(files.RemoveFile(dir + L"\\Gesti\u00f3.bat"));
    EXPECT_FALSE(e2e::FileExists(dir + L"\\Gesti\u00f3.bat"));
    EXPECT_FALSE(files.RemoveFile(dir + L"\\Gesti\u00f3.bat"));
    EXPECT_FALSE(files.RemoveFile(dir + L"\\missing\\x.lnk"));
    EXPECT_THROW(files.RemoveFile(dir + L"\\sub"), AppError);
    {
        const UniqueFile inUse(CreateFileW((dir + L"\\VEKBIN.BAT").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(inUse);
        EXPECT_THROW(files.RemoveFile(dir + L"\\VEKBIN.BAT"), AppError);
    }
    EXPECT_TRUE(e2e::FileExists(dir + L"\\VEKBIN.BAT"));

    EXPECT_FALSE(files.RemoveEmptyFolder(dir + L"\\sub"));  // holds a hidden system file
    EXPECT_TRUE(IsFolder(dir + L"\\sub"));
    EXPECT_FALSE(files.RemoveEmptyFolder(dir + L"\\missing"));
    ASSERT_TRUE(files.RemoveFile(dir + L"\\sub\\inner.bat"));
    EXPECT_TRUE(files.RemoveEmptyFolder(dir + L"\\sub"));
    EXPECT_FALSE(IsFolder(dir + L"\\sub"));
}

}  // namespace
}  // namespace zoriza
