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

    // Runs `request`, which reaches the drive of `path`, and returns what it
    // returns or throws what it throws. Throws "Device unavailable" when it
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

    // Asks `question` of every path at once and waits for the answers in
    // order, all within one bound. The index of the first path answered
    // true, or paths.size(); a path that fails or is late answers false.
    std::size_t FirstTrue(const std::vector<std::wstring>& paths,
                          const std::function<bool(const std::wstring&)>& question);
    // Asks `question` of every path at once, all within one bound; a path
    // that fails or is late answers an empty text.
    std::vector<std::wstring> AskEach(const std::vector<std::wstring>& paths,
                                      const std::function<std::wstring(const std::wstring&)>& question);

private:
    class Pending;
    class Threads;
    using Answer = std::shared_ptr<Pending>;

    template <typename Result>
    std::vector<std::pair<Answer, std::shared_ptr<Result>>> StartEach(
        const std::vector<std::wstring>& paths, const std::function<Result(const std::wstring&)>& question);
    // The request under way, or none when its drive is still held by an
    // earlier one.
    Answer Start(const std::wstring& path, std::function<void()> request);
    // True when `answer` ended (well or not) before `deadline`; a late one
    // holds its drive until it ends.
    bool Ended(const Answer& answer, ULONGLONG deadline);
    ULONGLONG Deadline() const { return GetTickCount64() + boundMs_; }

    DWORD boundMs_;
    std::shared_ptr<Threads> threads_;
    std::map<std::wstring, Answer> late_;  // by drive: a request that outlived the bound
};

}  // namespace zoriza
