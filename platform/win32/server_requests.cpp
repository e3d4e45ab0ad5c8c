#include "platform/win32/server_requests.h"

#include <algorithm>
#include <atomic>

#include "platform/base/error.h"
#include "platform/base/text.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

AppError DeviceUnavailable() { return AppError(kDeviceUnavailable, L"Device unavailable"); }

// "F:" for a path on a drive, "\\server\share" for a network path.
std::wstring DriveOf(const std::wstring& path) {
    if (path.size() >= kDriveLength && path[1] == L':') return DriveKey(path);
    if (path.rfind(L"\\\\", 0) != 0) return path;
    const std::size_t share = path.find(L'\\', 2);
    const std::size_t end = share == std::wstring::npos ? share : path.find(L'\\', share + 1);
    return AsciiUpper(path.substr(0, end));
}

// How long a request is waited for as any call is, before the thread starts
// answering messages, and before a scan asks its other paths at once: nearly
// every request has ended by then, and a window shows as not responding only
// after seconds.
constexpr DWORD kMomentMs = 200;

// From the first mouse message of the frame to the last of the window: the
// keys, commands and clicks between them.
constexpr UINT kFirstInputMessage = WM_NCMOUSEMOVE;
constexpr UINT kLastInputMessage = WM_MOUSELAST;

DWORD MillisecondsLeft(ULONGLONG deadline) {
    const ULONGLONG now = GetTickCount64();
    return now >= deadline ? DWORD{0} : static_cast<DWORD>(deadline - now);
}

}  // namespace

ServerRequests::ServerRequests(DWORD boundMs) : boundMs_(boundMs), threads_(std::make_shared<RequestThreads>()) {}

ServerRequests::~ServerRequests() { threads_->Close(); }

void ServerRequests::EndProgramNow() {
    threads_->Close();
    ExitProcess(0);
}

bool ServerRequests::Held(const std::wstring& drive) {
    const auto pending = pending_.find(drive);
    if (pending == pending_.end()) return false;
    if (!pending->second->Ended()) return true;
    pending_.erase(pending);
    return false;
}

void ServerRequests::HoldIfPending(const std::wstring& drive, const Request& request) {
    if (!request->Ended()) pending_[drive] = request;
}

ServerRequests::Request ServerRequests::Start(std::function<void()> request) {
    auto pending = std::make_shared<PendingRequest>(std::move(request));
    threads_->Carry(pending);
    return pending;
}

void ServerRequests::RunBounded(const std::wstring& path, std::function<void()> request,
                                const std::shared_ptr<CommitPoint>& commit) {
    const std::wstring drive = DriveOf(path);
    if (Held(drive)) throw DeviceUnavailable();
    const Request pending = Start(std::move(request));
    const bool ended = Wait(pending->Done(), Deadline()) ||
                       // A change under way when the bound ran out is on disk or about to be.
                       (commit && !commit->Abandon() && Wait(pending->Done(), Deadline()));
    if (!ended) {
        HoldIfPending(drive, pending);
        throw DeviceUnavailable();
    }
    pending->Rethrow();
}

// ---- the wait -------------------------------------------------------------

bool ServerRequests::Wait(HANDLE done, ULONGLONG deadline) {
    const DWORD quiet = WaitForSingleObject(done, std::min(MillisecondsLeft(deadline), kMomentMs));
    if (quiet == WAIT_FAILED) throw FileError(GetLastError());
    if (quiet == WAIT_OBJECT_0) return true;
    // As it was again however the wait ends: a wait inside a wait leaves it set.
    struct Waiting {
        bool& flag;
        const bool before = flag;
        ~Waiting() { flag = before; }
    } waiting{waiting_};
    waiting_ = true;
    return AnswerMessagesUntil(done, deadline);
}

