// The steps every command takes before its own, each told as a line.
#pragma once

#include <optional>

#include "unattended/run_report.h"
#include "unattended/unattended.h"

namespace zoriza {

// The window's start-up, its passed-over settings told as lines: how the run
// ends when it ends there, or none.
std::optional<RunEnd> StartForm(HeadlessForm& form, OutputLines& out);

// The window's start-up, the options applied as a user would choose them,
// and the scan when asked, each told as a line: how the run ends when it
// ends there, or none when the form is ready for the command.
std::optional<RunEnd> PrepareForm(HeadlessForm& form, const UnattendedOptions& options, OutputLines& out);

}  // namespace zoriza
