#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "form_fixture.h"
#include "platform/base/escaped_error.h"
#include "unattended/run_report.h"

namespace zoriza::testing {
namespace {

TEST(FormEvents, EscapeUnloadsAndEndsOtherKeysPassUnchanged) {
    FormFixture f;
    for (std::int16_t key : {13, 32, 65, 97, 26, 28}) {
        std::int16_t code = key;
        f.form.Form_KeyPress(code);
        EXPECT_EQ(code, key);
        EXPECT_FALSE(f.window.Unloaded());
    }
    std::int16_t escape = 27;
    f.form.Form_KeyPress(escape);
    EXPECT_TRUE(f.window.Unloaded());
    EXPECT_TRUE(f.window.Ended());
    EXPECT_EQ(f.registry.WrittenNames().size(), 0u);
    EXPECT_TRUE(f.shell.Saved().empty());
}

TEST(FormEvents, SelectingALanguageFromCodeRunsTheSwitchInsideTheCall) {
    FormFixture f;
    f.Lang.SetListIndex(3);
    EXPECT_EQ(CurrentLanguage, L"SPA");
    EXPECT_EQ(f.window.Caption(), L"ZORIZA Conexión cliente a servidor de aplicaciones VEK");
}

TEST(FormEvents, AnErrorEscapingAHandlerIsReportedAndTheWindowStays) {
    FormFixture f;
    f.files.SetDriveReady(L"G:", false);
    f.Drive1.ShowDrive(L"g:");
    EXPECT_FALSE(f.form.Dispatch(FormEvent::DriveChange));
    EXPECT_TRUE(f.ShowedOnlyTheErrorReport(L"Error 68: Device unavailable"));
    // The drive list is back on the folder list's drive.
    EXPECT_EQ(f.Drive1.Drive().substr(0, 2), L"c:");
    EXPECT_EQ(f.Dir1.Path(), kStartFolder);
}

TEST(FormEvents, AHandlerThatRunsToItsEndIsNotReported) {
    FormFixture f;
    EXPECT_TRUE(f.form.Dispatch(FormEvent::LangClick));
    EXPECT_TRUE(f.window.Messages().empty());
}

// The window reports what escapes a handler; an unattended run ends with a
// line that tells the same three kinds apart.
TEST(FormEvents, WhatEscapesIsToldApartForTheWindowAndTheUnattendedMode) {
    struct Lines : OutputLines {
        void Line(const std::wstring& text) override { all.push_back(text); }
        std::vector<std::wstring> all;
    };
    struct Case {
        std::function<void()> escape;
        const wchar_t* report;
        const wchar_t* line;
    };
    const Case cases[] = {
        {[] { throw AppError(kPathNotFound, L"Path not found"); }, L"Error 76: Path not found",
         L"exit 5: unexpected error: Error 76: Path not found"},
        {[] { throw std::bad_alloc(); }, L"Error 7: Out of memory", L"exit 5: unexpected error: out of memory"},
        {[] { throw std::length_error("vector::reserve"); }, L"Error 51: vector::reserve", L"exit 5: unexpected error"},
    };
    for (const Case& c : cases) {
        const std::optional<EscapedError> escaped = CatchEscaped(c.escape);
        ASSERT_TRUE(escaped) << c.report;
        EXPECT_EQ(ErrorReportText(escaped->error), c.report);
        Lines out;
        EXPECT_EQ(Guarded(out, [&] { c.escape(); return 0; }), kExitUnexpected);
        EXPECT_EQ(out.all, std::vector<std::wstring>{c.line});
    }
    EXPECT_FALSE(CatchEscaped([] {}));
    Lines out;
    EXPECT_EQ(Guarded(out, [] { return kExitNotFound; }), kExitNotFound);
    EXPECT_TRUE(out.all.empty());
}

}  // namespace
}  // namespace zoriza::testing
