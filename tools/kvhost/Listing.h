#pragma once
#include <functional>
#include <string>
#include <vector>

#include "PluginLibrary.h"
#include "Table.h"

// A file of a folder as the host finds it; names and paths in UTF-8.
struct FolderFile {
    std::string name;    // relative to the folder listed: "kvora_01.rpy", or "2024\kvora_01.rpy" in a tree
    std::string path;    // the folder as given, then the name
    std::string folder;  // the folder that holds the file
    unsigned long long size;
    FILETIME updated;
};

// The files of `folder` (and with `recursive` of its subfolders) matching
// one of the patterns, sorted by name; none when the folder does not exist.
void FilesMatching(const std::string& folder, const std::vector<std::string>& patterns, bool recursive,
                   std::vector<FolderFile>& files);

// A file that gets no row, and why: what kvhost or the plug-in said.
struct RefusedFile {
    std::string name;    // UTF-8
    std::string reason;  // "GetFileInfoList answered 2"
    int result;          // the plug-in's answer; -1 when kvhost did not hand the file over
};

// The list as the host shows it: one row of UTF-8 cells per accepted file.
struct Listing {
    std::string plugin;                 // its file name
    std::string folder;
    std::vector<PluginColumn> columns;  // titles in UTF-8
    std::vector<std::vector<std::string>> rows;
    std::vector<RefusedFile> refused;
};

// done of total files handed to the plug-in.
using ListProgress = std::function<void(size_t done, size_t total)>;

// Every file the plug-in accepts: the host's columns from the file system,
// the plug-in's from GetFileInfoList. A file whose path the ANSI code page
// cannot hold is refused without reaching the plug-in.
bool ListFiles(const PluginLibrary& plugin, const std::string& folder, const std::vector<FolderFile>& files,
               Listing& listing, const ListProgress& progress, std::string& error);

// The cell of a column that the host fills from the file system.
std::string HostCell(int field, const FolderFile& file);

// A column named by its title (UTF-8) or its number from 1.
bool FindColumn(const std::vector<PluginColumn>& columns, const std::string& name, size_t& index);

// Orders the rows by a column with the column's sort kind; equal rows keep
// the file-name order.
void SortListing(Listing& listing, size_t column, bool descending);

// The columns to show, by index, in order.
using ColumnChoice = std::vector<size_t>;
// Every column; in the table without the directory, the same on every row.
ColumnChoice AllColumns(const std::vector<PluginColumn>& columns, bool forTable);

std::string FormatTable(const Listing& listing, const ColumnChoice& shown, const TableFit& fit,
                        std::vector<std::string>* leftOut);
std::string FormatCsv(const Listing& listing, const ColumnChoice& shown);
std::string FormatJson(const Listing& listing, const ColumnChoice& shown);
