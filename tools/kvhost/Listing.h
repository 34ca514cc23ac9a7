#pragma once
#include <functional>
#include <string>
#include <vector>

#include "PluginLibrary.h"

// A file of a folder as the host finds it.
struct FolderFile {
    std::string name;  // ANSI code page, as FindFirstFileA gives it
    std::string path;
    unsigned long long size;
    FILETIME updated;
};

// The files of `folder` matching a plug-in's file-name pattern (string 2,
// several patterns separated by ';'), sorted by name. False when the folder
// does not exist.
bool FilesMatching(const std::string& folder, const std::string& patterns, std::vector<FolderFile>& files);

struct RefusedFile {
    std::string name;  // UTF-8
    int result;        // of IsSupported (0) or GetFileInfoList
    std::string reason;
};

// The list as the host shows it: one row of UTF-8 cells per accepted file.
struct Listing {
    std::string plugin;
    std::string folder;
    std::vector<PluginColumn> columns;  // titles in UTF-8
    std::vector<std::vector<std::string>> rows;
    std::vector<RefusedFile> refused;
};

using ListProgress = std::function<void(size_t done, size_t total)>;

// Every matching file the plug-in accepts: the host's columns from the file
// system, the plug-in's from GetFileInfoList.
bool ListFolder(const PluginLibrary& plugin, const std::string& folder, Listing& listing, const ListProgress& progress,
                std::string& error);

// Orders the rows by a column, named by its title or its number (from 1),
// with the column's sort kind; equal rows keep the file-name order.
bool SortListing(Listing& listing, const std::string& column, bool descending, std::string& error);

std::string FormatTable(const Listing& listing);
std::string FormatCsv(const Listing& listing);
std::string FormatJson(const Listing& listing);
