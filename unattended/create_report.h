// What the create command tells as it runs, line by line, and how it ended;
// the check runs the same command over services that write nothing, and
// tells it its own way.
#pragma once

#include <string>

#include "unattended/run_report.h"
#include "unattended/unattended.h"

namespace zoriza {

class CreateReport : public StartUpReport {
public:
    // Without the settings for every user's folders, which keep none.
    CreateReport(OutputLines& out, bool keepsSettings) : StartUpReport(out), keepsSettings_(keepsSettings) {}

    void ScanFoundNothing(const std::wstring& candidate) override;
    void ScanPassedOver(const std::wstring& folder) override;
    void LauncherMissing(const std::wstring& testedPath) override;
    void ShortcutWritten(const std::wstring& linkPath, const PlannedShortcut& shortcut, bool unchanged) override;
    void ShortcutFailed(const std::wstring& displayName, const AppError& error) override;
    void SettingSaved(const std::wstring& valueName, const std::wstring& text, bool stored) override;
    void ShortcutsCreated(const LaunchTarget& target) override;
    void ErrorReported(const AppError& error) override;

    bool ScanFoundNothing() const { return scanFoundNothing_; }
    // How the command ended, once it has run; its last line.
    virtual int Outcome() const;

protected:
    // The exit code and last line of a command that did not run to its end.
    int Unfinished() const;
    bool ShortcutFailedSeen() const { return shortcutFailed_; }
    // Tells one setting; the check tells it otherwise.
    virtual void TellSetting(const std::wstring& valueName, const std::wstring& text, bool stored);

    bool keepsSettings_;
    bool created_ = false;
    std::wstring serverDir_;

private:
    bool scanFoundNothing_ = false;
    bool launcherMissing_ = false;
    bool shortcutFailed_ = false;
    int written_ = 0;
    int notSaved_ = 0;
};

// The window's start-up, the options applied as a user would choose them,
// the scan when asked, then CREAR; `report` hears every step.
int RunCreateSteps(HeadlessForm& form, const UnattendedOptions& options, OutputLines& out, CreateReport& report);

}  // namespace zoriza
