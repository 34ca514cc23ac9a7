#pragma once
#include <windows.h>

#include <string>

// kvhost's own work with files, on UTF-8 paths through the wide file API:
// any name the file system holds can be found, shown and written. Only the
// plug-ins get ANSI paths, as AnsiPath.

// '/' as '\', the separator Windows expects from every caller.
std::string WindowsPath(std::string path);
std::wstring WidePath(const std::string& utf8Path);

// The parts of a path with '\' separators: "kvora_01.rpy" and "a\b" of
// "a\b\kvora_01.rpy" ("" when it has no folder part), and the path without
// the extension of its name ("a\b\kvora_01").
std::string NamePart(const std::string& path);
std::string FolderPart(const std::string& path);
std::string WithoutExtension(const std::string& path);

bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);
bool Exists(const std::string& path);
std::string FullPath(const std::string& path);
// True when both paths name one existing file, whatever the spelling.
bool SameFile(const std::string& a, const std::string& b);

// Makes the folder and every missing folder above it; false with `error`.
bool CreateFolders(const std::string& path, std::string& error);
// The whole file or nothing; an existing file is replaced only if `replace`.
bool WriteWholeFile(const std::string& path, const std::string& bytes, bool replace, std::string& error);

// Short English text of a Windows error, the same on every system.
std::string SystemErrorText(DWORD error);

// A path as the plug-ins take it: in the ANSI code page, made only from a
// path that the code page holds character for character, so that it names
// the file it was made from and no look-alike.
class AnsiPath {
public:
    // False, with `why` saying which characters the code page lacks, when the
    // path does not survive the conversion.
    static bool From(const std::string& utf8Path, AnsiPath& path, std::string& why);
    const std::string& Text() const { return m_ansi; }
    const char* c_str() const { return m_ansi.c_str(); }

private:
    std::string m_ansi;
};
