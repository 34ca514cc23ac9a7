#include "FileSystem.h"

#include <algorithm>
#include <vector>

#include "Text.h"

std::string WindowsPath(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::wstring WidePath(const std::string& utf8Path) { return Utf8ToWide(WindowsPath(utf8Path)); }

std::string NamePart(const std::string& path)
{
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path)
{
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string WithoutExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('\\');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path : path.substr(0, dot);
}

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesW(WidePath(path).c_str()); }

struct FileIdentity {
    DWORD volume = 0, high = 0, low = 0;
};

bool IdentityOf(const std::string& path, FileIdentity& identity)
{
    HANDLE file = CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return ok;
}

}  // namespace

bool IsFolder(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

std::string FullPath(const std::string& path)
{
    const std::wstring wide = WidePath(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) return WindowsPath(path);
    std::vector<wchar_t> full(length);
    const DWORD written = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    return written > 0 && written < length ? WideToUtf8(std::wstring_view(full.data(), written)) : WindowsPath(path);
}

bool SameFile(const std::string& a, const std::string& b)
{
    FileIdentity x, y;
    if (IdentityOf(a, x) && IdentityOf(b, y))
        return x.volume == y.volume && x.high == y.high && x.low == y.low;
    return lstrcmpiW(Utf8ToWide(FullPath(a)).c_str(), Utf8ToWide(FullPath(b)).c_str()) == 0;
}

bool CreateFolders(const std::string& path, std::string& error)
{
    const std::string full = FullPath(path);
    if (IsFolder(full)) return true;
    if (Exists(full)) {
        error = full + " is a file, not a folder";
        return false;
    }
    const size_t slash = full.find_last_of('\\');
    if (slash != std::string::npos && slash > 0) {
        std::string parent = full.substr(0, slash);
        if (parent.size() == 2 && parent[1] == ':') parent += '\\';  // "C:" alone is the drive's current folder
        if (!CreateFolders(parent, error)) return false;
    }
    if (!CreateDirectoryW(WidePath(full).c_str(), nullptr) && !IsFolder(full)) {
        error = "cannot create folder " + full + ": " + SystemErrorText(GetLastError());
        return false;
    }
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes, bool replace, std::string& error)
{
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, replace ? CREATE_ALWAYS : CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot write " + path + ": " + SystemErrorText(GetLastError());
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    const DWORD writeError = GetLastError();
    CloseHandle(file);
    if (!ok) {
        DeleteFileW(WidePath(path).c_str());  // no half-written file left behind
        error = "cannot write " + path + ": " + SystemErrorText(writeError);
    }
    return ok;
}

std::string SystemErrorText(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return "file not found";
    case ERROR_PATH_NOT_FOUND: return "folder not found";
    case ERROR_ACCESS_DENIED: return "access denied";
    case ERROR_SHARING_VIOLATION: return "file in use";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "disk full";
    case ERROR_WRITE_PROTECT: return "write-protected";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return "it exists";
    case ERROR_BAD_EXE_FORMAT: return "not a Windows DLL for this architecture";
    case ERROR_MOD_NOT_FOUND: return "module not found";
    case ERROR_INVALID_NAME: return "invalid name";
    default: return "Windows error " + std::to_string(error);
    }
}

bool AnsiPath::From(const std::string& utf8Path, AnsiPath& path, std::string& why)
{
    const std::string windowsPath = WindowsPath(utf8Path);
    if (Utf8ToAnsiExactly(windowsPath, path.m_ansi)) return true;
    const std::string outside = CharactersOutsideAnsi(windowsPath);
    why = "its path holds " + (outside.empty() ? "characters" : outside) + " that the ANSI code page (" +
          std::to_string(GetACP()) + ") lacks, and plug-ins take ANSI paths";
    return false;
}
