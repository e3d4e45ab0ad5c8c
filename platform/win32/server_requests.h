// Requests that may reach a server. A server that stops answering (switched
// off, a dropped VPN, a mapping to a machine that is gone) makes Windows wait
// for its network timeout, 20 to 60 seconds a request. Here every request runs
// on a thread of its own and is waited for at most one bound, by one rule:
//
//   - A request still pending when its caller stops waiting holds its drive
//     until it ends: the drive is not asked again meanwhile, and counts as a
//     drive that cannot be read ("Device unavailable").
//   - While the caller waits, its thread answers the messages sent to its
//     windows, so that the window never shows as not responding. The user's
//     input stays queued for the event loop, except the way out: Esc, or
//     closing the window, ends the program at once.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/request_threads.h"

namespace zoriza {

// How long a request that may reach a server is waited for.
constexpr DWORD kServerAnswerBoundMs = 3000;

class ServerRequests {
public:
    explicit ServerRequests(DWORD boundMs = kServerAnswerBoundMs);
    ~ServerRequests();
    ServerRequests(const ServerRequests&) = delete;
    ServerRequests& operator=(const ServerRequests&) = delete;

    // Runs `request`, which reaches the drive of `path` (or, for a request
    // that reaches several, a name of its own), and returns what it returns
    // or throws what it throws; "Device unavailable" when it is late or its
    // drive is held. `request` must own all it uses: it may outlive this call.
    template <typename Result>
    Result Ask(const std::wstring& path, std::function<Result()> request) {
        auto result = std::make_shared<Result>();
        Run(path, [result, request = std::move(request)] { *result = request(); });
        return std::move(*result);
    }
    void Run(const std::wstring& path, std::function<void()> request);

    // The drive scan: the index of the first path in order that answers
    // `question` true, or paths.size(), all within one bound. A path that
    // fails, is late or is on a held drive answers false. Each path is asked
    // at most once. One thread asks them in turn while they answer, as nearly
    // all do at once; when one keeps it longer than a moment, every path not
    // yet asked is asked at once on a thread of its own, so that silent
    // drives cost one wait together. The scan ends as soon as every path
    // before the first "yes" has answered or is late.
    std::size_t FirstTrue(const std::vector<std::wstring>& paths,
                          const std::function<bool(const std::wstring&)>& question);

    // Which queued message is the user's way out of the program.
    void EndWaitsOn(std::function<bool(const MSG&)> isWayOut) { isWayOut_ = std::move(isWayOut); }
    // Whether a wait is answering messages now.
    bool Waiting() const { return waiting_; }
    // Ends the process at once, cancelling what requests still wait on.
    [[noreturn]] void EndProgramNow();

private:
    using Request = std::shared_ptr<PendingRequest>;
    class ScanPaths;

    bool Held(const std::wstring& drive);
    void HoldIfPending(const std::wstring& drive, const Request& request);
    Request Start(std::function<void()> request);
    // True when `done` is signalled before `deadline`.
    bool Wait(HANDLE done, ULONGLONG deadline);
    bool AnswerMessagesUntil(HANDLE done, ULONGLONG deadline);
    void EndIfTheUserAsks();
    ULONGLONG Deadline() const { return GetTickCount64() + boundMs_; }

    DWORD boundMs_;
    std::shared_ptr<RequestThreads> threads_;
    std::map<std::wstring, Request> pending_;  // by drive: a request its caller stopped waiting for
    std::function<bool(const MSG&)> isWayOut_;
    bool waiting_ = false;
};

}  // namespace zoriza
