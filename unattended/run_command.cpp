#include "platform/base/error.h"
#include "unattended/unattended.h"

namespace zoriza {

int RunCommand(RunMode mode, const FormServices& services, const StartingPoint& start,
               const UnattendedOptions& options, OutputLines& out) {
    switch (mode) {
        case RunMode::Create: return RunCreate(services, start, options, out);
        case RunMode::Check: return RunCheck(services, start, options, out);
        case RunMode::Remove: return RunRemove(services, start, options, out);
        case RunMode::Window:
        case RunMode::Help: break;
    }
    ThrowInternalError();
}

}  // namespace zoriza
