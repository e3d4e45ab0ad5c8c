// Requests that may reach a server, held by a gate the test opens: the bound,
// the drive held while its late request lasts, what a request throws, and
// the scan: the answer in the drives' order, how many requests each drive
// receives, and when the scan ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/error.h"
#include "platform/win32/server_requests.h"
#include "platform/win32/unique_handle.h"

namespace zoriza {
namespace {

constexpr DWORD kBoundMs = 500;

class ServerRequestsTest : public ::testing::Test {
protected:
    // A request held until the gate opens: a server that does not answer.
    std::function<bool()> Held() const {
        const HANDLE gate = gate_.get();
        return [gate] { return WaitForSingleObject(gate, INFINITE) == WAIT_OBJECT_0; };
    }
    void OpenGate() { SetEvent(gate_.get()); }
    // Opened whatever the test did, so that no request of it is left held.
    void TearDown() override {
        OpenGate();
        SetEvent(end_.get());
    }

    static ::testing::AssertionResult IsDeviceUnavailable(const std::function<void()>& call) {
        try {
            call();
        } catch (const AppError& error) {
            if (error.Number() == kDeviceUnavailable && error.Description() == L"Device unavailable") {
                return ::testing::AssertionSuccess();
            }
            return ::testing::AssertionFailure() << "error " << error.Number();
        }
        return ::testing::AssertionFailure() << "no error";
    }

    UniqueHandle gate_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle end_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ServerRequests requests{kBoundMs};
};

TEST_F(ServerRequestsTest, AnAnswerOrAnErrorComesBackAsTheRequestGaveIt) {
    EXPECT_EQ(requests.Ask<std::wstring>(L"F:\\VekPro", [] { return std::wstring(L"VEKBIN.BAT"); }), L"VEKBIN.BAT");
    try {
        requests.Run(L"F:\\VekPro", [] { throw AppError(kPathNotFound, L"Path not found"); });
        ADD_FAILURE() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number(), kPathNotFound);
    }
}

TEST_F(ServerRequestsTest, ALateDriveIsNotAskedAgainUntilItsRequestHasEnded) {
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(IsDeviceUnavailable([&] { requests.Ask<bool>(L"F:\\VekPro", Held()); }));
    EXPECT_GE(GetTickCount64() - start, kBoundMs - 20);

    // F: is held, on any path and in any case; other drives are not.
    int asked = 0;
    const auto count = [&asked] { return ++asked; };
    EXPECT_TRUE(IsDeviceUnavailable([&] { requests.Ask<int>(L"f:\\Other", count); }));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(requests.Ask<int>(L"G:\\VekPro", count), 1);
    EXPECT_EQ(requests.Ask<int>(L"\\\\server\\apps\\VekPro", count), 2);

    OpenGate();
    Sleep(50);  // the held request ends
    EXPECT_EQ(requests.Ask<int>(L"F:\\VekPro", count), 3);
}

// A change whose caller stops waiting before it passes its commit point
// never takes effect, though it goes on; one that passed it in time is
// waited for until its step is done, and reported as done.
TEST_F(ServerRequestsTest, AChangeTakesEffectOnlyWhileItsCallerWaits) {
    const auto made = std::make_shared<std::atomic<int>>(0);
    const auto change = [made](std::function<void()> beforeCommit, DWORD stepMs) {
        return [made, beforeCommit, stepMs](CommitPoint& commit) {
            beforeCommit();
            if (!commit.Pass()) return false;
            Sleep(stepMs);
            return ++*made > 0;
        };
    };
    const std::function<bool()> held = Held();
    EXPECT_TRUE(IsDeviceUnavailable(
        [&] { requests.Change<bool>(L"F:\\VekPro", change([held] { held(); }, 0)); }));
    OpenGate();
    Sleep(100);  // the late change ends
    EXPECT_EQ(*made, 0) << "a change reported as late took effect afterwards";

    EXPECT_TRUE(requests.Change<bool>(L"G:\\VekPro", change([] {}, kBoundMs * 3 / 2)));
    EXPECT_EQ(*made, 1) << "a change that passed its commit point in time was not waited for";
}

// The scan's question, by the end of the path: true for "+", false for "-",
// true after 400 ms for "*" (a slow server that holds the launcher),
// false after longer than a moment for "~", false once the test opens the
// gate for "?" and once the test ends for "#", and an error for "!". It
// counts the requests each path receives.
class ScanQuestion {
public:
    ScanQuestion(HANDLE gate, HANDLE end) : gate_(gate), end_(end) {}

