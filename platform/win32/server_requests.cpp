#include "platform/win32/server_requests.h"

#include <algorithm>
#include <atomic>
#include <exception>

#include "platform/base/error.h"
#include "platform/base/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

// One request. The thread that carries it shares it with the caller, so that
// a request the caller stopped waiting for still has somewhere to end.
class ServerRequests::Pending {
public:
    Pending(std::wstring drive, std::function<void()> request)
        : drive_(std::move(drive)),
          request_(std::move(request)),
          done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        if (!done_) throw FileError(GetLastError());
    }

    // Runs the request; the caller learns of its end from Finish().
    void Execute() {
        try {
            request_();
        } catch (...) {
            error_ = std::current_exception();
        }
    }
    void Finish() { SetEvent(done_.get()); }

    const std::wstring& Drive() const { return drive_; }
    HANDLE Done() const { return done_.get(); }
    bool Ended() const { return WaitForSingleObject(done_.get(), 0) == WAIT_OBJECT_0; }
    // Once ended: whether the request threw, and what.
    bool Failed() const { return error_ != nullptr; }
    void Rethrow() const {
        if (error_) std::rethrow_exception(error_);
    }

private:
    std::wstring drive_;
    std::function<void()> request_;
    std::exception_ptr error_;
    UniqueHandle done_;
};

// The threads that carry the requests. Starting a thread is slow (about 3 ms
// under Wine), so a thread whose request has ended waits for the next one; a
// new thread starts only while every thread is busy, or held by a drive that
// does not answer. Idle threads end with the requests' owner.
class ServerRequests::Threads : public std::enable_shared_from_this<Threads> {
    // A request needs little stack; the program's default is reserved for
    // its one window thread.
    static constexpr SIZE_T kWorkerStackBytes = 256 * 1024;

public:
    void Carry(const Request& request) {
        std::shared_ptr<Worker> worker = TakeIdle();
        if (!worker) worker = Launch();
        worker->request = request;
        SetEvent(worker->wake.get());
    }

    void Close() {
        AcquireSRWLockExclusive(&lock_);
        closing_ = true;
        for (const auto& worker : idle_) SetEvent(worker->wake.get());
        idle_.clear();
        ReleaseSRWLockExclusive(&lock_);
    }

private:
    struct Worker {
        UniqueHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
        Request request;  // set before `wake`, taken after it
        std::shared_ptr<Threads> threads;
    };

    std::shared_ptr<Worker> TakeIdle() {
        AcquireSRWLockExclusive(&lock_);
        std::shared_ptr<Worker> worker;
        if (!idle_.empty()) {
            worker = std::move(idle_.back());
            idle_.pop_back();
        }
        ReleaseSRWLockExclusive(&lock_);
        return worker;
    }

    // False when the threads are closing: the worker ends instead.
    bool ReturnIdle(const std::shared_ptr<Worker>& worker) {
        AcquireSRWLockExclusive(&lock_);
        const bool kept = !closing_;
        if (kept) idle_.push_back(worker);
        ReleaseSRWLockExclusive(&lock_);
        return kept;
    }

    std::shared_ptr<Worker> Launch() {
        auto worker = std::make_shared<Worker>();
        if (!worker->wake) throw FileError(GetLastError());
        worker->threads = shared_from_this();
        auto* shared = new std::shared_ptr<Worker>(worker);
        const UniqueHandle thread(CreateThread(nullptr, kWorkerStackBytes, &Threads::WorkerMain, shared,
                                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
        if (!thread) {
            const DWORD code = GetLastError();
            delete shared;
            throw FileError(code);
        }
        return worker;
    }

    static DWORD WINAPI WorkerMain(void* parameter) {
        const std::shared_ptr<Worker> self = std::move(*static_cast<std::shared_ptr<Worker>*>(parameter));
        delete static_cast<std::shared_ptr<Worker>*>(parameter);
        for (bool kept = true; kept;) {
            WaitForSingleObject(self->wake.get(), INFINITE);
            const Request request = std::move(self->request);
            if (!request) break;  // woken to end
            request->Execute();
            // Idle again before the caller hears of the end, so that the
            // caller's next request finds this thread free.
            kept = self->threads->ReturnIdle(self);
            request->Finish();
        }
        self->threads.reset();
        return 0;
    }

    SRWLOCK lock_ = SRWLOCK_INIT;
    std::vector<std::shared_ptr<Worker>> idle_;
    bool closing_ = false;
};

ServerRequests::ServerRequests(DWORD boundMs) : boundMs_(boundMs), threads_(std::make_shared<Threads>()) {}

ServerRequests::~ServerRequests() { threads_->Close(); }

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
// answering messages: nearly every request has ended by then, and a window
// shows as not responding only after seconds.
constexpr DWORD kQuietWaitMs = 200;

// Waits for `done` until `deadline`. Past the quiet wait, messages sent to
// the thread's windows are handled meanwhile; posted ones (the user's input)
// stay queued for the event loop, so that no handler starts inside another.
bool WaitAnsweringMessages(HANDLE done, ULONGLONG deadline) {
    const auto left = [deadline] {
        const ULONGLONG now = GetTickCount64();
        return now >= deadline ? DWORD{0} : static_cast<DWORD>(deadline - now);
    };
    if (WaitForSingleObject(done, std::min(left(), kQuietWaitMs)) == WAIT_OBJECT_0) return true;
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &done, FALSE, left(), QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}

}  // namespace

bool ServerRequests::Held(const std::wstring& drive) {
    const auto late = late_.find(drive);
    if (late == late_.end()) return false;
    if (!late->second->Ended()) return true;
    late_.erase(late);
    return false;
}

ServerRequests::Request ServerRequests::Start(const std::wstring& path, std::function<void()> request) {
    std::wstring drive = DriveOf(path);
    if (Held(drive)) return nullptr;
    auto pending = std::make_shared<Pending>(std::move(drive), std::move(request));
    threads_->Carry(pending);
    return pending;
}

bool ServerRequests::Ended(const Request& pending, ULONGLONG deadline) {
    if (!pending) return false;
    if (WaitAnsweringMessages(pending->Done(), deadline)) return true;
    late_[pending->Drive()] = pending;
    return false;
}

void ServerRequests::Run(const std::wstring& path, std::function<void()> request) {
    const ULONGLONG deadline = Deadline();
    const Request pending = Start(path, std::move(request));
    if (!Ended(pending, deadline)) throw DeviceUnavailable();
    pending->Rethrow();
}

// The answers of a scan's paths, shared with the threads that ask them: a
// path is unknown until the first of them to learn its answer writes it.
class ServerRequests::Verdicts {
public:
    enum Verdict : LONG { kUnknown, kNo, kYes };

