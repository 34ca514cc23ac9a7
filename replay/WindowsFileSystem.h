#pragma once
#include <windows.h>

#include "replay/CommentWriteBack.h"

// The write-back's steps on a Windows file system. The temporary file is made
// in the replay's own folder (so that the final rename stays on one volume
// and is atomic), takes the replay's hidden, system and not-indexed
// attributes, the archive attribute and its creation time, is flushed to the
// disk before the rename, and is removed again on every way out that does
// not end in the rename. The rename replaces the replay's directory entry:
// its security descriptor and alternate streams are not carried over (the
// new file gets the folder's), a hard link's other names keep the old
// content, and a symbolic link is replaced by the file itself. ReplaceFileA
// would carry more over, but it is not one atomic step (under Wine it moves
// the replay aside first), and no failure may leave the replay's name empty.
class WindowsFileSystem final : public IFileSystem {
public:
    WindowsFileSystem() noexcept = default;
    ~WindowsFileSystem() override { DiscardTemp(); }
    WindowsFileSystem(const WindowsFileSystem&) = delete;
    WindowsFileSystem& operator=(const WindowsFileSystem&) = delete;

    bool FullPath(const char* path, smart_array<char>& full) noexcept override;
    FileState Probe(const char* path) noexcept override;
    bool Load(const char* path, smart_array<char>& buffer) noexcept override;
    bool CreateTemp(const char* path) noexcept override;
    bool WriteTemp(const char* bytes, uint32_t count) noexcept override;
    bool FlushTemp() noexcept override;
    bool ReplaceWithTemp(const char* path) noexcept override;
    void DiscardTemp() noexcept override;

private:
    HANDLE m_temp = INVALID_HANDLE_VALUE;
    char m_tempName[MAX_PATH] = {};
    DWORD m_attributes = FILE_ATTRIBUTE_ARCHIVE;
    FILETIME m_created = {};
};
