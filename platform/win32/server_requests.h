// Requests that may reach a server. A server that stops answering (switched
// off, a dropped VPN, a mapping to a machine that is gone) makes Windows wait
// for its network timeout, 20 to 60 seconds a request. Here every request runs
// on a thread of its own and is waited for at most one bound, by one rule:
//
//   - A request is asked, and then ends in one of three ways within the
//     bound: with its answer (a scan's "yes" or "no"), failed (it threw), or
//     late (the bound ran out first). An answer that comes within the bound
//     counts, however late within it; a late request's answer never does.
//   - A late request counts as a drive that cannot be read ("Device
//     unavailable"), and holds its drive until it ends: the drive is not
//     asked again meanwhile, and is asked again as soon as it has ended.
//   - A request that changes something takes effect only while its caller
//     still waits: it passes its commit point just before the one step that
//     makes the change, and a request whose caller has stopped waiting never
//     passes it. A change that passed it before the bound ran out is waited
//     for one bound more, so that what the caller reports is what is on
//     disk; only a change that then is still late may land unreported.
//   - While the caller waits, its thread answers the messages sent to its
//     windows, so that the window never shows as not responding. The user's
//     input is kept to be handled after the wait, in the order it came,
//     except the way out: Esc, Alt+F4, a click on the close box, or closing
//     the window ends the program at once.
#pragma once

#include <windows.h>

#include <deque>
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
        RunBounded(path, [result, request = std::move(request)] { *result = request(); }, nullptr);
        return std::move(*result);
    }
    void Run(const std::wstring& path, std::function<void()> request) { RunBounded(path, std::move(request), nullptr); }

    // As Ask, for a request that changes something: it passes `commit` just
    // before the step that makes the change, and makes none once Pass()
    // answers false, for then its caller has stopped waiting.
    template <typename Result>
    Result Change(const std::wstring& path, std::function<Result(CommitPoint&)> request) {
        auto result = std::make_shared<Result>();
        auto commit = std::make_shared<CommitPoint>();
        RunBounded(path, [result, commit, request = std::move(request)] { *result = request(*commit); }, commit);
        return std::move(*result);
    }

    // The drive scan: the index of the first path in order whose answer to
    // `question` is "yes", or paths.size(), all within one bound. A path
    // that fails with a drive's error, is late or is on a held drive holds
    // nothing; a path that fails otherwise ends the scan with its error when
    // no path before it holds the launcher. Each path is asked at most once.
    // One thread asks them in turn while they answer, as nearly all do at
    // once; when one keeps it longer than a moment, every path not yet asked
    // is asked at once on a thread of its own, so that silent drives cost
    // one wait together. The scan ends as soon as every path before the
    // first "yes" has answered or is late.
    std::size_t FirstTrue(const std::vector<std::wstring>& paths,
                          const std::function<bool(const std::wstring&)>& question);

    // Which input is the user's way out of the program.
    void EndWaitsOn(std::function<bool(const MSG&)> isWayOut) { isWayOut_ = std::move(isWayOut); }
    // The input that came during waits, oldest first, for the event loop;
    // false when there is none left.
    bool TakeKeptInput(MSG& message);
    // Whether a wait is answering messages now.
    bool Waiting() const { return waiting_; }
    // Ends the process at once, cancelling what requests still wait on.
    [[noreturn]] void EndProgramNow();

private:
    using Request = std::shared_ptr<PendingRequest>;
    class ScanPaths;

    bool Held(const std::wstring& drive);
    void HoldIfPending(const std::wstring& drive, const Request& request);
    void RunBounded(const std::wstring& path, std::function<void()> request,
                    const std::shared_ptr<CommitPoint>& commit);
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
    std::deque<MSG> keptInput_;  // taken off the queue during waits
    bool waiting_ = false;
};

}  // namespace zoriza
