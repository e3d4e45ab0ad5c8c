#include <gtest/gtest.h>

#include "form_fixture.h"

namespace zoriza::testing {
namespace {

// Drives c:, f: and g:; the edition and platform as the test sets them.
class SearchTest : public ::testing::Test {
protected:
    SearchTest() {
        f.App.SetListIndex(0);
        f.Platform.Select(1);
    }

    void ExpectNotFound(const std::wstring& candidate) {
        ASSERT_EQ(f.window.Messages().size(), 1u);
        const ShownMessage& message = f.window.Messages()[0];
        EXPECT_EQ(message.title, L"NO S'HA TROBAT");
        EXPECT_EQ(message.icon, MessageIcon::Error);
        EXPECT_EQ(message.text, f.App.Text() + L"\r\n\r\n" + candidate);
        EXPECT_EQ(f.Drive1.Drive(), L"c: [System]");
        EXPECT_EQ(f.Dir1.Path(), kStartFolder);
    }

    FormFixture f;
};

TEST_F(SearchTest, MovesBothListsToTheFirstDriveHoldingTheLauncher) {
    f.files.AddFile(L"G:\\VekPro\\VEKBIN.BAT");
    f.form.Search_Click();
    EXPECT_EQ(f.Drive1.Drive().substr(0, 2), L"f:");
    EXPECT_EQ(f.Dir1.Path(), L"F:\\VekPro");
    EXPECT_EQ(f.Dir1.Refreshes(), 1);
    EXPECT_TRUE(f.window.Messages().empty());
    EXPECT_EQ(f.window.BusyPeriods(), 1);
    EXPECT_FALSE(f.window.Busy());
}

TEST_F(SearchTest, DriveLettersAreUpperCasedInThePath) {
    f.files.Remove(L"F:\\VekPro\\VEKBIN.BAT");
    f.files.AddFile(L"C:\\VekPro\\VEKBIN.BAT");
    f.form.Search_Click();
    EXPECT_EQ(f.Dir1.Path(), L"C:\\VekPro");
}

TEST(SearchOverUnreadableDrives, EachIsSkippedSilently) {
    const std::function<void(MemoryFileSystem&)> unreadable[] = {
        [](MemoryFileSystem& files) { files.SetDriveReady(L"C:", false); },
        [](MemoryFileSystem& files) { files.DenyAccess(L"C:\\"); },
        [](MemoryFileSystem& files) { files.DenyAccess(L"C:\\VekPro"); },
    };
    for (const auto& arrange : unreadable) {
        FormFixture f;
        f.App.SetListIndex(0);
        f.Platform.Select(1);
        f.files.AddFile(L"C:\\VekPro\\VEKBIN.BAT");  // there, but cannot be read
        arrange(f.files);
        f.form.Search_Click();
        EXPECT_EQ(f.Dir1.Path(), L"F:\\VekPro");
        EXPECT_TRUE(f.window.Messages().empty());
    }
}

// The launcher on c: and on f:; which one the scan takes, by who made c:'s folder.
TEST(SearchOverFoldersOfOtherUsers, AFolderAnotherUserMadeIsPassedOver) {
    struct Case {
        const wchar_t* description;
        std::vector<std::wstring> madeByAnotherUser;
        std::wstring taken;  // empty: nothing found
    };
    const Case cases[] = {
        {L"own or an administrator's", {}, L"C:\\VekPro"},
        {L"another user's on c:", {L"C:\\VekPro"}, L"F:\\VekPro"},
        {L"another user's, in another case", {L"c:\\VEKPRO"}, L"F:\\VekPro"},
        {L"another user's on both", {L"C:\\VekPro", L"F:\\VekPro"}, L""},
        {L"another edition's folder", {L"C:\\VekFin"}, L"C:\\VekPro"},
    };
    for (const Case& c : cases) {
        FormFixture f;
        f.App.SetListIndex(0);
        f.Platform.Select(1);
        f.files.AddFile(L"C:\\VekPro\\VEKBIN.BAT");
        for (const std::wstring& folder : c.madeByAnotherUser) f.files.MarkMadeByAnotherUser(folder);
        f.form.Search_Click();
        EXPECT_EQ(f.Dir1.Path(), c.taken.empty() ? kStartFolder : c.taken) << c.description;
        EXPECT_EQ(f.window.Messages().size(), c.taken.empty() ? 1u : 0u) << c.description;
    }
}

TEST_F(SearchTest, CandidatesThatAreNotNormalFilesAreNotFound) {
    struct Case {
        const wchar_t* description;
        std::function<void(MemoryFileSystem&)> arrange;
    };
    const Case cases[] = {
        {L"hidden", [](MemoryFileSystem& files) { files.AddFile(L"F:\\VekPro\\VEKBIN.BAT", {true, false}); }},
        {L"system", [](MemoryFileSystem& files) { files.AddFile(L"F:\\VekPro\\VEKBIN.BAT", {false, true}); }},
        {L"folder", [](MemoryFileSystem& files) {
             files.Remove(L"F:\\VekPro\\VEKBIN.BAT");
             files.AddFolder(L"F:\\VekPro\\VEKBIN.BAT");
         }},
        {L"deeper", [](MemoryFileSystem& files) {
             files.Remove(L"F:\\VekPro\\VEKBIN.BAT");
             files.AddFile(L"F:\\Apps\\VekPro\\VEKBIN.BAT");
         }},
    };
    for (const Case& c : cases) {
        FormFixture fresh;
        fresh.App.SetListIndex(0);
        fresh.Platform.Select(2);
        c.arrange(fresh.files);
        fresh.form.Search_Click();
        ASSERT_EQ(fresh.window.Messages().size(), 1u) << c.description;
        EXPECT_EQ(fresh.Dir1.Path(), kStartFolder) << c.description;
    }
}

TEST_F(SearchTest, NothingFoundReportsTheCandidateAndChangesNothing) {
    f.files.Remove(L"F:\\VekPro\\VEKBIN.BAT");
    f.form.Search_Click();
    ExpectNotFound(L"VekPro\\VEKBIN.BAT");
    EXPECT_EQ(f.Drive1.ChangesRaised(), 0);
}

TEST_F(SearchTest, SixteenBitLooksForTheEditionsOwnLauncherInTheCurrentLanguage) {
    f.Lang.SetListIndex(1);
    f.App.SetListIndex(1);
    f.Platform.Select(0);
    f.form.Search_Click();
    ASSERT_EQ(f.window.Messages().size(), 1u);
    EXPECT_EQ(f.window.Messages()[0].title, L"NOM SE ATOPOU");
    EXPECT_EQ(f.window.Messages()[0].text, L"VekFin Finanzas\r\n\r\nVekFin\\VEKFIN.BAT");
}

TEST(SearchWithoutDrives, ReportsNotFound) {
    FormFixture f(std::vector<std::wstring>{});
    f.App.SetListIndex(0);
    f.Platform.Select(2);
    f.form.Search_Click();
    ASSERT_EQ(f.window.Messages().size(), 1u);
    EXPECT_EQ(f.window.Messages()[0].text, L"VekPro Professional\r\n\r\nVekPro\\VEKBIN.BAT");
}

// A change made from code moves the folder list inside the call.
TEST(DriveChange, TheFolderListFollowsToThatDrivesCurrentFolder) {
    FormFixture f;
    f.files.AddFolder(L"G:\\Deep\\Er");
    f.Dir1.SetPath(L"G:\\Deep\\Er");
    f.Dir1.SetPath(L"C:");
    f.Drive1.SetDrive(L"g:");
    EXPECT_EQ(f.Dir1.Path(), L"G:\\Deep\\Er");
    f.Drive1.SetDrive(L"G:");  // the same drive: no change event
    EXPECT_EQ(f.Drive1.ChangesRaised(), 1);
    f.Drive1.SetDrive(L"c:");
    EXPECT_EQ(f.Dir1.Path(), kStartFolder);
}

// The folder last shown on a drive has gone: a change to the drive shows its
// root, by hand or in a scan that found the launcher there.
TEST(DriveChange, AFolderThatHasGoneGivesTheDrivesRoot) {
    for (const bool byScan : {false, true}) {
        FormFixture f;
        f.files.AddFolder(L"G:\\Deep\\Er");
        f.files.AddFile(L"G:\\VekPro\\VEKBIN.BAT");
        f.files.Remove(L"F:\\VekPro\\VEKBIN.BAT");
        f.Dir1.SetPath(L"G:\\Deep\\Er");
        f.Dir1.SetPath(L"C:");
        f.files.Remove(L"G:\\Deep\\Er");
        if (byScan) {
            f.App.SetListIndex(0);
            f.Platform.Select(2);
            EXPECT_TRUE(f.form.Dispatch(FormEvent::SearchClick));
            EXPECT_EQ(f.Dir1.Path(), L"G:\\VekPro");
        } else {
            f.Drive1.SetDrive(L"g:");
            EXPECT_EQ(f.Dir1.Path(), L"G:\\");
        }
        EXPECT_TRUE(f.window.Messages().empty()) << byScan;
    }
}

}  // namespace
}  // namespace zoriza::testing
