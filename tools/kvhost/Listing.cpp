#include "Listing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "Text.h"
#include "common/ColumnInfo.h"

namespace {

// A cell that is not a number sorts before every number.
bool NumberLess(const std::string& a, const std::string& b, bool decimal)
{
    char* endA = nullptr;
    char* endB = nullptr;
    const double x = decimal ? std::strtod(a.c_str(), &endA) : double(std::strtoll(a.c_str(), &endA, 10));
    const double y = decimal ? std::strtod(b.c_str(), &endB) : double(std::strtoll(b.c_str(), &endB, 10));
    const bool numberA = endA != a.c_str();
    const bool numberB = endB != b.c_str();
    if (numberA != numberB) return numberB;
    return numberA && x < y;
}

void FindIn(const std::string& folder, const std::string& relative, const std::vector<std::string>& patterns,
            bool recursive, std::set<std::string>& seen, std::vector<FolderFile>& files)
{
    const std::string here = relative.empty() ? folder : folder + "\\" + relative;
    for (const std::string& pattern : patterns) {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW(WidePath(here + "\\" + pattern).c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::string name = (relative.empty() ? "" : relative + "\\") + WideToUtf8(entry.cFileName);
            if (!seen.insert(name).second) continue;  // a file matching two patterns is listed once
            files.push_back({name, folder + "\\" + name, here,
                             (unsigned long long)entry.nFileSizeHigh << 32 | entry.nFileSizeLow,
                             entry.ftLastWriteTime});
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    if (!recursive) return;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(WidePath(here + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        const DWORD attributes = entry.dwFileAttributes;
        // Links to folders are not followed: they may lead back up the tree.
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) || name == L"." ||
            name == L"..")
            continue;
        FindIn(folder, (relative.empty() ? "" : relative + "\\") + WideToUtf8(name), patterns, true, seen, files);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

bool IsCuttable(const PluginColumn& column) { return column.sortKind == 0 && column.hostField != kHostFileName; }

}  // namespace

void FilesMatching(const std::string& folder, const std::vector<std::string>& patterns, bool recursive,
                   std::vector<FolderFile>& files)
{
    files.clear();
    if (!IsFolder(folder)) return;
    std::set<std::string> seen;
    FindIn(WindowsPath(folder), "", patterns, recursive, seen, files);
    std::sort(files.begin(), files.end(), [](const FolderFile& a, const FolderFile& b) { return a.name < b.name; });
}

std::string HostCell(int field, const FolderFile& file)
{
    char text[64] = {};
    switch (field) {
    case kHostFileName: return file.name;
    case kHostDirectory: return file.folder;
    case kHostFileSize: std::snprintf(text, sizeof text, "%llu", file.size); return text;
    case kHostUpdateTime: {
        FILETIME local;
        SYSTEMTIME t;
        if (!FileTimeToLocalFileTime(&file.updated, &local) || !FileTimeToSystemTime(&local, &t)) return "";
        std::snprintf(text, sizeof text, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                      t.wMinute, t.wSecond);
        return text;
    }
    default: return "";
    }
}

bool ListFiles(const PluginLibrary& plugin, const std::string& folder, const std::vector<FolderFile>& files,
               Listing& listing, const ListProgress& progress, std::string& error)
{
    listing = {};
    listing.plugin = plugin.FileName();
    listing.folder = folder;
    if (!plugin.Columns(listing.columns, error)) return false;
    for (PluginColumn& column : listing.columns) column.title = SjisToUtf8(column.title);

    const size_t needed = listing.columns.size() * kFieldSize;
    for (size_t i = 0; i < files.size(); ++i) {
        if (progress) progress(i, files.size());
        const FolderFile& file = files[i];
        AnsiPath path;
        std::string why;
        if (!AnsiPath::From(file.path, path, why)) {
            listing.refused.push_back({file.name, why, -1});
            continue;
        }
        const int supported = plugin.IsSupported(path);
        if (supported != 1) {
            listing.refused.push_back({file.name, Answered("IsSupported", supported), supported});
            continue;
        }
        HostBlock row;
        const int result = plugin.ListRow(path, row);
        if (result != 0) {
            listing.refused.push_back({file.name, Answered("GetFileInfoList", result), result});
            continue;
        }
        if (row.Size() < needed) {
            listing.refused.push_back({file.name,
                                       "GetFileInfoList answered 0 with a row of " + std::to_string(row.Size()) +
                                           " bytes, where its columns need " + std::to_string(needed),
                                       0});
            continue;
        }
        std::vector<std::string> cells;
        for (size_t c = 0; c < listing.columns.size(); ++c) {
            const PluginColumn& column = listing.columns[c];
            const char* field = row.Bytes() + c * kFieldSize;
            cells.push_back(column.hostField ? HostCell(column.hostField, file)
                                             : SjisToUtf8(std::string(field, strnlen(field, kFieldSize))));
        }
        listing.rows.push_back(std::move(cells));
    }
    if (progress) progress(files.size(), files.size());
    return true;
}

bool FindColumn(const std::vector<PluginColumn>& columns, const std::string& name, size_t& index)
{
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].title == name) {
            index = i;
            return true;
        }
    }
    char* end = nullptr;
    const long number = std::strtol(name.c_str(), &end, 10);
    if (name.empty() || *end != '\0' || number < 1 || size_t(number) > columns.size()) return false;
    index = size_t(number - 1);
    return true;
}

