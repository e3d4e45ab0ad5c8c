#include <gtest/gtest.h>

#include "form_fixture.h"

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

}  // namespace
}  // namespace zoriza::testing
