#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "FileSystem.h"
#include "common/PluginExports.h"

// A block a plug-in handed over; released as the host does, with LocalFree.
class HostBlock {
public:
    HostBlock() = default;
    HostBlock(const HostBlock&) = delete;
    HostBlock& operator=(const HostBlock&) = delete;
    ~HostBlock() { Release(); }

    HLOCAL* Out() { Release(); return &m_handle; }
    const char* Bytes() const { return static_cast<const char*>(m_handle); }
    size_t Size() const { return m_handle ? LocalSize(m_handle) : 0; }
    // The block's text up to its first NUL, never past the block.
    std::string Text() const;

private:
    void Release();
    HLOCAL m_handle = nullptr;
};

struct PluginColumn {
    std::string title;  // Shift-JIS, as the plug-in names it
    bool rightAlign;
    int sortKind;       // 0 text, 1 whole number, 2 decimal
    int hostField;      // 0: the plug-in fills it
};

// A plug-in loaded as the host loads it: LoadLibraryA, exports by name.
class PluginLibrary {
public:
    PluginLibrary() = default;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;
    ~PluginLibrary();

    // False with `error` saying what and where when the file cannot be loaded
    // or lacks one of the four exports every plug-in has. The path is UTF-8.
    bool Load(const std::string& path, std::string& error);

    std::string FileName() const;          // UTF-8
    std::string String(int index) const;  // GetPluginInfo, Shift-JIS
    // The file-name patterns of string 2, in UTF-8 ("kvora_*.rpy").
    std::vector<std::string> Patterns() const;
    int Revision() const;                 // -1 without GetPluginRevision
    // The column records up to the end record; false when the plug-in fails.
    bool Columns(std::vector<PluginColumn>& columns, std::string& error) const;

    bool HasTexts() const { return m_exports.GetFileInfoText1 && m_exports.GetFileInfoText2; }
    bool HasPicture() const { return m_exports.GetFileInfoImage2 != nullptr; }
    bool HasEditor() const { return m_exports.EditDialog != nullptr; }

    int IsSupported(const AnsiPath& path) const { return m_exports.IsSupported(path.c_str(), 0); }
    int ListRow(const AnsiPath& path, HostBlock& row) const
    {
        return m_exports.GetFileInfoList(path.c_str(), 0, row.Out());
    }
    int Information(const AnsiPath& path, HostBlock& text) const
    {
        return m_exports.GetFileInfoText1(path.c_str(), 0, text.Out());
    }
    int Comment(const AnsiPath& path, HostBlock& text) const
    {
        return m_exports.GetFileInfoText2(path.c_str(), 0, text.Out());
    }
    int Picture(const AnsiPath& path, HostBlock& bits, HostBlock& info) const
    {
        return m_exports.GetFileInfoImage2(path.c_str(), 0, bits.Out(), info.Out());
    }
    int Edit(HWND parent, const AnsiPath& path) const { return m_exports.EditDialog(parent, path.c_str()); }

private:
    HMODULE m_module = nullptr;
    std::string m_path;
    PluginExportTable m_exports;
};

// Every .kvp file of a folder, sorted by name (UTF-8 paths).
std::vector<std::string> PluginsIn(const std::string& folder);

// What a plug-in's export answered, for messages: "GetFileInfoList answered 2".
std::string Answered(const char* exportName, int result);
