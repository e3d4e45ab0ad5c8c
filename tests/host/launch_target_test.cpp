#include <gtest/gtest.h>

#include "shortcuts/shortcuts.h"

namespace zoriza {
namespace {

TEST(ResolveLaunchTarget, FollowsEditionFolderAndPlatform) {
    struct Case {
        std::int16_t edition;
        const wchar_t* folder;
        bool sixteenBit;
        LaunchTarget expected;
    };
    const Case cases[] = {
        {0, L"F:\\VekPro", true, {L"VekPro", L"F:\\VekPro\\", L"VEKPRO.BAT", L"BIN16"}},
        {1, L"F:\\VekFin", true, {L"VekFin", L"F:\\VekFin\\", L"VEKFIN.BAT", L"BIN16"}},
        {2, L"F:\\VekCom", true, {L"VekCom", L"F:\\VekCom\\", L"VEKCOM.BAT", L"BIN16"}},
        {3, L"F:\\VekNom", true, {L"VekNom", L"F:\\VekNom\\", L"VEKNOM.BAT", L"BIN16"}},
        {0, L"F:\\VekPro", false, {L"VekPro", L"F:\\VekPro\\", L"VEKBIN.BAT", L"BIN"}},
        {3, L"F:\\VekNom", false, {L"VekNom", L"F:\\VekNom\\", L"VEKBIN.BAT", L"BIN"}},
        {0, L"F:\\", false, {L"VekPro", L"F:\\", L"VEKBIN.BAT", L"BIN"}},
        {-1, L"F:\\VekPro", true, {L"", L"F:\\VekPro\\", L".BAT", L"BIN16"}},
        {-1, L"F:\\VekPro", false, {L"", L"F:\\VekPro\\", L"VEKBIN.BAT", L"BIN"}},
        {4, L"C:\\Work", true, {L"", L"C:\\Work\\", L".BAT", L"BIN16"}},
    };
    for (const Case& c : cases) {
        const LaunchTarget target = ResolveLaunchTarget(c.edition, c.folder, c.sixteenBit);
        EXPECT_EQ(target.AppCode, c.expected.AppCode) << c.edition << " " << c.folder;
        EXPECT_EQ(target.ServerDir, c.expected.ServerDir) << c.edition << " " << c.folder;
        EXPECT_EQ(target.BatchFile, c.expected.BatchFile) << c.edition << " " << c.folder;
        EXPECT_EQ(target.BinFolder, c.expected.BinFolder) << c.edition << " " << c.folder;
    }
}

}  // namespace
}  // namespace zoriza
