#pragma once

#include "platform/window_toolkit.h"

namespace zoriza {

// The wait cursor for as long as the object lives.
class WaitCursor {
public:
    explicit WaitCursor(Window& window) : window_(window) { window_.SetBusy(true); }
    ~WaitCursor() { window_.SetBusy(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Window& window_;
};

}  // namespace zoriza
