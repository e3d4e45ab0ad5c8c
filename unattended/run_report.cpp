#include "unattended/run_report.h"

#include <new>
#include <stdexcept>

#include "platform/base/text.h"

namespace zoriza {

std::wstring ErrorText(const AppError& error) {
    return Joined({L"Error ", DecimalText(error.Number()), L": ", error.Description()});
}

int Finish(OutputLines& out, int code, std::initializer_list<std::wstring_view> what) {
    const std::wstring head = Joined({L"exit ", DecimalText(code), L": "});
    std::wstring line = head;
    for (const std::wstring_view piece : what) line.append(piece);
    out.Line(line);
    return code;
}

int Guarded(OutputLines& out, const std::function<int()>& run) {
    try {
        return run();
    } catch (const AppError& error) {
        return Finish(out, kExitUnexpected, {L"unexpected error: ", ErrorText(error)});
    } catch (const std::bad_alloc&) {
        return Finish(out, kExitUnexpected, {L"unexpected error: out of memory"});
    } catch (const std::exception&) {
        return Finish(out, kExitUnexpected, {L"unexpected error"});
    }
}

void StartUpReport::SettingPassedOver(const std::wstring& valueName, const std::wstring& text,
                                      const AppError& error) {
    out_.Line(Joined({L"passed over: saved ", valueName, L" \"", text, L"\": ", ErrorText(error)}));
}

}  // namespace zoriza
