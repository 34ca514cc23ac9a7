// kvhost list: the rows of every file of a folder that a plug-in accepts, as
// a table, CSV or JSON; with --bench, what the plug-in takes to list them.
#include <algorithm>
#include <cstdio>
#include <new>

#include "KvhostCommand.h"
#include "Text.h"

namespace {

// Table cells longer than this are cut, unless --width 0.
constexpr size_t kLongestCell = 40;

// Lines of at most `width` columns, broken at spaces.
std::string WrapToWidth(const std::string& text, size_t width)
{
    std::string out, line;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(' ', start), text.size());
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && DisplayWidth(line) + 1 + DisplayWidth(word) > width) {
            out += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return out + line + "\n";
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// The bench reads every file whole, as the plug-ins do. A 32-bit host cannot
// hold 2 GiB in one block, so a file that large is left out of it before
// anything is allocated for it.
constexpr uint64_t kLargestBenchFile = 0x7FFFFFFF;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// The floor: what reading the same files costs without a plug-in. Returns
// why the open file cannot be read whole into buffer, or "" once it is.
std::string ReadOpenFile(HANDLE file, std::vector<char>& buffer)
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size)) return SystemErrorText(GetLastError());
    if (uint64_t(size.QuadPart) > kLargestBenchFile)
        return std::to_string(size.QuadPart) + " bytes, too large for a 32-bit host to read whole";
    try {
        buffer.resize(size_t(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return "out of memory for its " + std::to_string(size.QuadPart) + " bytes";
    }
    DWORD read = 0;
    if (!buffer.empty() &&
        (!ReadFile(file, buffer.data(), DWORD(buffer.size()), &read, nullptr) || read != buffer.size()))
        return "cannot read it: " + SystemErrorText(GetLastError());
    return "";
}

bool ReadWhole(const std::string& path, std::vector<char>& buffer, std::string& why)
{
    HANDLE file =
        CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        why = "cannot open it: " + SystemErrorText(GetLastError());
        return false;
    }
    why = ReadOpenFile(file, buffer);
    CloseHandle(file);
    return why.empty();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class ListCommand : public KvhostCommand {
public:
    using KvhostCommand::KvhostCommand;

    int Run(const std::string& folder)
    {
        std::vector<PluginFiles> work;
        if (const int code = FindFiles(folder, nullptr, "", work)) return code;
        for (PluginFiles& each : work)
            if (const int code = ChooseColumns(each)) return code;
        int result = 0;
        std::string json;
        for (const PluginFiles& each : work) {
            if (m_options.bench) {
                result |= Bench(each);
                continue;
            }
            const std::string patterns = PatternsOf(*each.plugin);
            auto progress = [&](size_t done, size_t total) {
                if (total > kProgressThreshold && (done % 100 == 0 || done == total))
                    m_context.console.Progress("kvhost: " + std::to_string(done) + " of " + std::to_string(total) +
                                               " files matching " + patterns);
            };
            Listing listing;
            std::string error;
            const bool listed = ListFiles(*each.plugin, folder, each.files, listing, progress, error);
            m_context.console.EndProgress();
            if (!listed) return Fail(error);
            if (!m_options.sort.empty()) SortListing(listing, each.sortColumn, m_options.descending);
            const std::string summary = Count(listing.rows.size(), "file") + " listed, " +
                                        std::to_string(listing.refused.size()) + " refused\n";
            if (m_options.json) {
                json += (json.empty() ? "" : ",\n") + FormatJson(listing, each.shown);
                m_context.console.Err(listing.plugin + ": " + summary + RefusedLines(listing));
            } else if (m_options.csv) {
                m_context.console.Out((m_options.bom ? "\xEF\xBB\xBF" : "") + FormatCsv(listing, each.shown));
                m_context.console.Err(summary + RefusedLines(listing));
            } else {
                m_context.console.Out((m_options.all ? "== " + listing.plugin + "\n" : "") +
                                      Table(listing, each.shown) + summary + RefusedLines(listing));
            }
        }
        if (m_options.json) m_context.console.Out(m_options.all ? "[\n" + json + "]\n" : json);
        return result;
    }

private:
    int NoColumn(const PluginLibrary& plugin, const std::string& name)
    {
        return Usage("no column " + name + " in " + plugin.FileName(),
                     "kvhost columns " + WithoutExtension(plugin.FileName()) + " lists them");
    }

    // The columns of --sort and --columns in one plug-in; 0 or the exit code.
    int ChooseColumns(PluginFiles& each)
    {
        std::string error;
        if (!each.plugin->Columns(each.columns, error)) return Fail(error);
        for (PluginColumn& column : each.columns) column.title = SjisToUtf8(column.title);
        if (!m_options.sort.empty() && !FindColumn(each.columns, m_options.sort, each.sortColumn))
            return NoColumn(*each.plugin, m_options.sort);
        if (m_options.columns.empty()) {
            each.shown = AllColumns(each.columns, !m_options.csv && !m_options.json);
            return 0;
        }
        for (const std::string& name : Split(m_options.columns, ',')) {
            size_t index = 0;
            if (!FindColumn(each.columns, name, index)) return NoColumn(*each.plugin, name);
            if (std::find(each.shown.begin(), each.shown.end(), index) != each.shown.end())
                return Usage("--columns names " + each.columns[index].title + " twice");
            each.shown.push_back(index);
        }
        return 0;
    }

    std::string RefusedLines(const Listing& listing) const
    {
        std::string lines;
        for (const RefusedFile& file : listing.refused)
            if (m_options.verbose || file.result < 0) lines += "  refused " + file.name + ": " + file.reason + "\n";
        return lines;
    }

    std::string Table(const Listing& listing, const ColumnChoice& shown)
    {
        TableFit fit;
        fit.longestCell = m_options.width == 0 ? 0 : kLongestCell;
        fit.width = m_options.width >= 0 ? size_t(m_options.width) : m_context.console.Width();
        std::vector<std::string> leftOut;
        std::string table = FormatTable(listing, shown, fit, &leftOut);
        if (!leftOut.empty())
            table += WrapToWidth("(" + std::to_string(leftOut.size()) + " columns left out to fit " +
                                     std::to_string(fit.width) + " columns: " + Joined(leftOut, ", ") +
                                     "; --columns chooses them, --width 0 shows all)",
                                 fit.width);
        return table;
    }

    int Bench(const PluginFiles& each);
};

int ListCommand::Bench(const PluginFiles& each)
{
    const PluginLibrary& plugin = *each.plugin;
    // Each file once for the same warm cache in both; one that cannot be
    // read whole is left out, and said so.
    std::vector<std::string> files;
    std::vector<AnsiPath> paths;
    std::vector<char> buffer;
    for (const FolderFile& file : each.files) {
        AnsiPath path;
        std::string why;
        if (!AnsiPath::From(file.path, path, why)) continue;  // the plug-in could not open it either
        if (!ReadWhole(file.path, buffer, why)) {
            m_context.console.Err("kvhost: left out of the bench " + file.path + ": " + why + "\n");
            continue;
        }
        files.push_back(file.path);
        paths.push_back(path);
    }
    if (files.empty()) return Fail("no file of " + plugin.FileName() + " can be handed to it and read whole");
    std::vector<double> floor, plugged;
    size_t listed = 0;
    for (int round = 0; round < m_options.rounds; ++round) {
        LARGE_INTEGER start, middle, end;
        QueryPerformanceCounter(&start);
        std::string ignored;
        for (const std::string& file : files) ReadWhole(file, buffer, ignored);
        QueryPerformanceCounter(&middle);
        listed = 0;
        for (const AnsiPath& path : paths) {
            HostBlock row;
            if (plugin.IsSupported(path) == 1 && plugin.ListRow(path, row) == 0) ++listed;
        }
        QueryPerformanceCounter(&end);
        // Timings of a plug-in that refuses every file would time nothing of
        // what it is there for.
        if (listed == 0)
            return Fail(plugin.FileName() + " listed none of the files (" + Count(files.size(), "file") +
                        " refused; kvhost list -v says why): nothing to time");
        floor.push_back(Seconds(start, middle));
        plugged.push_back(Seconds(middle, end));
    }
    const double floorTime = Median(floor), pluginTime = Median(plugged), n = double(files.size());
    char text[512];
    std::snprintf(text, sizeof text,
                  "%s: %zu files (%zu listed), median of %d rounds\n"
                  "  floor, open and read each file:       %8.1f ms  %7.1f us per file\n"
                  "  plug-in, IsSupported + GetFileInfoList: %6.1f ms  %7.1f us per file  %.0f files per second\n"
                  "  plug-in / floor: %.2fx\n",
                  plugin.FileName().c_str(), files.size(), listed, m_options.rounds, floorTime * 1e3,
                  floorTime * 1e6 / n, pluginTime * 1e3, pluginTime * 1e6 / n, n / pluginTime,
                  pluginTime / floorTime);
    m_context.console.Out(text);
    return 0;
}

}  // namespace

int RunList(const Options& options, KvhostContext& context, const LoadedPlugins& plugins, const std::string& folder)
{
    return ListCommand(options, context, plugins).Run(folder);
}
