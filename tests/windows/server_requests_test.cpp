// Requests that may reach a server, held by a gate the test opens: the bound,
// the drive held while its late request lasts, what a request throws, and
// the scan's order among answers that come at different times.
#include <gtest/gtest.h>
#include <windows.h>

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
    void TearDown() override { OpenGate(); }

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

TEST_F(ServerRequestsTest, TheFirstPathInOrderThatAnswersTrueWinsWithinOneBound) {
    const auto held = Held();
    struct Case {
        const char* description;
        std::vector<std::wstring> paths;
        std::size_t expected;
    };
    // The question answers true for a path ending in "+", false for "-",
    // holds one ending in "?" and throws for "!".
    const auto question = [held](const std::wstring& path) {
        if (path.back() == L'?') return held();
        if (path.back() == L'!') throw AppError(kDeviceUnavailable, L"Device unavailable");
        return path.back() == L'+';
    };
    const Case cases[] = {
        {"the first of two", {L"C:+", L"D:+"}, 0},
        {"past a false and a failing drive", {L"C:-", L"D:!", L"E:+", L"F:+"}, 2},
        {"past four held drives", {L"A:?", L"B:?", L"D:?", L"E:?", L"F:+"}, 4},
        {"none", {L"G:-", L"H:!"}, 2},
    };
    for (const Case& c : cases) {
        ServerRequests fresh{kBoundMs};
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(fresh.FirstTrue(c.paths, question), c.expected) << c.description;
        EXPECT_LT(GetTickCount64() - start, 2 * kBoundMs) << c.description;
    }

    // A drive the first scan waited on in vain answers "no" at once in the next.
    const std::vector<std::wstring> stalledThenServer = {L"A:?", L"F:+"};
    EXPECT_EQ(requests.FirstTrue(stalledThenServer, question), 1u);
    const ULONGLONG again = GetTickCount64();
    EXPECT_EQ(requests.FirstTrue(stalledThenServer, question), 1u);
    EXPECT_LT(GetTickCount64() - again, kBoundMs / 2);
}

}  // namespace
}  // namespace zoriza
