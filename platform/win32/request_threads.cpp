#include "platform/win32/request_threads.h"

#include <objbase.h>

#include "platform/win32/win32_error.h"

namespace zoriza {

PendingRequest::PendingRequest(std::function<void()> request)
    : request_(std::move(request)), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!done_) throw FileError(GetLastError());
}

void PendingRequest::Execute() {
    try {
        request_();
    } catch (...) {
        error_ = std::current_exception();
    }
}

void PendingRequest::Rethrow() const {
    if (error_) std::rethrow_exception(error_);
}

struct RequestThreads::Worker {
    UniqueHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    UniqueHandle thread;                        // kept to cancel what it waits on
    std::shared_ptr<PendingRequest> request;    // set before `wake`, taken after it
    std::shared_ptr<RequestThreads> threads;
};

namespace {

// A request needs little stack; the program's default is reserved for its
// one window thread.
constexpr SIZE_T kWorkerStackBytes = 256 * 1024;

}  // namespace

void RequestThreads::Carry(const std::shared_ptr<PendingRequest>& request) {
    std::shared_ptr<Worker> worker = TakeIdle();
    if (!worker) worker = Launch();
    worker->request = request;
    SetEvent(worker->wake.get());
}

void RequestThreads::Close() {
    AcquireSRWLockExclusive(&lock_);
    closing_ = true;
    // An idle thread waits on its event, not on input or output: there is
    // nothing of it to cancel, and its wake ends it.
    for (const auto& worker : all_) CancelSynchronousIo(worker->thread.get());
    for (const auto& worker : idle_) SetEvent(worker->wake.get());
    idle_.clear();
    all_.clear();
    ReleaseSRWLockExclusive(&lock_);
}

std::shared_ptr<RequestThreads::Worker> RequestThreads::TakeIdle() {
    AcquireSRWLockExclusive(&lock_);
    std::shared_ptr<Worker> worker;
    if (!idle_.empty()) {
        worker = std::move(idle_.back());
        idle_.pop_back();
    }
    ReleaseSRWLockExclusive(&lock_);
    return worker;
}

bool RequestThreads::ReturnIdle(const std::shared_ptr<Worker>& worker) {
    AcquireSRWLockExclusive(&lock_);
    const bool kept = !closing_;
    if (kept) idle_.push_back(worker);
    ReleaseSRWLockExclusive(&lock_);
    return kept;
}

std::shared_ptr<RequestThreads::Worker> RequestThreads::Launch() {
    auto worker = std::make_shared<Worker>();
    if (!worker->wake) throw FileError(GetLastError());
    worker->threads = shared_from_this();
    auto* shared = new std::shared_ptr<Worker>(worker);
    worker->thread.reset(CreateThread(nullptr, kWorkerStackBytes, &RequestThreads::WorkerMain, shared,
                                      STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!worker->thread) {
        const DWORD code = GetLastError();
        delete shared;
        throw FileError(code);
    }
    AcquireSRWLockExclusive(&lock_);
    all_.push_back(worker);
    ReleaseSRWLockExclusive(&lock_);
    return worker;
}

DWORD WINAPI RequestThreads::WorkerMain(void* parameter) {
    const std::shared_ptr<Worker> self = std::move(*static_cast<std::shared_ptr<Worker>*>(parameter));
    delete static_cast<std::shared_ptr<Worker>*>(parameter);
    // Requests may use the Shell's link objects, which live in any apartment.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    for (bool kept = true; kept;) {
        WaitForSingleObject(self->wake.get(), INFINITE);
        const std::shared_ptr<PendingRequest> request = std::move(self->request);
        if (!request) break;  // woken to end
        request->Execute();
        // Idle again before the caller hears of the end, so that the
        // caller's next request finds this thread free.
        kept = self->threads->ReturnIdle(self);
        request->Finish();
    }
    self->threads.reset();
    if (com) CoUninitialize();
    return 0;
}

}  // namespace zoriza