    bool operator()(const std::wstring& path) const {
        Count(path);
        switch (path.back()) {
            case L'~': Sleep(300); return false;
            case L'*': Sleep(400); return true;
            case L'?': WaitForSingleObject(gate_, INFINITE); return false;
            case L'#': WaitForSingleObject(end_, INFINITE); return false;
            case L'!': throw AppError(kDeviceUnavailable, L"Device unavailable");
            default: return path.back() == L'+';
        }
    }
    std::vector<int> Asks(const std::vector<std::wstring>& paths) const {
        std::vector<int> asks;
        AcquireSRWLockExclusive(&counts_->lock);
        for (const std::wstring& path : paths) asks.push_back(counts_->asks[path]);
        ReleaseSRWLockExclusive(&counts_->lock);
        return asks;
    }

private:
    struct Counts {
        SRWLOCK lock = SRWLOCK_INIT;
        std::map<std::wstring, int> asks;
    };
    void Count(const std::wstring& path) const {
        AcquireSRWLockExclusive(&counts_->lock);
        ++counts_->asks[path];
        ReleaseSRWLockExclusive(&counts_->lock);
    }

    HANDLE gate_;
    HANDLE end_;
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};

// Long beside the slow drive's 300 ms, so that a scan that waits the bound
// though it knows the answer cannot pass for one that does not.
constexpr DWORD kScanBoundMs = 2000;

TEST_F(ServerRequestsTest, TheScanAsksEachDriveOnceAndEndsWhenTheFirstHolderIsKnown) {
    struct Case {
        const char* description;
        std::vector<std::wstring> paths;
        int scans;  // in a row, on one program's requests
        std::size_t expected;
        std::vector<int> asks;  // for each path, over all the scans
        bool waitsTheBound;     // for a silent drive before the holder
    };
    const Case cases[] = {
        {"the first of two", {L"C:+", L"D:+"}, 1, 0, {1, 0}, false},
        {"past a false and a failing drive", {L"C:-", L"D:!", L"E:+", L"F:+"}, 1, 2, {1, 1, 1, 0}, false},
        {"past four silent drives", {L"A:#", L"B:#", L"D:#", L"E:#", L"F:+"}, 1, 4, {1, 1, 1, 1, 1}, true},
        {"none", {L"G:-", L"H:!"}, 1, 2, {1, 1}, false},
        {"a slow drive, the server, a silent drive", {L"A:~", L"F:+", L"G:#"}, 2, 1, {2, 2, 1}, false},
        {"a silent drive after the server", {L"F:+", L"G:#"}, 2, 0, {2, 0}, false},
        {"silent drives again", {L"A:#", L"F:+"}, 3, 1, {1, 3}, true},
        {"a slow server alone", {L"F:*"}, 1, 0, {1}, false},
        {"a slow server after a drive that says no", {L"C:-", L"F:*"}, 1, 1, {1, 1}, false},
        {"a slow server before a silent drive", {L"F:*", L"G:#"}, 1, 0, {1, 1}, false},
    };
    for (const Case& c : cases) {
        const ScanQuestion question(gate_.get(), end_.get());
        ServerRequests fresh{kScanBoundMs};
        for (int scan = 1; scan <= c.scans; ++scan) {
            const ULONGLONG start = GetTickCount64();
            EXPECT_EQ(fresh.FirstTrue(c.paths, question), c.expected) << c.description << ", scan " << scan;
            const ULONGLONG elapsed = GetTickCount64() - start;
            // Only the first scan waits for a silent drive: the next ones pass it over.
            if (c.waitsTheBound && scan == 1) {
                EXPECT_GE(elapsed, kScanBoundMs - 20) << c.description;
                EXPECT_LT(elapsed, 2 * kScanBoundMs) << c.description;
            } else {
                EXPECT_LT(elapsed, kScanBoundMs / 2) << c.description << ", scan " << scan;
            }
        }
        EXPECT_EQ(question.Asks(c.paths), c.asks) << c.description;
    }
}

// A drive the scan waited on in vain is asked again as soon as its request
// has ended, though a drive after the server is still silent.
TEST_F(ServerRequestsTest, AHeldDriveIsAskedAgainAsSoonAsItAnswers) {
    const ScanQuestion question(gate_.get(), end_.get());
    const std::vector<std::wstring> paths = {L"A:?", L"F:+", L"G:#"};
    EXPECT_EQ(requests.FirstTrue(paths, question), 1u);
    OpenGate();
    Sleep(50);  // A's request ends
    EXPECT_EQ(requests.FirstTrue(paths, question), 1u);
    EXPECT_EQ(question.Asks(paths), (std::vector<int>{2, 2, 1}));
}

}  // namespace
}  // namespace zoriza
