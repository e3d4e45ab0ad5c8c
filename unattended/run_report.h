// The lines the unattended mode prints, and how a run ends.
#pragma once

#include <functional>
#include <string>

#include "platform/base/error.h"
#include "unattended/unattended.h"

namespace zoriza {

// "Error 76: Path not found"
std::wstring ErrorText(const AppError& error);

// Prints the last line, "exit N: " and the pieces of what happened, and gives N.
int Finish(OutputLines& out, int code, std::initializer_list<std::wstring_view> what);

// Runs `run`; an error that nothing else caught ends it with kExitUnexpected.
int Guarded(OutputLines& out, const std::function<int()>& run);

// Tells the saved values that start-up passed over: the defaults a run takes
// are then not what the user saved, which an administrator wants to know.
class StartUpReport : public FormObserver {
public:
    explicit StartUpReport(OutputLines& out) : out_(out) {}
    void SettingPassedOver(const std::wstring& valueName, const std::wstring& text, const AppError& error) override;

protected:
    OutputLines& out_;
};

}  // namespace zoriza