void SortListing(Listing& listing, size_t index, bool descending)
{
    const int kind = listing.columns[index].sortKind;
    std::stable_sort(listing.rows.begin(), listing.rows.end(),
                     [&](const std::vector<std::string>& a, const std::vector<std::string>& b) {
                         const std::string& x = descending ? b[index] : a[index];
                         const std::string& y = descending ? a[index] : b[index];
                         return kind == 0 ? x < y : NumberLess(x, y, kind == 2);
                     });
}

ColumnChoice AllColumns(const std::vector<PluginColumn>& columns, bool forTable)
{
    ColumnChoice shown;
    for (size_t c = 0; c < columns.size(); ++c)
        if (!forTable || columns[c].hostField != kHostDirectory) shown.push_back(c);
    return shown;
}

std::string FormatTable(const Listing& listing, const ColumnChoice& shown, const TableFit& fit,
                        std::vector<std::string>* leftOut)
{
    std::vector<TableColumn> columns;
    for (size_t c : shown)
        columns.push_back({listing.columns[c].title, listing.columns[c].rightAlign, IsCuttable(listing.columns[c])});
    std::vector<std::vector<std::string>> rows;
    for (const auto& row : listing.rows) {
        rows.emplace_back();
        for (size_t c : shown) rows.back().push_back(row[c]);
    }
    return FormatTable(columns, rows, fit, leftOut);
}

std::string FormatCsv(const Listing& listing, const ColumnChoice& shown)
{
    std::string out;
    auto line = [&](auto cellOf) {
        for (size_t i = 0; i < shown.size(); ++i) out += (i ? "," : "") + CsvField(cellOf(shown[i]));
        out += "\r\n";
    };
    line([&](size_t c) { return listing.columns[c].title; });
    for (const auto& row : listing.rows) line([&](size_t c) { return row[c]; });
    return out;
}

std::string FormatJson(const Listing& listing, const ColumnChoice& shown)
{
    static const char* const kSortKinds[] = {"text", "whole number", "decimal"};
    std::string out = "{\n  \"plugin\": " + JsonString(listing.plugin) + ",\n  \"folder\": " +
                      JsonString(listing.folder) + ",\n  \"columns\": [";
    for (size_t i = 0; i < shown.size(); ++i) {
        const PluginColumn& column = listing.columns[shown[i]];
        const int kind = column.sortKind >= 0 && column.sortKind <= 2 ? column.sortKind : 0;
        out += std::string(i ? "," : "") + "\n    {\"title\": " + JsonString(column.title) +
               ", \"align\": " + (column.rightAlign ? "\"right\"" : "\"left\"") + ", \"sort\": \"" +
               kSortKinds[kind] + "\", \"host\": " + (column.hostField ? "true" : "false") + "}";
    }
    out += "\n  ],\n  \"rows\": [";
    for (size_t r = 0; r < listing.rows.size(); ++r) {
        out += std::string(r ? "," : "") + "\n    {";
        for (size_t i = 0; i < shown.size(); ++i)
            out += std::string(i ? ", " : "") + JsonString(listing.columns[shown[i]].title) + ": " +
                   JsonString(listing.rows[r][shown[i]]);
        out += "}";
    }
    out += "\n  ],\n  \"refused\": [";
    for (size_t r = 0; r < listing.refused.size(); ++r) {
        const RefusedFile& file = listing.refused[r];
        out += std::string(r ? "," : "") + "\n    {\"file\": " + JsonString(file.name) + ", \"result\": " +
               (file.result < 0 ? "null" : std::to_string(file.result)) + ", \"reason\": " +
               JsonString(file.reason) + "}";
    }
    return out + "\n  ]\n}\n";
}
