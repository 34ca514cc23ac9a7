#include "common/LoadFile.h"

#include <windows.h>

#include <cstring>
#include <new>

namespace {

constexpr uint32_t kHeadSize = 4;

class FileHandle {
public:
    explicit FileHandle(const char* path) noexcept
        : m_handle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~FileHandle() { if (IsOpen()) CloseHandle(m_handle); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // A directory cannot be opened this way, so this also refuses it.
    bool IsOpen() const noexcept { return m_handle != INVALID_HANDLE_VALUE; }

    // Size of a non-empty file below 4 GiB, else 0.
    uint32_t Size() const noexcept
    {
        DWORD high = 0;
        const DWORD low = GetFileSize(m_handle, &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0;
        return high ? 0 : low;
    }

    bool Read(char* to, uint32_t count) const noexcept
    {
        while (count) {
            DWORD got = 0;
            if (!ReadFile(m_handle, to, count, &got, nullptr) || got == 0) return false;
            to += got;
            count -= got;
        }
        return true;
    }

private:
    HANDLE m_handle;
};

}  // namespace

bool LoadFile(const char* path, smart_array<char>& buffer, uint32_t headSize) noexcept
{
    if (!path) return false;
    const FileHandle file(path);
    if (!file.IsOpen()) return false;
    const uint32_t size = file.Size();
    if (size == 0 || size < headSize) return false;
    const uint32_t count = headSize ? headSize : size;

    char* block = new (std::nothrow) char[count];
    if (!block || !buffer.reset(block, count)) return false;
    return file.Read(buffer.data, count);
}

LoadOutcome LoadCheckedFile(const char* path, const void* reader, HeadCheck check,
                            smart_array<char>& buffer)
{
    if (!path) return LoadOutcome::NotSupported;
    const FileHandle file(path);
    if (!file.IsOpen()) return LoadOutcome::NotSupported;
    const uint32_t size = file.Size();
    if (size < kHeadSize) return LoadOutcome::NotSupported;

    char head[kHeadSize];
    if (!file.Read(head, kHeadSize)) return LoadOutcome::NotSupported;
    if (!check(reader, head, kHeadSize)) return LoadOutcome::NotSupported;

    char* block = new (std::nothrow) char[size];
    if (!block || !buffer.reset(block, size)) return LoadOutcome::ReadFailed;
    std::memcpy(buffer.data, head, kHeadSize);
    return file.Read(buffer.data + kHeadSize, size - kHeadSize) ? LoadOutcome::Loaded : LoadOutcome::ReadFailed;
}
