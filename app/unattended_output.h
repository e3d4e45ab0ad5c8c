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

// Appends UTF-8 lines, CR LF after each, to a file that many runs (and many
// workstations, on a share) may write at once; each run starts with a line
// saying which version, when, where, who and what. On a share that stops
// answering, the opening and each line wait at most the server bound; a line
// that is late, or that the file does not take, is lost.
class LogFile : public OutputLines {
public:
    // Throws the file's error when it cannot be opened for appending.
    explicit LogFile(const std::wstring& path);
    void Line(const std::wstring& text) override;

private:
    ServerRequests requests_;
    std::wstring path_;
    std::shared_ptr<UniqueFile> file_;  // shared with a write that may be late
};

// "C:\Users\ana\AppData\Local\Temp\ZORIZA-create-20240301-080005.log": a log
// of a run's own in the user's temporary folder, named after its `command`
// and the local time. Throws when there is no such folder.
std::wstring TemporaryLogPath(std::wstring_view command);

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