    explicit Verdicts(std::size_t count) : values_(count) {}
    std::size_t Count() const { return values_.size(); }
    Verdict At(std::size_t i) const { return static_cast<Verdict>(values_[i].load()); }
    void Learn(std::size_t i, bool yes) {
        LONG unknown = kUnknown;
        values_[i].compare_exchange_strong(unknown, yes ? kYes : kNo);
    }
    // The first path not known to be "no", or Count().
    std::size_t FirstOpen() const {
        std::size_t i = 0;
        while (i < Count() && At(i) == kNo) ++i;
        return i;
    }

private:
    std::vector<std::atomic<LONG>> values_;
};

namespace {

bool Answer(const std::function<bool(const std::wstring&)>& question, const std::wstring& path) {
    try {
        return question(path);
    } catch (const AppError&) {
        return false;  // a drive that cannot be read holds nothing
    }
}

}  // namespace

std::size_t ServerRequests::FirstTrue(const std::vector<std::wstring>& paths,
                                      const std::function<bool(const std::wstring&)>& question) {
    const ULONGLONG deadline = Deadline();
    auto verdicts = std::make_shared<Verdicts>(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (Held(DriveOf(paths[i]))) verdicts->Learn(i, false);
    }
    // One thread asks the paths in turn, and stops at the first "yes".
    const auto inTurn = std::make_shared<Pending>(L"", [verdicts, question, paths] {
        for (std::size_t i = verdicts->FirstOpen(); i < paths.size(); ++i) {
            if (verdicts->At(i) != Verdicts::kUnknown) continue;
            const bool yes = Answer(question, paths[i]);
            verdicts->Learn(i, yes);
            if (yes) return;
        }
    });
    threads_->Carry(inTurn);
    const bool ended = WaitAnsweringMessages(inTurn->Done(), std::min(deadline, GetTickCount64() + kQuietWaitMs));
    if (!ended || inTurn->Failed()) AskTheRestAtOnce(paths, question, verdicts, inTurn, deadline);
    const std::size_t first = verdicts->FirstOpen();
    return first < paths.size() && verdicts->At(first) == Verdicts::kYes ? first : paths.size();
}

// The paths after the one the thread in turn waits on are asked each on a
// thread of its own; then each open path in order is waited for, within the
// deadline, until the first "yes".
void ServerRequests::AskTheRestAtOnce(const std::vector<std::wstring>& paths,
                                      const std::function<bool(const std::wstring&)>& question,
                                      const std::shared_ptr<Verdicts>& verdicts, const Request& inTurn,
                                      ULONGLONG deadline) {
    const std::size_t waitedOn = verdicts->FirstOpen();
    std::vector<Request> alone(paths.size());
    for (std::size_t i = waitedOn + 1; i < paths.size(); ++i) {
        if (verdicts->At(i) != Verdicts::kUnknown) continue;
        alone[i] = Start(paths[i], [verdicts, question, path = paths[i], i] {
            verdicts->Learn(i, Answer(question, path));
        });
        if (!alone[i]) verdicts->Learn(i, false);
    }
    for (std::size_t i = verdicts->FirstOpen(); i < paths.size() && verdicts->At(i) != Verdicts::kYes;
         i = verdicts->FirstOpen()) {
        if (alone[i]) {
            Ended(alone[i], deadline);
        } else if (!WaitAnsweringMessages(inTurn->Done(), deadline) && verdicts->At(i) == Verdicts::kUnknown) {
            late_[DriveOf(paths[i])] = inTurn;  // the thread in turn still waits on this drive
        }
        verdicts->Learn(i, false);  // still unknown: late, or the thread in turn failed
    }
}

}  // namespace zoriza
