// Requests that may reach a server. A server that stops answering (switched
// off, a dropped VPN, a mapping to a machine that is gone) makes Windows wait
// for its network timeout, 20 to 60 seconds a request. Each request here runs
// on a thread of its own and is waited for at most one bound; meanwhile the
// waiting thread keeps its message queue answered, so that the window never
// shows as not responding.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zoriza {

// How long a request that may reach a server is waited for. A request still
// pending then counts as a drive that cannot be read.
constexpr DWORD kServerAnswerBoundMs = 3000;

class ServerRequests {
public:
    explicit ServerRequests(DWORD boundMs = kServerAnswerBoundMs);
    ~ServerRequests();
    ServerRequests(const ServerRequests&) = delete;
    ServerRequests& operator=(const ServerRequests&) = delete;

    // Runs `request`, which reaches the drive of `path` (or, for a request
    // that reaches several, a name of its own), and returns what it returns
    // or throws what it throws. Throws "Device unavailable" when it
    // has not ended within the bound, and at once while an earlier request to
    // that drive is still pending. `request` must own all it uses: it may
    // outlive this call.
    template <typename Result>
    Result Ask(const std::wstring& path, std::function<Result()> request) {
        auto result = std::make_shared<Result>();
        Run(path, [result, request = std::move(request)] { *result = request(); });
        return std::move(*result);
    }
    void Run(const std::wstring& path, std::function<void()> request);

    // Asks `question` of the paths in order, all within one bound, and
    // returns the index of the first answered true, or paths.size(); a path
    // that fails or is late answers false. One thread asks them in turn;
    // should that take longer than a moment, the paths after the one it
    // waits on are asked at once, each on a thread of its own, so that
    // drives that do not answer cost one wait together.
    std::size_t FirstTrue(const std::vector<std::wstring>& paths,
                          const std::function<bool(const std::wstring&)>& question);

private:
    class Pending;
    class Threads;
    class Verdicts;
    using Request = std::shared_ptr<Pending>;

    // Whether a request that outlived the bound still holds `drive`.
    bool Held(const std::wstring& drive);
    // The request under way, or none when its drive is held.
    Request Start(const std::wstring& path, std::function<void()> request);
    // True when `pending` ended (well or not) before `deadline`; a late one
    // holds its drive until it ends.
    bool Ended(const Request& pending, ULONGLONG deadline);
    void AskTheRestAtOnce(const std::vector<std::wstring>& paths,
                          const std::function<bool(const std::wstring&)>& question,
                          const std::shared_ptr<Verdicts>& verdicts, const Request& inTurn, ULONGLONG deadline);
    ULONGLONG Deadline() const { return GetTickCount64() + boundMs_; }

    DWORD boundMs_;
    std::shared_ptr<Threads> threads_;
    std::map<std::wstring, Request> late_;  // by drive: a request that outlived the bound
};

}  // namespace zoriza
