// The unattended command line: every switch, in either case and with either
// prefix, the values each takes, and every way a command line is refused.
#include <gtest/gtest.h>

#include "unattended/unattended.h"

namespace zoriza::testing {
namespace {

using Arguments = std::vector<std::wstring>;

TEST(CommandLineTest, ArgumentsWithoutASwitchAreTheWindowAndHelpWinsOverEverything) {
    // A file dropped on the program is an argument without a switch.
    for (const Arguments& arguments : {Arguments{}, Arguments{L"create"}, Arguments{L"C:\\Users\\ana\\nota.txt"},
                                       Arguments{L"-", L"/", L"x"}}) {
        const CommandLine parsed = ParseCommandLine(arguments);
        EXPECT_EQ(parsed.mode, RunMode::Window) << arguments.size();
        EXPECT_TRUE(parsed.usageError.empty()) << arguments.size();
        EXPECT_FALSE(parsed.Unattended()) << arguments.size();
    }
    EXPECT_TRUE(ParseCommandLine({L"/edition:VekPro"}).Unattended());
    for (const Arguments& arguments : {Arguments{L"/?"}, Arguments{L"-?"}, Arguments{L"/create", L"/?"},
                                       Arguments{L"/bogus", L"/?"}, Arguments{L"/?", L"/remove", L"/scan:1"}}) {
        const CommandLine parsed = ParseCommandLine(arguments);
        EXPECT_EQ(parsed.mode, RunMode::Help) << arguments.front();
        EXPECT_TRUE(parsed.usageError.empty()) << arguments.front();
    }
}

TEST(CommandLineTest, EachSwitchInAnyCaseWithEitherPrefix) {
    struct Case {
        Arguments arguments;
        RunMode mode;
        UnattendedOptions expected;
    };
    const auto with = [](auto set) {
        UnattendedOptions options;
        set(options);
        return options;
    };
    const Case cases[] = {
        {{L"/create"}, RunMode::Create, {}},
        {{L"-CREATE"}, RunMode::Create, {}},
        {{L"/Remove"}, RunMode::Remove, {}},
        {{L"-Check"}, RunMode::Check, {}},
        {{L"/remove", L"/ALLUSERS"}, RunMode::Remove, with([](auto& o) { o.allUsers = true; })},
        {{L"/check", L"/allusers", L"/folder:F:\\VekPro"}, RunMode::Check, with([](auto& o) {
             o.allUsers = true;
             o.folder = L"F:\\VekPro";
         })},
        {{L"/create", L"/edition:VekPro"}, RunMode::Create, with([](auto& o) { o.edition = 0; })},
        {{L"/create", L"-EDITION:vekfin"}, RunMode::Create, with([](auto& o) { o.edition = 1; })},
        {{L"/create", L"/edition:VEKCOM"}, RunMode::Create, with([](auto& o) { o.edition = 2; })},
        {{L"/create", L"/Edition:VekNom"}, RunMode::Create, with([](auto& o) { o.edition = 3; })},
        {{L"/create", L"/folder:F:\\VekPro"}, RunMode::Create, with([](auto& o) { o.folder = L"F:\\VekPro"; })},
        {{L"/create", L"/FOLDER:g:"}, RunMode::Create, with([](auto& o) { o.folder = L"g:"; })},
        {{L"/create", L"/folder:F:\\Vek Pro\\"}, RunMode::Create,
         with([](auto& o) { o.folder = L"F:\\Vek Pro\\"; })},
        {{L"/create", L"/SCAN"}, RunMode::Create, with([](auto& o) { o.scan = true; })},
        {{L"/create", L"/platform:16"}, RunMode::Create, with([](auto& o) { o.platform = 0; })},
        {{L"/create", L"-platform:32"}, RunMode::Create, with([](auto& o) { o.platform = 1; })},
        {{L"/create", L"/PLATFORM:64"}, RunMode::Create, with([](auto& o) { o.platform = 2; })},
        {{L"/create", L"/desktop:YES"}, RunMode::Create, with([](auto& o) { o.desktop = true; })},
        {{L"/create", L"/Desktop:no"}, RunMode::Create, with([](auto& o) { o.desktop = false; })},
        {{L"/create", L"/lang:ca"}, RunMode::Create, with([](auto& o) { o.language = 0; })},
        {{L"/create", L"/lang:GL"}, RunMode::Create, with([](auto& o) { o.language = 1; })},
        {{L"/create", L"/LANG:oc"}, RunMode::Create, with([](auto& o) { o.language = 2; })},
        {{L"/create", L"-lang:Es"}, RunMode::Create, with([](auto& o) { o.language = 3; })},
        {{L"/log:C:\\logs\\zoriza run.txt", L"/create"}, RunMode::Create,
         with([](auto& o) { o.logFile = L"C:\\logs\\zoriza run.txt"; })},
        // Without a name, the log gets one of its own.
        {{L"/create", L"/LOG"}, RunMode::Create, with([](auto& o) { o.logFile = L""; })},
        {{L"/create", L"/log:"}, RunMode::Create, with([](auto& o) { o.logFile = L""; })},
        {{L"/remove", L"/edition:VekNom", L"/folder:F:\\VekNom", L"/platform:32"}, RunMode::Remove,
         with([](auto& o) {
             o.edition = 3;
             o.folder = L"F:\\VekNom";
             o.platform = 1;
         })},
    };
    for (const Case& c : cases) {
        const CommandLine parsed = ParseCommandLine(c.arguments);
        const std::wstring shown = c.arguments.back();
        EXPECT_EQ(parsed.usageError, L"") << shown;
        EXPECT_EQ(parsed.mode, c.mode) << shown;
        EXPECT_EQ(parsed.options.edition, c.expected.edition) << shown;
        EXPECT_EQ(parsed.options.folder, c.expected.folder) << shown;
        EXPECT_EQ(parsed.options.scan, c.expected.scan) << shown;
        EXPECT_EQ(parsed.options.platform, c.expected.platform) << shown;
        EXPECT_EQ(parsed.options.desktop, c.expected.desktop) << shown;
        EXPECT_EQ(parsed.options.language, c.expected.language) << shown;
        EXPECT_EQ(parsed.options.logFile, c.expected.logFile) << shown;
        EXPECT_EQ(parsed.options.allUsers, c.expected.allUsers) << shown;
    }
}

TEST(CommandLineTest, RefusedCommandLinesSayWhy) {
    const std::pair<Arguments, const wchar_t*> cases[] = {
        {{L"/edition:VekPro"}, L"/create, /check or /remove is missing"},
        {{L"/allusers"}, L"/create, /check or /remove is missing"},
        {{L"/create", L"create"}, L"unexpected argument \"create\""},
        {{L"/create", L""}, L"unexpected argument \"\""},
        {{L"/create", L"/"}, L"unexpected argument \"/\""},
        {{L"/create", L"/quiet"}, L"unknown switch /quiet"},
        {{L"/create", L"/foo:bar"}, L"unknown switch /foo"},
        {{L"/create", L"/remove"}, L"/create and /remove cannot be used together"},
        {{L"/check", L"/create"}, L"/create and /check cannot be used together"},
        {{L"/remove", L"-CHECK"}, L"/remove and /check cannot be used together"},
        {{L"/check", L"/allusers:yes"}, L"/allusers takes no value"},
        // Every user's shortcuts go to a folder the administrator named.
        {{L"/create", L"/allusers", L"/scan"},
         L"/allusers and /scan cannot be used together: name the server folder, such as /folder:F:\\VekPro"},
        {{L"/remove", L"/scan", L"-AllUsers"},
         L"/allusers and /scan cannot be used together: name the server folder, such as /folder:F:\\VekPro"},
        {{L"/create", L"/allusers"}, L"/allusers needs /folder: name the server folder, such as /folder:F:\\VekPro"},
        {{L"/check", L"/allusers", L"/edition:VekFin"},
         L"/allusers needs /folder: name the server folder, such as /folder:F:\\VekPro"},
        {{L"/create", L"/CREATE"}, L"/CREATE is given twice"},
        {{L"/create", L"/platform:32", L"/platform:64"}, L"/platform is given twice"},
        {{L"/create", L"/folder:F:\\VekPro", L"/scan"}, L"/folder and /scan cannot be used together"},
        {{L"/remove", L"/scan", L"/folder:F:\\VekPro"}, L"/folder and /scan cannot be used together"},
        {{L"/create:now"}, L"/create takes no value"},
        {{L"/create", L"/scan:yes"}, L"/scan takes no value"},
        {{L"/create", L"/edition"}, L"/edition needs a value: /edition:VekPro|VekFin|VekCom|VekNom"},
        {{L"/create", L"/edition:VekPros"}, L"bad value for /edition: \"VekPros\" (one of VekPro|VekFin|VekCom|VekNom)"},
        {{L"/create", L"/platform:48"}, L"bad value for /platform: \"48\" (one of 16|32|64)"},
        {{L"/create", L"/desktop:true"}, L"bad value for /desktop: \"true\" (one of yes|no)"},
        {{L"/create", L"/lang:en"}, L"bad value for /lang: \"en\" (one of ca|gl|oc|es)"},
        {{L"/create", L"/folder:VekPro"}, L"bad value for /folder: \"VekPro\" (a drive and folder, such as F:\\VekPro)"},
        {{L"/create", L"/folder:\\\\server\\apps"},
         L"bad value for /folder: \"\\\\server\\apps\" (a drive and folder, such as F:\\VekPro)"},
        {{L"/create", L"/folder:F:VekPro"}, L"bad value for /folder: \"F:VekPro\" (a drive and folder, such as F:\\VekPro)"},
        {{L"/create", L"/folder:F:\\Vek Pro\" /scan"},
         L"bad value for /folder: \"F:\\Vek Pro\" /scan\" (a quoted folder must not end in a backslash: \"F:\\Vek Pro\")"},
        {{L"/create", L"/folder:F:\\VekPr?"}, L"bad value for /folder: \"F:\\VekPr?\" (a folder has no wildcards)"},
        {{L"/check", L"/folder:F:\\*"}, L"bad value for /folder: \"F:\\*\" (a folder has no wildcards)"},
        {{L"/create", L"/folder:F:\\VekPro\\..."}, L"bad value for /folder: \"F:\\VekPro\\...\" (\"...\" names no folder)"},
        {{L"/create", L"/folder:F:\\ "}, L"bad value for /folder: \"F:\\ \" (\" \" names no folder)"},
    };
    for (const auto& [arguments, why] : cases) {
        EXPECT_EQ(ParseCommandLine(arguments).usageError, why) << arguments.back();
    }
    // The longest icon path, "\IMATGES\VEKUPDAT.ICO", must fit behind the folder.
    const std::wstring fits = L"F:\\" + std::wstring(235, L'V');
    EXPECT_EQ(ParseCommandLine({L"/create", L"/folder:" + fits}).usageError, L"");
    EXPECT_EQ(ParseCommandLine({L"/create", L"/folder:" + fits + L"V"}).usageError,
              L"bad value for /folder: \"" + fits +
                  L"V\" (too long: the shortcuts' targets and icons in it would pass the Windows path limit)");
    EXPECT_NE(ParseCommandLine({L"/create", L"/folder:F:\\" + std::wstring(32000, L'V')}).usageError, L"");
}

}  // namespace
}  // namespace zoriza::testing
