// GoogleTest's own locks are Windows critical sections, but its Notification
// is built on std::mutex and std::condition_variable, which the win32 thread
// model of the shipped toolchain lacks. This one is a Windows event.
#pragma once
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1
namespace testing::internal {
class Notification {
public:
    Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};
}  // namespace testing::internal
