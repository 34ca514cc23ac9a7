// kvhost: drives a plug-in the way the host does, from the command line.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "Commands.h"
#include "Text.h"

namespace {

// UTF-8 to a pipe or file as it is; to a console through its wide API, which
// shows Japanese whatever the console's code page.
class StandardConsole : public Console {
public:
    StandardConsole()
    {
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
    }
    void Out(const std::string& text) override { Write(stdout, STD_OUTPUT_HANDLE, text); }
    void Err(const std::string& text) override
    {
        EndProgress();
        Write(stderr, STD_ERROR_HANDLE, text);
    }
    void Progress(const std::string& text) override
    {
        Write(stderr, STD_ERROR_HANDLE, "\r" + text);
        m_progressShown = true;
    }
    ~StandardConsole() override { EndProgress(); }

private:
    void EndProgress()
    {
        if (m_progressShown) Write(stderr, STD_ERROR_HANDLE, "\n");
        m_progressShown = false;
    }
    static void Write(FILE* stream, DWORD handleId, const std::string& text)
    {
        HANDLE handle = GetStdHandle(handleId);
        DWORD mode = 0;
        if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
            std::fflush(stream);
            const std::wstring wide = Utf8ToWide(text);
            DWORD written = 0;
            WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &written, nullptr);
            return;
        }
        std::fwrite(text.data(), 1, text.size(), stream);
        std::fflush(stream);
    }
    bool m_progressShown = false;
};

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

}  // namespace

int main()
{
    // The wide command line keeps Japanese column titles and paths whatever
    // the ANSI code page.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(WideToUtf8(wide[i]));
    LocalFree(wide);
    StandardConsole console;
    KvhostContext context{console, ProgramFolder()};
    return RunKvhost(args, context);
}
