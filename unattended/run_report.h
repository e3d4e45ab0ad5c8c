// The lines the unattended mode prints, and how a run ends.
#pragma once

#include <functional>
#include <string>

#include "main_window/command_outcomes.h"
#include "platform/base/error.h"
#include "unattended/unattended.h"
#include "unattended/unattended_outcomes.h"

namespace zoriza {

struct EscapedError;

// How a run ends: its exit code, and what its last line says after "exit N: ".
struct RunEnd {
    ExitCode code;
    std::wstring what;
};

// A run that ends before its command.
enum class EarlyEnd { UsageRefused, NotAdministrator, StartUpFailed, FolderNotShown, NoDriveHoldsTheLauncher };

// How each command's outcome ends the run, in the exit codes' one table.
RunEnd EndOf(const EscapedError& escaped);
RunEnd EndOf(EarlyEnd end);
RunEnd EndOf(const CreateOutcome& outcome, bool everyUser);
RunEnd EndOf(const CheckOutcome& outcome);
RunEnd EndOf(const RemoveOutcome& outcome);

// "failed: <what>: Error N: D", the line of what could not be done.
std::wstring FailedLine(std::wstring_view what, const AppError& error);

// "error: Error N: D", the line of an error that stopped a step.
std::wstring ErrorLine(const AppError& error);

// Prints the last line, "exit N: " and what happened, and gives N.
int Finish(OutputLines& out, const RunEnd& end);

// Runs `run`; an error that nothing else caught ends it with kExitUnexpected.
int Guarded(OutputLines& out, const std::function<int()>& run);

// The saved values that start-up passed over: the defaults a run takes are
// then not what the user saved, which an administrator wants to know.
void TellPassedOver(const StartUpOutcome& outcome, OutputLines& out);

// The launcher's line, when a command stopped at it.
void TellLauncher(const CreatePlan& plan, const LauncherFinding& launcher, OutputLines& out);

}  // namespace zoriza
