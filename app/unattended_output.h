// Where the unattended mode's lines go. The program has no console of its
// own: the lines go to its standard output when it has one (redirected to a
// file or a pipe, in the code page its reader decodes with), else to the
// console of the command prompt that started it; and to a log file when one
// is named.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/win32/server_requests.h"
#include "platform/win32/unique_handle.h"
#include "unattended/unattended.h"

namespace zoriza {

class StandardOutput : public OutputLines {
public:
    StandardOutput();
    void Line(const std::wstring& text) override;

private:
    UniqueFile console_;  // the parent's console, when attached to it
    HANDLE handle_ = nullptr;
    bool isConsole_ = false;
    // A pipe's or a file's: the code page its reader decodes with.
    UINT codePage_ = CP_UTF8;
};

// How a log file is opened: a file named on the command line is appended to,
// whoever made it; a log of the run's own is a new file, never one that was
// there already and never the target of a link someone left under its name.
enum class LogOpening { Append, New };

// Appends UTF-8 lines, CR LF after each, to a file that many runs (and many
// workstations, on a share) may write at once; each run starts with a line
// saying which version, when, where, who and what. On a share that stops
// answering, the opening and each line wait at most the server bound; a line
// that is late, or that the file does not take, is lost.
class LogFile : public OutputLines {
public:
    // Throws the file's error when it cannot be opened as `opening` says.
    LogFile(const std::wstring& path, LogOpening opening);
    void Line(const std::wstring& text) override;

private:
    ServerRequests requests_;
    std::wstring path_;
    std::shared_ptr<UniqueFile> file_;  // shared with a write that may be late
};

// "C:\Users\ana\AppData\Local\Temp\ZORIZA-create-20240301-080005-9f2c...log":
// a log of a run's own, named after its `command`, the local time and 64
// random bits, so that nobody can make a file or link of that name first.
// A user's run keeps it in the user's temporary folder. A run for the whole
// machine (as SYSTEM, or for every user) keeps it in the machine's log folder:
// SYSTEM's temporary folder is C:\Windows\Temp, where every user may write,
// and management tools collect logs from machine folders, not from a user's.
// Throws when the folder cannot be found or made.
std::wstring OwnLogPath(std::wstring_view command, bool forTheMachine);

// Every line to both.
class BothOutputs : public OutputLines {
public:
    BothOutputs(OutputLines& first, OutputLines& second) : first_(first), second_(second) {}
    void Line(const std::wstring& text) override {
        first_.Line(text);
        second_.Line(text);
    }

private:
    OutputLines& first_;
    OutputLines& second_;
};

}  // namespace zoriza
