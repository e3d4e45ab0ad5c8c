// How a shortcut on the disk differs from the one the create command would write.
#pragma once

#include <string>
#include <vector>

#include "platform/shell_links.h"

namespace zoriza {

// One line for each field that differs, in the fields' order:
// `target "F:\Old\VEKBIN.BAT", should be "F:\VekPro\VEKBIN.BAT"`.
std::vector<std::wstring> DifferencesOf(const ShortcutFields& there, const ShortcutFields& wanted);

}  // namespace zoriza
