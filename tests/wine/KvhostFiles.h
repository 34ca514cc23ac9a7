#pragma once
// Files for the kvhost tests: the bundled samples, and scratch folders whose
// names are UTF-8 here and wide on the disk, so that a test can make file
// names that the ANSI code page cannot write.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "wine/KvhostProcess.h"
#include "wine/PluginHost.h"

namespace kvhost_files {

using kvhost_process::Utf8;
using kvhost_process::Wide;

inline std::string SourceDir()
{
    const char* dir = std::getenv("KVP_SOURCE_DIR");
    return dir ? dir : "..";
}

inline std::string Samples(const std::string& name) { return SourceDir() + "\\samples\\" + name; }

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

inline size_t Lines(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

inline std::string FileBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

inline bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file dated 2026-01-02 03:04:05 UTC, so that the host's update-time
// column is the same on every machine.
inline void StampFixedTime(const std::string& path)
{
    SYSTEMTIME when = {2026, 1, 0, 2, 3, 4, 5, 0};
    FILETIME stamp;
    SystemTimeToFileTime(&when, &stamp);
    HANDLE file = CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
}

// A scratch folder, removed with everything in it afterwards.
class ScratchFolder {
public:
    ScratchFolder() : m_root(Utf8(host::MakeScratchFolder(L"kvhost", GetCurrentProcessId() * 1000u + 500u))) {}
    ~ScratchFolder() { host::RemoveTree(Wide(m_root)); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& name) const { return m_root + "\\" + name; }

    // Writes a file (its folders made as needed) and gives its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = Path(name);
        for (size_t slash = path.find('\\', m_root.size() + 1); slash != std::string::npos;
             slash = path.find('\\', slash + 1))
            CreateDirectoryW(Wide(path.substr(0, slash)).c_str(), nullptr);
        HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        if (!bytes.empty()) WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return path;
    }

    // A copy of a sample folder's files, or of one of them, dated as above.
    void CopySamples(const std::string& game, const std::string& into = "") const
    {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW(Wide(Samples(game) + "\\*").c_str(), &entry);
        ASSERT_NE(find, INVALID_HANDLE_VALUE) << Samples(game);
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::string name = Utf8(entry.cFileName);
            CopySample(game + "\\" + name, into.empty() ? name : into + "\\" + name);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    std::string CopySample(const std::string& sample, const std::string& name) const
    {
        const std::string path = Write(name, FileBytes(Samples(sample)));
        StampFixedTime(path);
        return path;
    }

private:
    std::string m_root;
};

}  // namespace kvhost_files
