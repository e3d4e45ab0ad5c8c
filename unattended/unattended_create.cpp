// /create: the window's start-up gives the defaults, the switches are applied
// as a user would choose them, then the create command runs; each step is
// told as a line.
#include "platform/base/text.h"
#include "unattended/prepared_form.h"
#include "unattended/run_report.h"
#include "unattended/unattended.h"

namespace zoriza {

namespace {

// Each step of the create command as a line, as it ends.
class ProgressLines : public CreateProgress {
public:
    ProgressLines(OutputLines& out, bool keepsSettings) : out_(out), keepsSettings_(keepsSettings) {}

    void ShortcutDone(const ShortcutResult& shortcut) override {
        if (shortcut.error) return out_.Line(FailedLine(shortcut.displayName, *shortcut.error));
        const PlannedShortcut& planned = shortcut.planned;
        const wchar_t* space = planned.linkArgs.empty() ? L"" : L" ";
        out_.Line(Joined({shortcut.state == ShortcutState::Unchanged ? L"unchanged: " : L"written: ", shortcut.linkPath,
                          L" -> ", planned.target, space, planned.linkArgs}));
    }
    void SettingDone(const SettingResult& setting) override {
        if (!keepsSettings_) return;
        out_.Line(Joined({setting.stored ? L"saved: " : L"not saved: ", setting.valueName, L" = ", setting.text}));
    }

private:
    OutputLines& out_;
    bool keepsSettings_;
};

}  // namespace

int RunCreate(const FormServices& services, const StartingPoint& start, const UnattendedOptions& options,
              OutputLines& out) {
    HeadlessForm f(services, start, options.allUsers);
    return Guarded(out, [&] {
        if (const std::optional<RunEnd> ended = PrepareForm(f, options, out)) return Finish(out, *ended);
        ProgressLines progress(out, !options.allUsers);
        const CreateOutcome outcome = f.form.Create(progress);
        TellLauncher(outcome.plan, outcome.launcher, out);
        return Finish(out, EndOf(outcome, options.allUsers));
    });
}

}  // namespace zoriza
