// What escaped a piece of work, told apart for whoever reports it: the window
// shows the error report, the unattended mode its last line.
#pragma once

#include <functional>
#include <optional>

#include "platform/base/error.h"

namespace zoriza {

struct EscapedError {
    enum class Kind {
        Own,          // the program's AppError
        OutOfMemory,  // std::bad_alloc
        Unforeseen,   // any other std::exception
    };
    Kind kind;
    AppError error;  // as the window's error report shows it
};

// Runs `work`; what escaped it, or nothing when it ran to its end.
std::optional<EscapedError> CatchEscaped(const std::function<void()>& work);

}  // namespace zoriza
