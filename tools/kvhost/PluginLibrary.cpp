#include "PluginLibrary.h"

#include <algorithm>
#include <cstring>

#include "Text.h"
#include "common/ColumnInfo.h"

std::string HostBlock::Text() const
{
    const size_t size = Size();
    return m_handle ? std::string(Bytes(), strnlen(Bytes(), size)) : std::string();
}

void HostBlock::Release()
{
    if (m_handle) LocalFree(m_handle);
    m_handle = nullptr;
}

std::string Answered(const char* exportName, int result)
{
    return std::string(exportName) + " answered " + std::to_string(result);
}

PluginLibrary::~PluginLibrary()
{
    if (m_module) FreeLibrary(m_module);
}

bool PluginLibrary::Load(const std::string& path, std::string& error)
{
    m_path = path;
    // No "insert a disk" or missing-DLL message boxes: a command-line tool
    // reports in one line.
    if (!IsFile(path)) {
        error = "plug-in " + path + " not found";
        return false;
    }
    AnsiPath ansi;
    std::string why;
    if (!AnsiPath::From(path, ansi, why)) {
        error = "cannot load plug-in " + path + ": " + why;
        return false;
    }
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    m_module = LoadLibraryA(ansi.c_str());
    const DWORD loadError = GetLastError();
    SetErrorMode(previousMode);
    if (!m_module) {
        error = "cannot load plug-in " + path + ": " + SystemErrorText(loadError);
        return false;
    }
    m_exports = FindPluginExports(m_module);
    const std::pair<const char*, bool> required[] = {{"GetPluginInfo", m_exports.GetPluginInfo != nullptr},
                                                     {"IsSupported", m_exports.IsSupported != nullptr},
                                                     {"GetColumnInfo", m_exports.GetColumnInfo != nullptr},
                                                     {"GetFileInfoList", m_exports.GetFileInfoList != nullptr}};
    for (const auto& [name, present] : required) {
        if (!present) {
            error = path + " is not a plug-in: it has no export " + name;
            return false;
        }
    }
    return true;
}

std::string PluginLibrary::FileName() const
{
    const size_t slash = m_path.find_last_of("\\/");
    return slash == std::string::npos ? m_path : m_path.substr(slash + 1);
}

std::vector<std::string> PluginLibrary::Patterns() const
{
    std::vector<std::string> patterns;
    const std::string all = SjisToUtf8(String(2));
    size_t start = 0;
    while (start <= all.size()) {
        const size_t end = std::min(all.find(';', start), all.size());
        if (end > start) patterns.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return patterns;
}

std::string PluginLibrary::String(int index) const
{
    char buffer[1024] = {};
    return m_exports.GetPluginInfo(index, buffer, int(sizeof buffer)) > 0 ? std::string(buffer, strnlen(buffer, sizeof buffer)) : "";
}

int PluginLibrary::Revision() const
{
    return m_exports.GetPluginRevision ? m_exports.GetPluginRevision() : -1;
}

bool PluginLibrary::Columns(std::vector<PluginColumn>& columns, std::string& error) const
{
    columns.clear();
    HostBlock table;
    const int result = m_exports.GetColumnInfo(table.Out());
    if (result != 0 || !table.Bytes()) {
        error = FileName() + ": " + Answered("GetColumnInfo", result);
        return false;
    }
    for (size_t at = 0; at + sizeof(ColumnInfo) <= table.Size(); at += sizeof(ColumnInfo)) {
        ColumnInfo record;
        std::memcpy(&record, table.Bytes() + at, sizeof record);
        const std::string title(record.title, strnlen(record.title, sizeof record.title));
        if (title.empty()) break;  // the end record
        columns.push_back({title, record.right_align != 0, record.sort_kind, record.host_field});
    }
    if (columns.empty()) {
        error = FileName() + ": the column table is empty";
        return false;
    }
    return true;
}

std::vector<std::string> PluginsIn(const std::string& folder)
{
    std::vector<std::string> plugins;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(WidePath(folder + "\\*.kvp").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return plugins;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            plugins.push_back(folder + "\\" + WideToUtf8(entry.cFileName));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    std::sort(plugins.begin(), plugins.end());
    return plugins;
}
