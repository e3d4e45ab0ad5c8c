#pragma once

#include <string>
#include <vector>

namespace zoriza {

struct CommandLine;

// The program's arguments after its own name, as the system splits them.
std::vector<std::wstring> ProgramArguments();

// Runs the command the command line gives without a window and gives the exit
// code. Never shows a message box or a window, whatever happens.
int RunUnattended(const CommandLine& command);

}  // namespace zoriza
