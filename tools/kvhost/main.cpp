// kvhost: drives a plug-in the way the host does, from the command line.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <exception>
#include <new>
#include <vector>

#include "Commands.h"
#include "Text.h"

namespace {

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode);
}

// UTF-8 to a pipe or file as it is; to a console through its wide API, which
// shows Japanese whatever the console's code page.
class StandardConsole : public Console {
public:
    StandardConsole()
    {
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
    }
    // Runs also while an exception unwinds to main's catch-all: it must not
    // allocate, since running out of memory may be why it unwinds.
    ~StandardConsole() override { ClearProgress(); }

    void Out(const std::string& text) override { Write(stdout, STD_OUTPUT_HANDLE, text); }
    void Err(const std::string& text) override
    {
        EndProgress();
        Write(stderr, STD_ERROR_HANDLE, text);
    }
    // Only someone watching a console wants it; in a file it would be noise.
    void Progress(const std::string& text) override
    {
        if (!IsConsole(GetStdHandle(STD_ERROR_HANDLE))) return;
        // Spaces over what is left of a longer line before.
        const size_t width = DisplayWidth(text);
        const std::string rest(m_progressWidth > width ? m_progressWidth - width : 0, ' ');
        Write(stderr, STD_ERROR_HANDLE, "\r" + text + rest);
        m_progressWidth = std::max(m_progressWidth, width);
    }
    void EndProgress() override { ClearProgress(); }
    // One column less than the window: a line that fills it would wrap
    // before its line break in some consoles.
    size_t Width() const override
    {
        CONSOLE_SCREEN_BUFFER_INFO info;
        const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        if (!IsConsole(out) || !GetConsoleScreenBufferInfo(out, &info)) return 0;
        const int columns = info.srWindow.Right - info.srWindow.Left + 1;
        return columns > 1 ? size_t(columns - 1) : 0;
    }

private:
    // The progress line, which only a console shows, overwritten with
    // blanks from a fixed buffer.
    void ClearProgress() noexcept
    {
        static const wchar_t kBlanks[] = L"\r                                                                ";
        const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
        DWORD written = 0;
        if (m_progressWidth && IsConsole(handle)) {
            WriteConsoleW(handle, kBlanks, 1, &written, nullptr);
            for (size_t left = m_progressWidth; left;) {
                const DWORD n = DWORD(std::min(left, std::size(kBlanks) - 2));
                WriteConsoleW(handle, kBlanks + 1, n, &written, nullptr);
                left -= n;
            }
            WriteConsoleW(handle, kBlanks, 1, &written, nullptr);
        }
        m_progressWidth = 0;
    }

    static void Write(FILE* stream, DWORD handleId, const std::string& text)
    {
        if (text.empty()) return;
        const HANDLE handle = GetStdHandle(handleId);
        if (IsConsole(handle)) {
            std::fflush(stream);
            const std::wstring wide = Utf8ToWide(text);
            DWORD written = 0;
            WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &written, nullptr);
            return;
        }
        std::fwrite(text.data(), 1, text.size(), stream);
        std::fflush(stream);
    }
    size_t m_progressWidth = 0;
};

std::wstring ProgramFile()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return L"";
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

std::string FolderOf(const std::wstring& file)
{
    const size_t slash = file.find_last_of(L"\\/");
    return slash == std::wstring::npos ? "." : WideToUtf8(file.substr(0, slash));
}

// The product version that the file's version resource carries.
std::string VersionOf(const std::wstring& file)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return "(no version resource)";
    const WORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", (void**)&translation, &length) || length < 4)
        return "(no version resource)";
    wchar_t key[64];
    swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\ProductVersion", translation[0], translation[1]);
    const wchar_t* version = nullptr;
    if (!VerQueryValueW(block.data(), key, (void**)&version, &length) || length == 0) return "(no version resource)";
    return WideToUtf8(std::wstring(version, wcsnlen(version, length)));
}

}  // namespace

// Whatever goes wrong, kvhost ends with one line and exit code 1, never with
// an exception that ends the process on its own: the files it has written
// by then were each written whole.
int main()
{
    try {
        // The wide command line keeps every character of paths and column
        // titles; kvhost makes ANSI paths only for the plug-ins, and checks them.
        int count = 0;
        LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
        std::vector<std::string> args;
        for (int i = 1; wide && i < count; ++i) args.push_back(WideToUtf8(wide[i]));
        LocalFree(wide);
        StandardConsole console;
        const std::wstring program = ProgramFile();
        KvhostContext context{console, FolderOf(program), VersionOf(program)};
        return RunKvhost(args, context);
    } catch (const std::bad_alloc&) {
        // No allocation here: there may be no memory for one.
        std::fputs("kvhost: out of memory\n", stderr);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kvhost: failed: %s\n", failure.what());
    } catch (...) {
        std::fputs("kvhost: failed\n", stderr);
    }
    std::fflush(stderr);
    return 1;
}
