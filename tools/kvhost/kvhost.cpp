// kvhost: drives a plug-in the way the host does, from the command line.
//   kvhost list PLUGIN FOLDER   one row per file the plug-in accepts
//   kvhost info PLUGIN FILE     the plug-in's strings and text panes
//   kvhost picture PLUGIN FILE OUT.bmp   the picture, as a bitmap file
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using GetPluginInfoFn = int(WINAPI*)(int, LPSTR, int);
using IsSupportedFn = int(WINAPI*)(LPCSTR, DWORD);
using GetColumnInfoFn = int(WINAPI*)(HLOCAL*);
using FileInfoFn = int(WINAPI*)(LPCSTR, DWORD, HLOCAL*);
using GetFileInfoImage2Fn = int(WINAPI*)(LPCSTR, DWORD, HLOCAL*, HLOCAL*);

struct Column {
    std::string title;
    int rightAlign;
    int hostField;
};

// A block the plug-in handed over; released as the host does.
struct HostBlock {
    HLOCAL handle = nullptr;
    ~HostBlock() { if (handle) LocalFree(handle); }
    const char* Bytes() const { return static_cast<const char*>(handle); }
};

const char* ResultMeaning(int result)
{
    switch (result) {
    case 1: return "not this plug-in's file";
    case 2: return "unreadable or malformed";
    case 4: return "out of memory";
    case 5: return "failure";
    default: return "unknown result";
    }
}

class Plugin {
public:
    bool Load(const char* path)
    {
        m_module = LoadLibraryA(path);
        if (!m_module) {
            std::fprintf(stderr, "kvhost: cannot load plug-in %s (error %lu)\n", path, GetLastError());
            return false;
        }
        info = Get<GetPluginInfoFn>("GetPluginInfo");
        isSupported = Get<IsSupportedFn>("IsSupported");
        columns = Get<GetColumnInfoFn>("GetColumnInfo");
        list = Get<FileInfoFn>("GetFileInfoList");
        text1 = Get<FileInfoFn>("GetFileInfoText1");
        text2 = Get<FileInfoFn>("GetFileInfoText2");
        image = Get<GetFileInfoImage2Fn>("GetFileInfoImage2");
        if (!info || !isSupported || !columns || !list) {
            std::fprintf(stderr, "kvhost: %s is not a plug-in (exports missing)\n", path);
            return false;
        }
        return true;
    }
    ~Plugin() { if (m_module) FreeLibrary(m_module); }

    std::string String(int index) const
    {
        char buffer[1024] = {};
        return info(index, buffer, sizeof buffer) ? buffer : "";
    }

    std::vector<Column> Columns() const
    {
        std::vector<Column> out;
        HostBlock table;
        if (columns(&table.handle) != 0 || !table.handle) return out;
        const size_t records = LocalSize(table.handle) / 128;
        for (size_t i = 0; i + 1 < records; ++i) {
            const char* record = table.Bytes() + 128 * i;
            int values[3];
            std::memcpy(values, record + 116, sizeof values);
            out.push_back({std::string(record, strnlen(record, 116)), values[0], values[2]});
        }
        return out;
    }

    GetPluginInfoFn info = nullptr;
    IsSupportedFn isSupported = nullptr;
    GetColumnInfoFn columns = nullptr;
    FileInfoFn list = nullptr;
    FileInfoFn text1 = nullptr;
    FileInfoFn text2 = nullptr;
    GetFileInfoImage2Fn image = nullptr;

private:
    template <typename F>
    F Get(const char* name) const
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }
    HMODULE m_module = nullptr;
};

std::string HostField(int field, const WIN32_FIND_DATAA& entry, const std::string& folder)
{
    char text[64] = {};
    switch (field) {
    case 3: return entry.cFileName;
    case 2: return folder;
    case 8: {
        const unsigned long long size = (unsigned long long)entry.nFileSizeHigh << 32 | entry.nFileSizeLow;
        std::snprintf(text, sizeof text, "%llu", size);
        return text;
    }
    case 7: {
        FILETIME local;
        SYSTEMTIME t;
        FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local);
        FileTimeToSystemTime(&local, &t);
        std::snprintf(text, sizeof text, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                      t.wMinute, t.wSecond);
        return text;
    }
    default: return "";
    }
}