// Messages sent to the thread's windows are handled as they come; posted
// ones (the user's input) stay queued, so that no handler starts inside
// another, except the way out.
bool ServerRequests::AnswerMessagesUntil(HANDLE done, ULONGLONG deadline) {
    for (;;) {
        EndIfTheUserAsks();
        switch (MsgWaitForMultipleObjects(1, &done, FALSE, MillisecondsLeft(deadline), QS_ALLINPUT)) {
            case WAIT_OBJECT_0: return true;
            case WAIT_OBJECT_0 + 1: break;
            case WAIT_FAILED: throw FileError(GetLastError());
            default: return false;
        }
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}

// The user's input (mouse and keys, and what controls and other programs
// post as commands) is taken off the queue as it comes, in order, so that a
// way out after other input is seen; the rest is kept for the event loop.
// A close posted on its own is only looked at.
void ServerRequests::EndIfTheUserAsks() {
    if (!isWayOut_) return;
    MSG message;
    while (PeekMessageW(&message, nullptr, kFirstInputMessage, kLastInputMessage, PM_REMOVE)) {
        if (isWayOut_(message)) EndProgramNow();
        keptInput_.push_back(message);
    }
    if (PeekMessageW(&message, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) && isWayOut_(message)) EndProgramNow();
}

bool ServerRequests::TakeKeptInput(MSG& message) {
    if (keptInput_.empty()) return false;
    message = keptInput_.front();
    keptInput_.pop_front();
    return true;
}

// ---- the drive scan -------------------------------------------------------

// One scan's paths and the state of each, shared with the threads that ask
// them. A path is open until the one request that claims it asks it; it then
// ends with its answer ("yes" or "no", a drive's error being "no"), failed
// (the question threw beyond a drive's error), or late, when the scan stops
// waiting for it first. Whichever of the answer and "late" comes first stays.
class ServerRequests::ScanPaths {
public:
    enum State : LONG { kOpen, kAsked, kYes, kNo, kFailed, kLate };

    ScanPaths(const std::vector<std::wstring>& paths, const std::function<bool(const std::wstring&)>& question)
        : paths_(paths), question_(question), states_(paths.size()) {}

    std::size_t Count() const { return paths_.size(); }
    State At(std::size_t i) const { return static_cast<State>(states_[i].load()); }

    // True for the one caller that takes path i from open to asked.
    bool Claim(std::size_t i) { return Move(i, kOpen, kAsked); }
    // A path on a held drive is not asked: it holds nothing.
    void PassOver(std::size_t i) { Move(i, kOpen, kNo); }
    // The scan stops waiting for a path still asked.
    void GiveUp(std::size_t i) { Move(i, kAsked, kLate); }

    // Asks a claimed path; true for "yes".
    bool Ask(std::size_t i) {
        bool yes = false;
        try {
            yes = question_(paths_[i]);
        } catch (const AppError&) {
        } catch (...) {
            Move(i, kAsked, kFailed);
            throw;
        }
        Move(i, kAsked, yes ? kYes : kNo);
        return yes;
    }

    // On the thread in turn: the paths in order, up to the first "yes" or
    // until the turn is stopped.
    void AskInTurn() {
        for (std::size_t i = 0; i < Count() && !turnStopped_; ++i) {
            if (Claim(i) && Ask(i)) return;
        }
    }
    // After this the thread in turn asks no path it has not yet claimed.
    void StopTurn() { turnStopped_ = true; }

private:
    bool Move(std::size_t i, State from, State to) {
        LONG expected = from;
        return states_[i].compare_exchange_strong(expected, to);
    }

    const std::vector<std::wstring> paths_;
    const std::function<bool(const std::wstring&)> question_;
    std::vector<std::atomic<LONG>> states_;
    std::atomic<bool> turnStopped_{false};
};

std::size_t ServerRequests::FirstTrue(const std::vector<std::wstring>& paths,
                                      const std::function<bool(const std::wstring&)>& question) {
    const ULONGLONG deadline = Deadline();
    const auto scan = std::make_shared<ScanPaths>(paths, question);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (Held(DriveOf(paths[i]))) scan->PassOver(i);
    }
    const Request inTurn = Start([scan] { scan->AskInTurn(); });
    std::vector<Request> askers(paths.size(), inTurn);
    if (!Wait(inTurn->Done(), std::min(deadline, GetTickCount64() + kMomentMs))) {
        scan->StopTurn();
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (scan->Claim(i)) askers[i] = Start([scan, i] { scan->Ask(i); });
        }
    }
    // In list order: each path's own answer, whenever within the bound it comes.
    std::size_t first = 0;
    for (; first < paths.size(); ++first) {
        if (scan->At(first) == ScanPaths::kAsked && !Wait(askers[first]->Done(), deadline)) scan->GiveUp(first);
        const ScanPaths::State state = scan->At(first);
        if (state == ScanPaths::kYes || state == ScanPaths::kFailed) break;
    }
    // Paths still asked, late or not waited for, hold their drives.
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const ScanPaths::State state = scan->At(i);
        if (state == ScanPaths::kAsked || state == ScanPaths::kLate) HoldIfPending(DriveOf(paths[i]), askers[i]);
    }
    // A failed path's asker ends right after the question threw.
    if (first < paths.size() && scan->At(first) == ScanPaths::kFailed && Wait(askers[first]->Done(), deadline)) {
        askers[first]->Rethrow();
    }
    return first;
}

}  // namespace zoriza
