#include "unattended/run_report.h"

#include "platform/base/escaped_error.h"
#include "platform/base/text.h"

namespace zoriza {

std::wstring FailedLine(std::wstring_view what, const AppError& error) {
    return Joined({L"failed: ", what, L": ", ErrorText(error)});
}

std::wstring ErrorLine(const AppError& error) { return L"error: " + ErrorText(error); }

int Finish(OutputLines& out, const RunEnd& end) {
    out.Line(Joined({L"exit ", DecimalText(end.code), L": ", end.what}));
    return end.code;
}

int Guarded(OutputLines& out, const std::function<int()>& run) {
    int code = kExitUnexpected;
    const std::optional<EscapedError> escaped = CatchEscaped([&] { code = run(); });
    return escaped ? Finish(out, EndOf(*escaped)) : code;
}

void TellPassedOver(const StartUpOutcome& outcome, OutputLines& out) {
    for (const PassedOverSetting& setting : outcome.passedOver) {
        out.Line(Joined(
            {L"passed over: saved ", setting.valueName, L" \"", setting.text, L"\": ", ErrorText(setting.error)}));
    }
}

void TellLauncher(const CreatePlan& plan, const LauncherFinding& launcher, OutputLines& out) {
    if (launcher.state == LauncherState::Missing) out.Line(Joined({L"not found: ", plan.launcher}));
    if (launcher.error) out.Line(ErrorLine(*launcher.error));
}

}  // namespace zoriza
