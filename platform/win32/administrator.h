// Whether this run holds administrator rights.
#pragma once

namespace zoriza {

// True when the process's token has the Administrators group enabled: an
// elevated administrator, or SYSTEM. Under User Account Control, an
// administrator's token that is not elevated holds the group only to deny,
// and answers false.
bool RunsAsAdministrator();

}  // namespace zoriza
