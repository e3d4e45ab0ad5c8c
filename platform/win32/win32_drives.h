#pragma once

#include <string>
#include <vector>

namespace zoriza {

// The machine's drives in the system's order, each as its letter and a colon
// in lower case ("c:"), as a drive list without labels holds them.
std::vector<std::wstring> LogicalDriveEntries();

}  // namespace zoriza
