// /check: the create command over services that write nothing, each of its
// writes compared with what is there. Exit 0 when all is in place.
#include "platform/base/text.h"
#include "settings/settings_store.h"
#include "unattended/checking_services.h"
#include "unattended/create_report.h"

namespace zoriza {

namespace {

class CheckReport : public CreateReport {
public:
    CheckReport(OutputLines& out, bool keepsSettings, Registry& stored, const CheckTally& tally)
        : CreateReport(out, keepsSettings), stored_(stored), tally_(tally) {}

    // The shortcut's own lines are told as it is compared.
    void ShortcutWritten(const std::wstring&, const PlannedShortcut&, bool) override {}

    int Outcome() const override {
        if (!created_ && ShortcutFailedSeen()) {
            return Finish(out_, kExitShortcutFailed, {L"a shortcut could not be checked; nothing written"});
        }
        if (!created_) return Unfinished();
        const std::wstring where = Joined({serverDir_, keepsSettings_ ? L"" : L" for every user"});
        const int notInPlace = tally_.notInPlace + settingsNotInPlace_;
        if (notInPlace == 0) return Finish(out_, kExitDone, {L"everything in place for ", where});
        return Finish(out_, kExitNotInPlace,
                      {DecimalText(notInPlace), L" not in place for ", where, L"; /create puts them in place"});
    }

protected:
    void TellSetting(const std::wstring& valueName, const std::wstring& text, bool stored) override {
        if (stored) return out_.Line(Joined({L"in place: ", valueName, L" = ", text}));
        ++settingsNotInPlace_;
        const std::wstring there = RegGetString(stored_, kDefaultRoot, kSettingsKey, valueName);
        out_.Line(Joined({L"not saved: ", valueName, L" = ", text,
                          there.empty() ? L" (none stored)" : Joined({L" (stored: \"", there, L"\")"})}));
    }

private:
    Registry& stored_;
    const CheckTally& tally_;
    int settingsNotInPlace_ = 0;
};

}  // namespace

int RunCheck(const FormServices& services, const StartingPoint& start, const UnattendedOptions& options,
             OutputLines& out) {
    CheckingServices checking(services, out);
    HeadlessForm form(checking.Form(), start, options.allUsers);
    CheckReport report(out, !options.allUsers, services.registry, checking.tally);
    return RunCreateSteps(form, options, out, report);
}

}  // namespace zoriza
