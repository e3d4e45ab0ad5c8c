#include "platform/win32/server_requests.h"

#include <algorithm>
#include <atomic>
#include <iterator>

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

void ServerRequests::Run(const std::wstring& path, std::function<void()> request) {
    const ULONGLONG deadline = Deadline();
    const std::wstring drive = DriveOf(path);
    if (Held(drive)) throw DeviceUnavailable();
    const Request pending = Start(std::move(request));
    if (!Wait(pending->Done(), deadline)) {
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

void ServerRequests::EndIfTheUserAsks() {
    if (!isWayOut_) return;
    // A look at the first queued message of each kind the way out can take.
    for (const UINT kind : {UINT{WM_KEYDOWN}, UINT{WM_SYSKEYDOWN}, UINT{WM_SYSCOMMAND}, UINT{WM_CLOSE}}) {
        MSG queued;
        if (PeekMessageW(&queued, nullptr, kind, kind, PM_NOREMOVE) && isWayOut_(queued)) EndProgramNow();
    }
}

// ---- the drive scan -------------------------------------------------------

// One scan's paths and what is known of each, shared with the threads that
// ask them. Each path is claimed by the one request that asks it.
class ServerRequests::ScanPaths {
public:
    enum State : LONG { kOpen, kAsked, kNo, kYes };

    ScanPaths(const std::vector<std::wstring>& paths, const std::function<bool(const std::wstring&)>& question)
        : paths_(paths), question_(question), states_(paths.size()) {}

    std::size_t Count() const { return paths_.size(); }
    const std::wstring& Path(std::size_t i) const { return paths_[i]; }
    State At(std::size_t i) const { return static_cast<State>(states_[i].load()); }

    // True for the one caller that takes path i from open to asked.
    bool Claim(std::size_t i) {
        LONG open = kOpen;
        return states_[i].compare_exchange_strong(open, kAsked);
    }
    void PassOver(std::size_t i) {
        if (Claim(i)) states_[i] = kNo;
    }
    // Asks a claimed path; true for "yes". A drive that cannot be read holds
    // nothing.
    bool Ask(std::size_t i) {
        bool yes = false;
        try {
            yes = question_(paths_[i]);
        } catch (const AppError&) {
        }
        states_[i] = yes ? kYes : kNo;
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

    std::size_t first = 0;
    Request failed;
    for (; first < paths.size() && scan->At(first) != ScanPaths::kYes; ++first) {
        if (scan->At(first) != ScanPaths::kAsked) continue;
        // An asker that ended with the path still asked threw beyond an error
        // of the drive.
        if (Wait(askers[first]->Done(), deadline) && scan->At(first) == ScanPaths::kAsked) failed = askers[first];
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (scan->At(i) == ScanPaths::kAsked) HoldIfPending(DriveOf(paths[i]), askers[i]);
    }
    if (failed) failed->Rethrow();
    return first;
}

}  // namespace zoriza
