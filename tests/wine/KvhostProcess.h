#pragma once
// kvhost.exe started as a user starts it: its own process with a wide command
// line, its output and error streams in files, its exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace kvhost_process {

inline std::wstring Wide(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], length);
    return wide;
}

inline std::string Utf8(const std::wstring& wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(length > 0 ? length : 0), '\0');
    if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), &utf8[0], length, nullptr, nullptr);
    return utf8;
}

// One argument as CommandLineToArgvW reads it back.
inline std::wstring Quoted(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

inline std::wstring KvhostPath()
{
    const char* dir = std::getenv("KVP_PLUGIN_DIR");
    return Wide(std::string(dir ? dir : ".") + "\\kvhost.exe");
}

// A file that the child inherits as one of its standard handles.
inline HANDLE InheritableFile(const std::wstring& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                       FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

inline std::string ReadAndDelete(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char chunk[65536];
        DWORD got = 0;
        while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
        CloseHandle(file);
    }
    DeleteFileW(path.c_str());
    return bytes;
}

struct Finished {
    DWORD exit = ~0u;
    std::string out, err;  // the bytes kvhost wrote
};

struct Launch {
    std::wstring folder;                // working folder; empty: the test's
    HANDLE output = nullptr;            // instead of a file, e.g. a console
    HANDLE error = nullptr;
    DWORD timeoutMs = 60000;
    // Runs while kvhost runs, e.g. to drive its dialog on its main thread.
    std::function<void(const PROCESS_INFORMATION&)> whileRunning;
};

// Starts kvhost.exe with the arguments (UTF-8) and waits for it; a kvhost
// that does not end in time is ended and the test fails.
inline Finished RunKvhostExe(const std::vector<std::string>& args, const Launch& launch = {})
{
    std::wstring commandLine = Quoted(KvhostPath());
    for (const std::string& arg : args) commandLine += L" " + Quoted(Wide(arg));

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t outPath[MAX_PATH], errPath[MAX_PATH];
    GetTempFileNameW(temp, L"kvo", 0, outPath);
    GetTempFileNameW(temp, L"kve", 0, errPath);
    HANDLE in = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = launch.output ? launch.output : InheritableFile(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = launch.error ? launch.error : InheritableFile(errPath, GENERIC_WRITE, CREATE_ALWAYS);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    Finished finished;
    const BOOL started =
        CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, launch.output ? 0 : DETACHED_PROCESS,
                       nullptr, launch.folder.empty() ? nullptr : launch.folder.c_str(), &startup, &process);
    EXPECT_TRUE(started) << "cannot start " << Utf8(commandLine) << ": error " << GetLastError();
    if (started) {
        if (launch.whileRunning) launch.whileRunning(process);
        if (WaitForSingleObject(process.hProcess, launch.timeoutMs) != WAIT_OBJECT_0) {
            ADD_FAILURE() << Utf8(commandLine) << " did not end in time";
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        GetExitCodeProcess(process.hProcess, &finished.exit);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(in);
    if (!launch.output) CloseHandle(out);
    if (!launch.error) CloseHandle(err);
    finished.out = ReadAndDelete(outPath);
    finished.err = ReadAndDelete(errPath);
    return finished;
}

}  // namespace kvhost_process
