// The threads that carry requests that may reach a server, and one request as
// its caller and the thread that carries it share it.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "platform/win32/unique_handle.h"

namespace zoriza {

// The one moment a request that changes something may still take effect:
// whichever comes first, the request passing it or its caller abandoning it
// (the caller's bound ran out), decides for good.
class CommitPoint {
public:
    // On the request's thread, just before the step that makes the change:
    // false when the caller has abandoned the request, which then makes none.
    bool Pass() { return Decide(kPassed); }
    // On the caller's: false when the request has passed already.
    bool Abandon() { return Decide(kAbandoned); }

private:
    enum State : LONG { kOpen, kPassed, kAbandoned };
    bool Decide(State decision) {
        LONG open = kOpen;
        return state_.compare_exchange_strong(open, decision) || open == decision;
    }
    std::atomic<LONG> state_{kOpen};
};

// One request. A caller that stopped waiting for it may let it go: the
// thread still has it to end.
class PendingRequest {
public:
    explicit PendingRequest(std::function<void()> request);

    // On the carrying thread: runs the request, keeping what it throws.
    void Execute();
    void Finish() { SetEvent(done_.get()); }

    HANDLE Done() const { return done_.get(); }
    bool Ended() const { return WaitForSingleObject(done_.get(), 0) == WAIT_OBJECT_0; }
    // Once ended: throws what the request threw, if anything.
    void Rethrow() const;

private:
    std::function<void()> request_;
    std::exception_ptr error_;
    UniqueHandle done_;
};

// Starting a thread is slow (about 3 ms under Wine), so a thread whose
// request has ended waits for the next one; a new thread starts only while
// every thread is busy, or held by a server that does not answer.
class RequestThreads : public std::enable_shared_from_this<RequestThreads> {
public:
    void Carry(const std::shared_ptr<PendingRequest>& request);

    // Cancels the input and output of every request still under way, so
    // that the process can end though a server never answers, and lets the
    // idle threads end.
    void Close();

private:
    struct Worker;

    std::shared_ptr<Worker> TakeIdle();
    // False when the threads are closing: the worker ends instead.
    bool ReturnIdle(const std::shared_ptr<Worker>& worker);
    std::shared_ptr<Worker> Launch();
    static DWORD WINAPI WorkerMain(void* parameter);

    SRWLOCK lock_ = SRWLOCK_INIT;
    std::vector<std::shared_ptr<Worker>> idle_;
    std::vector<std::shared_ptr<Worker>> all_;
    bool closing_ = false;
};

}  // namespace zoriza
