#include "replay/WindowsFileSystem.h"

#include <cstring>
#include <new>

#include "common/LoadFile.h"
#include "common/PathName.h"

namespace {

// Another program (a virus scanner, an indexer, the host's own preview) may
// hold the replay open for a moment; the rename is tried again for a while.
constexpr int kReplaceAttempts = 10;
constexpr DWORD kReplaceDelayMs = 50;

// Attributes that the rewritten replay keeps. Read-only files are never
// rewritten, and the rest describe the file system's own business. The
// archive attribute is set whatever it was: the replay has changed, and an
// incremental backup must take it again.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsBusy(DWORD error) noexcept
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

}  // namespace

bool WindowsFileSystem::FullPath(const char* path, smart_array<char>& full) noexcept
{
    const DWORD needed = GetFullPathNameA(path, 0, nullptr, nullptr);   // with the NUL
    if (needed == 0) return false;
    smart_array<char> made;
    if (!made.reset(new (std::nothrow) char[needed](), needed) || !made.data) return false;
    const DWORD length = GetFullPathNameA(path, needed, made.data, nullptr);
    if (length == 0 || length >= needed) return false;
    full = made;
    return true;
}

FileState WindowsFileSystem::Probe(const char* path) noexcept
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileState::Missing;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return FileState::NotAFile;
    if (attributes & FILE_ATTRIBUTE_READONLY) return FileState::ReadOnly;
    return FileState::Writable;
}

bool WindowsFileSystem::Load(const char* path, smart_array<char>& buffer) noexcept
{
    // Shares reading only: nobody writes the file while it is read.
    return LoadFile(path, buffer, 0);
}

bool WindowsFileSystem::CreateTemp(const char* path) noexcept
{
    DiscardTemp();
    WIN32_FILE_ATTRIBUTE_DATA original;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &original)) return false;
    m_attributes = (original.dwFileAttributes & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE;
    m_created = original.ftCreationTime;

    // The replay's folder, with its last separator.
    const size_t folderLength = size_t(FileNamePart(path) - path);
    char folder[MAX_PATH];
    if (folderLength == 0 || folderLength >= MAX_PATH) return false;
    std::memcpy(folder, path, folderLength);
    folder[folderLength] = '\0';
    if (!GetTempFileNameA(folder, "kvp", 0, m_tempName)) {
        m_tempName[0] = '\0';
        return false;
    }
    // GetTempFileNameA made the file; from here on DiscardTemp removes it.
    m_temp = CreateFileA(m_tempName, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_temp != INVALID_HANDLE_VALUE;
}

bool WindowsFileSystem::WriteTemp(const char* bytes, uint32_t count) noexcept
{
    if (m_temp == INVALID_HANDLE_VALUE) return false;
    while (count) {
        DWORD written = 0;
        if (!WriteFile(m_temp, bytes, count, &written, nullptr) || written == 0) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

bool WindowsFileSystem::FlushTemp() noexcept
{
    if (m_temp == INVALID_HANDLE_VALUE) return false;
    SetFileTime(m_temp, &m_created, nullptr, nullptr);   // best effort, like the attributes
    const bool flushed = FlushFileBuffers(m_temp) != FALSE;
    const bool closed = CloseHandle(m_temp) != FALSE;
    m_temp = INVALID_HANDLE_VALUE;
    if (!flushed || !closed) return false;
    SetFileAttributesA(m_tempName, m_attributes);
    return true;
}

bool WindowsFileSystem::ReplaceWithTemp(const char* path) noexcept
{
    if (m_temp != INVALID_HANDLE_VALUE || !m_tempName[0]) return false;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(m_tempName, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            m_tempName[0] = '\0';   // it is the replay now
            return true;
        }
        if (attempt == kReplaceAttempts || !IsBusy(GetLastError())) return false;
        Sleep(kReplaceDelayMs);
    }
}

void WindowsFileSystem::DiscardTemp() noexcept
{
    if (m_temp != INVALID_HANDLE_VALUE) {
        CloseHandle(m_temp);
        m_temp = INVALID_HANDLE_VALUE;
    }
    if (m_tempName[0]) {
        SetFileAttributesA(m_tempName, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(m_tempName);
        m_tempName[0] = '\0';
    }
}
