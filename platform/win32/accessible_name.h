// A name for screen readers on a control that shows no caption of its own:
// the control answers WM_GETOBJECT for its client area with the system's
// own accessible object for it, whose name is this one. Readers that ask
// through Microsoft Active Accessibility, or UI Automation over it, read
// it; everything else the object tells stays the system's.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace zoriza {

// The name as it is to be read now: asked again each time a reader asks.
using AccessibleNameSource = std::function<std::wstring()>;

// Throws when the control cannot be given it. The accessibility library is
// loaded the first time a reader asks.
void GiveAccessibleName(HWND control, AccessibleNameSource name);

}  // namespace zoriza
