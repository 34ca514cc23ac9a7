#pragma once
// What the host does with a plug-in, and the files the tests hand it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/PluginExports.h"
#include "tools/games/Games.h"
#include "tools/kvhost/Text.h"

namespace host {

inline std::string Env(const char* name) { return std::getenv(name) ? std::getenv(name) : "."; }

// The built plug-ins are in KVP_PLUGIN_DIR, the tests' own in KVP_TEST_PLUGIN_DIR.
inline std::string PluginPath(const std::string& name, const char* folder = "KVP_PLUGIN_DIR")
{
    return Env(folder) + "\\" + name + ".kvp";
}

// A plug-in loaded, and its exports found, as the host does.
struct Plugin {
    explicit Plugin(const std::string& name, const char* folder = "KVP_PLUGIN_DIR")
        : module(LoadLibraryA(PluginPath(name, folder).c_str())),
          exports(module ? FindPluginExports(module) : PluginExportTable()) {}
    ~Plugin() { if (module) FreeLibrary(module); }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    const HMODULE module;
    const PluginExportTable exports;
};

// The bytes of a file (UTF-8 path); empty when it cannot be read.
inline std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

// Writes a file (UTF-8 path), making the folders it lies in.
inline bool WriteBytes(const std::string& path, const std::string& bytes)
{
    for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
        CreateDirectoryW(Utf8ToWide(path.substr(0, slash)).c_str(), nullptr);
    HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool done = file != INVALID_HANDLE_VALUE &&
                      (bytes.empty() || WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr));
    CloseHandle(file);
    return done && written == bytes.size();
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName, path = dir + L"\\" + name;
            if (name == L"." || name == L"..") continue;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

// A scratch folder; names in UTF-8 (wide on disk), its own path ASCII.
class TempDir {
public:
    TempDir()
    {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        const unsigned first = GetCurrentProcessId() * 1000u;
        for (unsigned n = first; n < first + 1000; ++n) {
            m_root = WideToUtf8(base) + "kvptest" + std::to_string(n);
            if (CreateDirectoryW(Utf8ToWide(m_root).c_str(), nullptr)) return;
            if (GetLastError() != ERROR_ALREADY_EXISTS) break;
        }
        throw std::runtime_error("cannot make a scratch folder in " + WideToUtf8(base));
    }
    ~TempDir() { RemoveTree(Utf8ToWide(m_root)); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& name) const { return m_root + "\\" + name; }

    // Writes a file, its folders made as needed, and gives its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        EXPECT_TRUE(WriteBytes(Path(name), bytes)) << Path(name);
        return Path(name);
    }

private:
    std::string m_root;
};

// Bytes whose last byte is the last readable one before a no-access page:
// a read past the end crashes the test instead of passing.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::string& bytes) : m_size(bytes.size())
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize, pages = ((bytes.size() + page - 1) / page + 1) * page;
        m_base = static_cast<char*>(VirtualAlloc(nullptr, pages, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + pages - page, page, PAGE_NOACCESS, &old);
        m_data = m_base + (pages - page) - bytes.size();
        if (!bytes.empty()) std::memcpy(m_data, bytes.data(), bytes.size());
    }
    ~GuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    const char* Data() const { return m_data; }
    DWORD Size() const { return DWORD(m_size); }

private:
    char* m_base = nullptr;
    char* m_data = nullptr;
    size_t m_size;
};

// With the prefix's heap flags this also catches a one-byte overrun of a
// block handed over (LocalAlloc takes the process heap).
inline bool HeapIsIntact() { return HeapValidate(GetProcessHeap(), 0, nullptr) != FALSE; }

// An export's result and the bytes of the blocks it handed over, freed.
struct Answer {
    int result = -1;
    std::vector<std::string> blocks;
    bool freed = true;
    bool operator==(const Answer& o) const { return result == o.result && blocks == o.blocks; }
};

// Every file export once, as the host calls them.
class PluginCalls {
public:
    PluginCalls(const std::string& name, bool replay, const char* folder = "KVP_PLUGIN_DIR")
        : m_replay(replay), m_plugin(name, folder), e(m_plugin.exports) {}
    explicit PluginCalls(const games::Game& game) : PluginCalls(game.plugin, game.IsReplay()) {}

    bool Ready() const
    {
        return m_plugin.module && e.IsSupported && e.GetFileInfoList &&
               (m_replay ? e.GetFileInfoText1 && e.GetFileInfoText2 : e.GetFileInfoImage2 != nullptr);
    }

    // Size 0 is path mode.
    std::vector<Answer> CallEvery(const char* pathOrImage, DWORD size) const
    {
        std::vector<Answer> a(m_replay ? 4 : 3);
        HLOCAL blocks[2] = {};
        auto take = [&](Answer& answer, int result) {
            answer.result = result;
            for (HLOCAL& block : blocks) {
                if (!block) continue;
                answer.blocks.emplace_back(static_cast<const char*>(block), LocalSize(block));
                answer.freed = answer.freed && LocalFree(block) == nullptr;
                block = nullptr;
            }
        };
        a[0].result = e.IsSupported(pathOrImage, size);
        take(a[1], e.GetFileInfoList(pathOrImage, size, &blocks[0]));
        if (m_replay) {
            take(a[2], e.GetFileInfoText1(pathOrImage, size, &blocks[0]));
            take(a[3], e.GetFileInfoText2(pathOrImage, size, &blocks[0]));
        } else {
            take(a[2], e.GetFileInfoImage2(pathOrImage, size, &blocks[0], &blocks[1]));
        }
        return a;
    }

private:
    bool m_replay;
    Plugin m_plugin;
    const PluginExportTable& e;
};

}  // namespace host
