#include "unattended/unattended.h"

namespace zoriza {

int RunCommand(RunMode mode, const FormServices& services, const StartingPoint& start,
               const UnattendedOptions& options, OutputLines& out) {
    switch (mode) {
        case RunMode::Create: return RunCreate(services, start, options, out);
        case RunMode::Check: return RunCheck(services, start, options, out);
        default: return RunRemove(services, start, options, out);
    }
}

}  // namespace zoriza
