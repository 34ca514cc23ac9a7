#pragma once
// What the host does with a plug-in, for the tests: load it by file name,
// find its exports by name, and free every block it hands over.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "common/PluginExports.h"

namespace host {

// A plug-in in the folder that an environment variable names: the built
// plug-ins in KVP_PLUGIN_DIR, the tests' own in KVP_TEST_PLUGIN_DIR.
inline std::string PluginPath(const std::string& name, const char* folder = "KVP_PLUGIN_DIR")
{
    const char* dir = std::getenv(folder);
    return std::string(dir ? dir : ".") + "\\" + name + ".kvp";
}

class Plugin {
public:
    explicit Plugin(const std::string& name, const char* folder = "KVP_PLUGIN_DIR")
        : m_module(LoadLibraryA(PluginPath(name, folder).c_str()))
    {
        if (m_module) m_exports = FindPluginExports(m_module);
    }
    ~Plugin() { if (m_module) FreeLibrary(m_module); }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    HMODULE Module() const { return m_module; }
    // Null where the plug-in lacks the export.
    const PluginExportTable& Exports() const { return m_exports; }

private:
    HMODULE m_module;
    PluginExportTable m_exports;
};

// A block handed over by a plug-in; the host frees it with LocalFree.
struct Block {
    HLOCAL handle = nullptr;
    Block() = default;
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    ~Block() { Release(); }
    void Release()
    {
        if (handle) {
            EXPECT_EQ(LocalFree(handle), nullptr) << "LocalFree refused a block";
        }
        handle = nullptr;
    }
    size_t Size() const { return handle ? LocalSize(handle) : 0; }
    const char* Bytes() const { return static_cast<const char*>(handle); }
    const char* Field(int i) const { return Bytes() + 512 * i; }
};

// Removes a folder and everything in it. Wide names: a test may make files
// whose names the ANSI code page cannot hold.
inline void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = dir + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

// Makes a new folder named prefix and a number in the temporary folder, the
// numbers tried from first on; gives up with a clear message (an exception,
// which fails the test) when the folder cannot be made, or when a bounded
// number of names are all taken.
inline std::wstring MakeScratchFolder(const std::wstring& prefix, unsigned first)
{
    constexpr unsigned kAttempts = 1000;
    wchar_t base[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, base);
    DWORD error = ERROR_PATH_NOT_FOUND;
    for (unsigned n = first; length > 0 && length < MAX_PATH && n - first < kAttempts; ++n) {
        const std::wstring path = base + prefix + std::to_wstring(n);
        if (CreateDirectoryW(path.c_str(), nullptr)) return path;
        error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
    }
    char where[3 * MAX_PATH] = {};
    WideCharToMultiByte(CP_UTF8, 0, base, -1, where, sizeof where, nullptr, nullptr);
    const bool taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    throw std::runtime_error("cannot make a scratch folder in the temporary folder \"" + std::string(where) + "\": " +
                             (taken ? std::to_string(kAttempts) + " names in a row are taken"
                                    : "Windows error " + std::to_string(error)));
}

// A scratch folder for the files of one test, removed afterwards.
class TempDir {
public:
    TempDir()
    {
        const std::wstring made = MakeScratchFolder(L"kvptest", GetCurrentProcessId() * 1000u);
        // The plug-ins take ANSI paths: the folder's must convert exactly.
        char path[MAX_PATH] = {};
        BOOL lossy = FALSE;
        if (!WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, made.c_str(), -1, path, MAX_PATH, nullptr, &lossy) ||
            lossy) {
            RemoveDirectoryW(made.c_str());
            throw std::runtime_error("the scratch folder's path does not fit the ANSI code page");
        }
        m_path = path;
    }
    ~TempDir()
    {
        wchar_t wide[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, m_path.c_str(), -1, wide, MAX_PATH)) RemoveTree(wide);
    }

    std::string Path(const std::string& name) const { return m_path + "\\" + name; }
    const std::string& Root() const { return m_path; }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = Path(name);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        if (!bytes.empty()) WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return path;
    }

    static std::string Read(const std::string& path)
    {
        std::string out;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return out;
        char chunk[65536];
        DWORD got = 0;
        while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got) out.append(chunk, got);
        CloseHandle(file);
        return out;
    }

private:
    std::string m_path;
};

// Bytes placed so that their last byte is the last readable byte before a
// no-access page: a read past the end crashes the test instead of passing.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::string& bytes)
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        m_pages = ((bytes.size() + page - 1) / page + 1) * page;
        m_base = static_cast<char*>(VirtualAlloc(nullptr, m_pages, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + m_pages - page, page, PAGE_NOACCESS, &old);
        m_data = m_base + (m_pages - page) - bytes.size();
        if (!bytes.empty()) memcpy(m_data, bytes.data(), bytes.size());
        m_size = bytes.size();
    }
    ~GuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    const char* Data() const { return m_data; }
    DWORD Size() const { return DWORD(m_size); }

private:
    char* m_base = nullptr;
    char* m_data = nullptr;
    size_t m_pages = 0;
    size_t m_size = 0;
};

// True while the process heap (which LocalAlloc uses) is intact; with the
// prefix's heap flags this also catches overruns by a single byte.
inline bool HeapIsIntact()
{
    return HeapValidate(GetProcessHeap(), 0, nullptr) != FALSE;
}

}  // namespace host
