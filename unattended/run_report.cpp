#include "unattended/run_report.h"

#include <new>
#include <stdexcept>

#include "platform/base/text.h"

namespace zoriza {

std::wstring ErrorText(const AppError& error) {
    return Joined({L"Error ", DecimalText(error.Number()), L": ", error.Description()});
}

int Finish(OutputLines& out, const RunEnd& end) {
    out.Line(Joined({L"exit ", DecimalText(end.code), L": ", end.what}));
    return end.code;
}

int Guarded(OutputLines& out, const std::function<int()>& run) {
    try {
        return run();
    } catch (const AppError& error) {
        return Finish(out, {kExitUnexpected, Joined({L"unexpected error: ", ErrorText(error)})});
    } catch (const std::bad_alloc&) {
        return Finish(out, {kExitUnexpected, L"unexpected error: out of memory"});
    } catch (const std::exception&) {
        return Finish(out, {kExitUnexpected, L"unexpected error"});
    }
}

void TellPassedOver(const StartUpOutcome& outcome, OutputLines& out) {
    for (const PassedOverSetting& setting : outcome.passedOver) {
        out.Line(Joined(
            {L"passed over: saved ", setting.valueName, L" \"", setting.text, L"\": ", ErrorText(setting.error)}));
    }
}

void TellLauncher(const CreatePlan& plan, const LauncherFinding& launcher, OutputLines& out) {
    if (launcher.state == LauncherState::Missing) out.Line(Joined({L"not found: ", plan.launcher}));
    if (launcher.error) out.Line(Joined({L"error: ", ErrorText(*launcher.error)}));
}

}  // namespace zoriza
