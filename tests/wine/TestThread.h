#pragma once
// A thread, which the win32 thread model's std lacks; join() or the destructor waits.
#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>

class TestThread {
public:
    explicit TestThread(std::function<void()> body) : m_body(new std::function<void()>(std::move(body)))
    {
        m_handle = CreateThread(nullptr, 0, &Run, m_body.get(), 0, nullptr);
        if (!m_handle) throw std::runtime_error("CreateThread failed");
    }
    TestThread(TestThread&& other) noexcept
        : m_body(std::move(other.m_body)), m_handle(std::exchange(other.m_handle, nullptr)) {}
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;
    TestThread& operator=(TestThread&&) = delete;
    ~TestThread() { join(); }

    void join()
    {
        if (!m_handle) return;
        WaitForSingleObject(m_handle, INFINITE);
        CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    static DWORD WINAPI Run(void* body)
    {
        (*static_cast<std::function<void()>*>(body))();
        return 0;
    }

    std::unique_ptr<std::function<void()>> m_body;   // where the thread finds it, also after a move
    HANDLE m_handle = nullptr;
};
