#pragma once
// Google Test's Notification for the cross builds, included into every
// source that sees Google Test's headers (its customisation point
// GTEST_HAS_NOTIFICATION_). Its own is made of std::mutex and
// std::condition_variable, which the C++ library of MinGW-w64's win32 thread
// model lacks; this one is a Windows event. Only Google Test's thread
// helper uses it.
#include <windows.h>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : m_event(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(m_event); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(m_event); }
    void WaitForNotification() { WaitForSingleObject(m_event, INFINITE); }

private:
    HANDLE m_event;
};

}  // namespace internal
}  // namespace testing

#define GTEST_HAS_NOTIFICATION_ 1