int List(const Plugin& plugin, const std::string& folder)
{
    if (!(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY) ||
        GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "kvhost: folder %s does not exist\n", folder.c_str());
        return 1;
    }
    const std::vector<Column> columns = plugin.Columns();
    std::vector<std::vector<std::string>> rows;
    rows.emplace_back();
    for (const Column& c : columns) rows.back().push_back(c.title);

    const std::string pattern = plugin.String(2);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\" + pattern).c_str(), &entry);
    int refused = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::string path = folder + "\\" + entry.cFileName;
            if (plugin.isSupported(path.c_str(), 0) != 1) { ++refused; continue; }
            HostBlock row;
            const int result = plugin.list(path.c_str(), 0, &row.handle);
            if (result != 0) {
                ++refused;
                std::fprintf(stderr, "kvhost: %s: %s\n", entry.cFileName, ResultMeaning(result));
                continue;
            }
            rows.emplace_back();
            for (size_t i = 0; i < columns.size(); ++i) {
                std::string text = columns[i].hostField ? HostField(columns[i].hostField, entry, folder)
                                                        : std::string(row.Bytes() + 512 * i);
                for (char& c : text)
                    if (c == '\r' || c == '\n') c = ' ';  // one row per line, also for multi-line comments
                rows.back().push_back(text);
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }

    std::vector<size_t> widths(columns.size(), 0);
    for (const auto& row : rows)
        for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            if (columns[i].hostField == 2) continue;  // the folder is named above the table
            const std::string pad(widths[i] - row[i].size(), ' ');
            line += columns[i].rightAlign ? pad + row[i] : row[i] + pad;
            line += "  ";
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        std::printf("%s\n", line.c_str());
    }
    std::printf("%zu files listed, %d refused\n", rows.size() - 1, refused);
    return 0;
}

int Info(const Plugin& plugin, const std::string& file)
{
    for (int i = 0; i < 4; ++i) std::printf("string %d: %s\n", i, plugin.String(i).c_str());
    for (auto [name, export_] : {std::pair{"information", plugin.text1}, {"comment", plugin.text2}}) {
        if (!export_) continue;
        HostBlock text;
        const int result = export_(file.c_str(), 0, &text.handle);
        if (result == 0) std::printf("--- %s ---\n%s\n", name, text.Bytes());
        else std::printf("--- %s: %s ---\n", name, ResultMeaning(result));
    }
    return 0;
}

// Writes the plug-in's bitmap as it is: a file header, the BITMAPINFOHEADER
// and the pixel bits, bottom-up rows as handed over.
int Picture(const Plugin& plugin, const std::string& file, const std::string& out)
{
    if (!plugin.image) {
        std::fprintf(stderr, "kvhost: the plug-in has no pictures\n");
        return 1;
    }
    HostBlock bits, info;
    const int result = plugin.image(file.c_str(), 0, &bits.handle, &info.handle);
    if (result != 0) {
        std::fprintf(stderr, "kvhost: %s: %s\n", file.c_str(), ResultMeaning(result));
        return 1;
    }
    BITMAPINFOHEADER header;
    std::memcpy(&header, info.Bytes(), sizeof header);
    const DWORD bitsSize = DWORD(LocalSize(bits.handle));
    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + bitsSize;
    FILE* stream = nullptr;
    if (fopen_s(&stream, out.c_str(), "wb") != 0 || !stream) {
        std::fprintf(stderr, "kvhost: cannot write %s\n", out.c_str());
        return 1;
    }
    const bool written = std::fwrite(&fileHeader, sizeof fileHeader, 1, stream) == 1 &&
                         std::fwrite(&header, sizeof header, 1, stream) == 1 &&
                         std::fwrite(bits.Bytes(), 1, bitsSize, stream) == bitsSize;
    if (std::fclose(stream) != 0 || !written) {
        std::fprintf(stderr, "kvhost: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: %ld x %ld, %u bits per pixel -> %s\n", file.c_str(), long(header.biWidth),
                long(header.biHeight), unsigned(header.biBitCount), out.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || (std::strcmp(argv[1], "picture") == 0 && argc != 5)) {
        std::fprintf(stderr, "usage: kvhost list PLUGIN FOLDER | kvhost info PLUGIN FILE |"
                             " kvhost picture PLUGIN FILE OUT.bmp\n");
        return 2;
    }
    Plugin plugin;
    if (!plugin.Load(argv[2])) return 1;
    const std::string command = argv[1];
    if (command == "list") return List(plugin, argv[3]);
    if (command == "info") return Info(plugin, argv[3]);
    if (command == "picture") return Picture(plugin, argv[3], argv[4]);
    std::fprintf(stderr, "kvhost: unknown command %s\n", argv[1]);
    return 2;
}
