#include "Listing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "Text.h"
#include "common/ColumnInfo.h"

namespace {

std::string HostCell(int field, const FolderFile& file, const std::string& folder)
{
    char text[64] = {};
    switch (field) {
    case kHostFileName: return AnsiToUtf8(file.name);
    case kHostDirectory: return folder;
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

// The table leaves out the directory: it is the same on every row.
bool InTable(const PluginColumn& column) { return column.hostField != kHostDirectory; }

}  // namespace

bool FilesMatching(const std::string& folder, const std::string& patterns, std::vector<FolderFile>& files)
{
    files.clear();
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    std::set<std::string> seen;  // a file matching two patterns is listed once
    size_t start = 0;
    while (start <= patterns.size()) {
        const size_t end = std::min(patterns.find(';', start), patterns.size());
        const std::string pattern = patterns.substr(start, end - start);
        start = end + 1;
        if (pattern.empty()) continue;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder + "\\" + pattern).c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !seen.insert(entry.cFileName).second) continue;
            files.push_back({entry.cFileName, folder + "\\" + entry.cFileName,
                             (unsigned long long)entry.nFileSizeHigh << 32 | entry.nFileSizeLow,
                             entry.ftLastWriteTime});
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    std::sort(files.begin(), files.end(), [](const FolderFile& a, const FolderFile& b) { return a.name < b.name; });
    return true;
}

bool ListFolder(const PluginLibrary& plugin, const std::string& folder, Listing& listing, const ListProgress& progress,
                std::string& error)
{
    listing = {};
    listing.plugin = plugin.FileName();
    listing.folder = folder;
    std::vector<FolderFile> files;
    if (!FilesMatching(Utf8ToAnsi(folder), plugin.String(2), files)) {
        error = "folder " + folder + " does not exist";
        return false;
    }
    if (!plugin.Columns(listing.columns, error)) return false;
    for (PluginColumn& column : listing.columns) column.title = SjisToUtf8(column.title);

    const size_t needed = listing.columns.size() * kFieldSize;
    for (size_t i = 0; i < files.size(); ++i) {
        if (progress) progress(i, files.size());
        const FolderFile& file = files[i];
        if (plugin.IsSupported(file.path) != 1) {
            listing.refused.push_back({AnsiToUtf8(file.name), 0, "IsSupported does not accept it"});
            continue;
        }
        HostBlock row;
        const int result = plugin.ListRow(file.path, row);
        if (result != 0 || row.Size() < needed) {
            listing.refused.push_back({AnsiToUtf8(file.name), result,
                                       result != 0 ? ResultMeaning(result) : "the row block is too small"});
            continue;
        }
        std::vector<std::string> cells;
        for (size_t c = 0; c < listing.columns.size(); ++c) {
            const PluginColumn& column = listing.columns[c];
            const char* field = row.Bytes() + c * kFieldSize;
            cells.push_back(column.hostField ? HostCell(column.hostField, file, folder)
                                             : SjisToUtf8(std::string(field, strnlen(field, kFieldSize))));
        }
        listing.rows.push_back(std::move(cells));
    }
    if (progress) progress(files.size(), files.size());
    return true;
}

bool SortListing(Listing& listing, const std::string& column, bool descending, std::string& error)
{
    size_t index = listing.columns.size();
    for (size_t i = 0; i < listing.columns.size(); ++i)
        if (listing.columns[i].title == column) index = i;
    char* end = nullptr;
    const long number = std::strtol(column.c_str(), &end, 10);
    if (index == listing.columns.size() && !column.empty() && *end == '\0' && number >= 1 &&
        size_t(number) <= listing.columns.size())
        index = size_t(number - 1);
    if (index == listing.columns.size()) {
        error = "no column " + column + " in " + listing.plugin + " (kvhost columns lists them)";
        return false;
    }
    const int kind = listing.columns[index].sortKind;
    std::stable_sort(listing.rows.begin(), listing.rows.end(),
                     [&](const std::vector<std::string>& a, const std::vector<std::string>& b) {
                         const std::string& x = descending ? b[index] : a[index];
                         const std::string& y = descending ? a[index] : b[index];
                         return kind == 0 ? x < y : NumberLess(x, y, kind == 2);
                     });
    return true;
}

std::string FormatTable(const Listing& listing)
{
    const size_t count = listing.columns.size();
    std::vector<size_t> widths(count);
    for (size_t c = 0; c < count; ++c) widths[c] = DisplayWidth(listing.columns[c].title);
    std::vector<std::vector<std::string>> cells;
    for (const auto& row : listing.rows) {
        cells.push_back(row);
        for (size_t c = 0; c < count; ++c) {
            // One row per line, also for multi-line comments.
            std::replace(cells.back()[c].begin(), cells.back()[c].end(), '\r', ' ');
            std::replace(cells.back()[c].begin(), cells.back()[c].end(), '\n', ' ');
            widths[c] = std::max(widths[c], DisplayWidth(cells.back()[c]));
        }
    }
    auto line = [&](auto cellOf) {
        std::string text;
        for (size_t c = 0; c < count; ++c) {
            if (!InTable(listing.columns[c])) continue;
            const std::string cell = cellOf(c);
            const std::string pad(widths[c] - DisplayWidth(cell), ' ');
            text += listing.columns[c].rightAlign ? pad + cell : cell + pad;
            text += "  ";
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text + "\n";
    };
    std::string out = line([&](size_t c) { return listing.columns[c].title; });
    for (const auto& row : cells) out += line([&](size_t c) { return row[c]; });
    return out;
}

std::string FormatCsv(const Listing& listing)
{
    std::string out;
    auto line = [&](auto cellOf) {
        for (size_t c = 0; c < listing.columns.size(); ++c) out += (c ? "," : "") + CsvField(cellOf(c));
        out += "\r\n";
    };
    line([&](size_t c) { return listing.columns[c].title; });
    for (const auto& row : listing.rows) line([&](size_t c) { return row[c]; });
    return out;
}

std::string FormatJson(const Listing& listing)
{
    static const char* const kSortKinds[] = {"text", "whole number", "decimal"};
    std::string out = "{\n  \"plugin\": " + JsonString(listing.plugin) + ",\n  \"folder\": " +
                      JsonString(listing.folder) + ",\n  \"columns\": [";
    for (size_t c = 0; c < listing.columns.size(); ++c) {
        const PluginColumn& column = listing.columns[c];
        const int kind = column.sortKind >= 0 && column.sortKind <= 2 ? column.sortKind : 0;
        out += std::string(c ? "," : "") + "\n    {\"title\": " + JsonString(column.title) +
               ", \"align\": " + (column.rightAlign ? "\"right\"" : "\"left\"") + ", \"sort\": \"" +
               kSortKinds[kind] + "\", \"host\": " + (column.hostField ? "true" : "false") + "}";
    }
    out += "\n  ],\n  \"rows\": [";
    for (size_t r = 0; r < listing.rows.size(); ++r) {
        out += std::string(r ? "," : "") + "\n    {";
        for (size_t c = 0; c < listing.columns.size(); ++c)
            out += std::string(c ? ", " : "") + JsonString(listing.columns[c].title) + ": " +
                   JsonString(listing.rows[r][c]);
        out += "}";
    }
    out += "\n  ],\n  \"refused\": [";
    for (size_t r = 0; r < listing.refused.size(); ++r) {
        const RefusedFile& file = listing.refused[r];
        out += std::string(r ? "," : "") + "\n    {\"file\": " + JsonString(file.name) +
               ", \"result\": " + std::to_string(file.result) + ", \"reason\": " + JsonString(file.reason) + "}";
    }
    return out + "\n  ]\n}\n";
}
