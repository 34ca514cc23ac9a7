#include "Commands.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "Listing.h"
#include "PictureFile.h"
#include "PluginLibrary.h"
#include "Text.h"

namespace {

const char kUsage[] =
    "usage: kvhost COMMAND PLUGIN ARGUMENTS [OPTIONS]\n"
    "  list PLUGIN FOLDER       every file of FOLDER the plug-in accepts, one row each\n"
    "      --sort COLUMN [--desc]   order by a column (its title or number)\n"
    "      --csv | --json           UTF-8 CSV or JSON instead of a table\n"
    "      -v                       also name every refused file and why\n"
    "      --bench [--rounds N]     time the plug-in against plain reading of the files\n"
    "  info PLUGIN FILE         the plug-in's strings, the information text and the comment\n"
    "  picture PLUGIN FILE -o OUT.png|OUT.bmp    the picture of a shot\n"
    "  picture PLUGIN FOLDER -o OUTFOLDER [--bmp]   every shot of a folder\n"
    "  edit PLUGIN FILE         the comment editor of a replay plug-in\n"
    "  columns PLUGIN           the plug-in's column table\n"
    "  about PLUGIN             the plug-in's strings and exports\n"
    "PLUGIN is a .kvp file, the name of one beside kvhost, or --all for every one of them.\n";

struct Options {
    std::string command;
    std::vector<std::string> positional;
    bool all = false;
    std::string sort;
    bool descending = false;
    bool csv = false;
    bool json = false;
    bool verbose = false;
    bool bench = false;
    int rounds = 5;
    std::string output;
    bool bmp = false;
    bool help = false;
};

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        std::string rounds;
        if (arg == "-h" || arg == "--help") options.help = true;
        else if (arg == "--all") options.all = true;
        else if (arg == "--sort") { if (!value(options.sort)) return false; }
        else if (arg == "--desc") options.descending = true;
        else if (arg == "--csv") options.csv = true;
        else if (arg == "--json") options.json = true;
        else if (arg == "-v" || arg == "--verbose") options.verbose = true;
        else if (arg == "--bench") options.bench = true;
        else if (arg == "--rounds") {
            if (!value(rounds)) return false;
            options.rounds = std::atoi(rounds.c_str());
            if (options.rounds < 1 || options.rounds > 1000) {
                error = "--rounds wants a number from 1 to 1000";
                return false;
            }
        }
        else if (arg == "-o") { if (!value(options.output)) return false; }
        else if (arg == "--bmp") options.bmp = true;
        else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        }
        else if (options.command.empty()) options.command = arg;
        else options.positional.push_back(arg);
    }
    if (options.csv && options.json) {
        error = "--csv and --json exclude each other";
        return false;
    }
    return true;
}

// Windows wants backslashes in paths given to LoadLibraryA.
std::string WindowsPath(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH * 2];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

bool SamePath(const std::string& a, const std::string& b)
{
    return lstrcmpiA(FullPath(a).c_str(), FullPath(b).c_str()) == 0;
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && lstrcmpiA(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

class Kvhost {
public:
    Kvhost(const Options& options, KvhostContext& context) : m_options(options), m_context(context) {}

    int Run()
    {
        const std::string& command = m_options.command;
        // What follows the plug-in (or --all).
        size_t wanted = 1;
        if (command == "columns" || command == "about") wanted = 0;
        else if (command == "picture" && m_options.output.empty()) wanted = 2;  // picture FILE OUT
        else if (command != "list" && command != "info" && command != "edit" && command != "picture")
            return Usage(command.empty() ? "no command" : "unknown command " + command);
        const size_t skip = m_options.all ? 0 : 1;
        if (m_options.positional.size() < skip) return Usage("no plug-in named");
        const std::vector<std::string> rest(m_options.positional.begin() + skip, m_options.positional.end());
        if (rest.size() != wanted)
            return Usage("wrong number of arguments for " + command);
        if (!LoadPlugins()) return 1;
        if (command == "list") return List(rest[0]);
        if (command == "info") return Info(Utf8Path(rest[0]));
        if (command == "edit") return Edit(Utf8Path(rest[0]));
        if (command == "picture") return PictureOf(Utf8Path(rest[0]), Utf8Path(wanted == 2 ? rest[1] : m_options.output));
        if (command == "columns") return Columns();
        return About();
    }

private:
    std::string Utf8Path(const std::string& utf8) const { return WindowsPath(Utf8ToAnsi(utf8)); }

    int Usage(const std::string& why)
    {
        m_context.console.Err("kvhost: " + why + " (kvhost --help shows how to call it)\n");
        return 2;
    }

    int Fail(const std::string& what)
    {
        m_context.console.Err("kvhost: " + what + "\n");
        return 1;
    }
    bool Failed(const std::string& what) { return Fail(what) == 0; }

    bool LoadPlugins()
    {
        std::vector<std::string> paths;
        if (m_options.all) {
            paths = PluginsIn(m_context.pluginFolder);
            if (paths.empty()) {
                Fail("no plug-ins (*.kvp) in " + AnsiToUtf8(m_context.pluginFolder));
                return false;
            }
        } else {
            std::string path = Utf8Path(m_options.positional.front());
            if (path.find_first_of("\\.") == std::string::npos) path = m_context.pluginFolder + "\\" + path + ".kvp";
            paths.push_back(FullPath(path));
        }
        for (const std::string& path : paths) {
            auto plugin = std::make_unique<PluginLibrary>();
            std::string error;
            if (!plugin->Load(path, error)) {
                Fail(AnsiToUtf8(error));
                return false;
            }
            m_plugins.push_back(std::move(plugin));
        }
        return true;
    }

    // The plug-ins that accept a file, for the commands on one file.
    std::vector<const PluginLibrary*> PluginsFor(const std::string& file, bool (PluginLibrary::*has)() const)
    {
        std::vector<const PluginLibrary*> found;
        for (const auto& plugin : m_plugins)
            if ((plugin.get()->*has)() && (!m_options.all || plugin->IsSupported(file) == 1))
                found.push_back(plugin.get());
        return found;
    }

    std::string Shown(const std::string& ansiPath) const { return AnsiToUtf8(ansiPath); }

    int List(const std::string& folder)
    {
        if (!IsFolder(Utf8Path(folder))) return Fail("folder " + folder + " does not exist");
        if (m_options.all && m_options.csv) return Usage("--csv lists one plug-in at a time");
        int result = 0;
        std::string json;
        for (const auto& plugin : m_plugins) {
            if (m_options.bench) {
                result |= Bench(*plugin, folder);
                continue;
            }
            Listing listing;
            std::string error;
            auto progress = [this](size_t done, size_t total) {
                if (total > kProgressThreshold && (done % 100 == 0 || done == total))
                    m_context.console.Progress("kvhost: " + std::to_string(done) + " of " + std::to_string(total) +
                                               " files");
            };
            if (!ListFolder(*plugin, WindowsPath(folder), listing, progress, error)) return Fail(error);
            if (m_options.all && listing.rows.empty() && listing.refused.empty()) continue;
            if (!m_options.sort.empty() && !SortListing(listing, m_options.sort, m_options.descending, error))
                return Fail(error);
            const std::string summary = std::to_string(listing.rows.size()) + " files listed, " +
                                        std::to_string(listing.refused.size()) + " refused\n";
            std::string refused;
            if (m_options.verbose)
                for (const RefusedFile& file : listing.refused)
                    refused += "  refused " + file.name + ": " + file.reason +
                               (file.result ? " (result " + std::to_string(file.result) + ")" : "") + "\n";
            if (m_options.json) {
                json += (json.empty() ? "" : ",\n") + FormatJson(listing);
                m_context.console.Err(listing.plugin + ": " + summary + refused);
            } else if (m_options.csv) {
                m_context.console.Out(FormatCsv(listing));
                m_context.console.Err(summary + refused);
            } else {
                if (m_options.all) m_context.console.Out("== " + AnsiToUtf8(listing.plugin) + "\n");
                m_context.console.Out(FormatTable(listing) + summary + refused);
            }
        }
        if (m_options.json) m_context.console.Out(m_options.all ? "[\n" + json + "]\n" : json);
        return result;
    }

    int Bench(const PluginLibrary& plugin, const std::string& folder);

    int Info(const std::string& file)
    {
        if (!IsFile(file)) return Fail("file " + Shown(file) + " does not exist");
        const auto plugins = PluginsFor(file, &PluginLibrary::HasTexts);
        if (plugins.empty())
            return Fail(m_options.all ? "no replay plug-in accepts " + Shown(file)
                                      : m_plugins.front()->FileName() + " has no text panes");
        int result = 0;
        for (const PluginLibrary* plugin : plugins) {
            std::string out = "== " + Shown(plugin->FileName()) + "\n";
            out += StringsText(*plugin);
            for (int pane = 0; pane < 2; ++pane) {
                HostBlock text;
                const int code = pane ? plugin->Comment(file, text) : plugin->Information(file, text);
                out += pane ? "-- comment --\n" : "-- information --\n";
                if (code != 0) {
                    out += "(" + std::string(ResultMeaning(code)) + ", result " + std::to_string(code) + ")\n";
                    result = 1;
                    continue;
                }
                std::string body = SjisToUtf8(text.Text());
                body.erase(std::remove(body.begin(), body.end(), '\r'), body.end());
                out += body + (body.empty() || body.back() != '\n' ? "\n" : "");
            }
            m_context.console.Out(out);
        }
        return result;
    }

    int PictureOf(const std::string& input, const std::string& output);
    bool WritePicture(const PluginLibrary& plugin, const std::string& shot, const std::string& out, bool bmp);

    int Edit(const std::string& file)
    {
        if (!IsFile(file)) return Fail("file " + Shown(file) + " does not exist");
        const auto plugins = PluginsFor(file, &PluginLibrary::HasEditor);
        if (plugins.empty())
            return Fail(m_options.all ? "no replay plug-in accepts " + Shown(file)
                                      : m_plugins.front()->FileName() + " has no comment editor");
        const PluginLibrary& plugin = *plugins.front();
        if (plugin.IsSupported(file) != 1)
            return Fail(Shown(file) + " is not a file of " + Shown(plugin.FileName()));
        if (plugin.Edit(m_context.dialogParent, file) == 0) {
            m_context.console.Out("comment saved in " + Shown(file) + "\n");
            return 0;
        }
        m_context.console.Out("closed without saving; " + Shown(file) + " is unchanged\n");
        return 1;
    }

    int Columns()
    {
        static const char* const kSortKinds[] = {"text", "whole number", "decimal"};
        static const char* const kHostFields[] = {"", "", "host: directory", "host: file name", "", "", "",
                                                  "host: update time", "host: file size"};
        for (const auto& plugin : m_plugins) {
            std::vector<PluginColumn> columns;
            std::string error;
            if (!plugin->Columns(columns, error)) return Fail(error);
            Listing table;
            table.columns = {{"No.", true, 1, 0}, {"title", false, 0, 0}, {"align", false, 0, 0},
                             {"sort", false, 0, 0}, {"filled by", false, 0, 0}};
            for (size_t i = 0; i < columns.size(); ++i) {
                const PluginColumn& c = columns[i];
                const bool knownHost = c.hostField >= 0 && c.hostField <= 8 && *kHostFields[c.hostField];
                table.rows.push_back({std::to_string(i + 1), SjisToUtf8(c.title), c.rightAlign ? "right" : "left",
                                      c.sortKind >= 0 && c.sortKind <= 2 ? kSortKinds[c.sortKind] : "?",
                                      c.hostField == 0 ? "plug-in"
                                      : knownHost      ? kHostFields[c.hostField]
                                                       : "host: " + std::to_string(c.hostField)});
            }
            m_context.console.Out("== " + Shown(plugin->FileName()) + "\n" + FormatTable(table));
        }
        return 0;
    }

    std::string StringsText(const PluginLibrary& plugin) const
    {
        static const char* const kNames[] = {"description", "kind", "files", "filter"};
        std::string out;
        for (int i = 0; i < 4; ++i) out += std::string(kNames[i]) + ": " + SjisToUtf8(plugin.String(i)) + "\n";
        return out;
    }

    int About()
    {
        for (const auto& plugin : m_plugins) {
            std::string exports = "columns, list rows";
            if (plugin->HasTexts()) exports += ", information text, comment";
            if (plugin->HasPicture()) exports += ", picture";
            if (plugin->HasEditor()) exports += ", comment editor";
            m_context.console.Out("== " + Shown(plugin->FileName()) + "\n" + StringsText(*plugin) +
                                  "revision: " + std::to_string(plugin->Revision()) + "\n" + "serves: " + exports +
                                  "\n");
        }
        return 0;
    }

    const Options& m_options;
    KvhostContext& m_context;
    std::vector<std::unique_ptr<PluginLibrary>> m_plugins;
};

int Kvhost::PictureOf(const std::string& input, const std::string& output)
{
    if (IsFolder(input)) {
        if (!IsFolder(output) && !CreateDirectoryA(output.c_str(), nullptr))
            return Fail("cannot create folder " + Shown(output) + ": " + SystemErrorText(GetLastError()));
        size_t written = 0;
        for (const auto& plugin : m_plugins) {
            if (!plugin->HasPicture()) continue;
            std::vector<FolderFile> shots;
            FilesMatching(input, plugin->String(2), shots);
            for (const FolderFile& shot : shots) {
                if (plugin->IsSupported(shot.path) != 1) continue;
                const std::string stem = shot.name.substr(0, shot.name.find_last_of('.'));
                if (!WritePicture(*plugin, shot.path, output + "\\" + stem + (m_options.bmp ? ".bmp" : ".png"),
                                  m_options.bmp))
                    return 1;
                ++written;
            }
        }
        m_context.console.Out(std::to_string(written) + " pictures written to " + Shown(output) + "\n");
        return 0;
    }
    if (!IsFile(input)) return Fail("file " + Shown(input) + " does not exist");
    const bool bmp = EndsWithIgnoringCase(output, ".bmp");
    if (!bmp && !EndsWithIgnoringCase(output, ".png")) return Usage("the picture's name must end in .png or .bmp");
    const auto plugins = PluginsFor(input, &PluginLibrary::HasPicture);
    if (plugins.empty())
        return Fail(m_options.all ? "no picture plug-in accepts " + Shown(input)
                                  : m_plugins.front()->FileName() + " has no pictures");
    return WritePicture(*plugins.front(), input, output, bmp) ? 0 : 1;
}

bool Kvhost::WritePicture(const PluginLibrary& plugin, const std::string& shot, const std::string& out, bool bmp)
{
    // kvhost changes no file: never write a picture over its shot.
    if (SamePath(shot, out)) return Failed("will not write the picture over " + Shown(shot));
    HostBlock bits, info;
    const int result = plugin.Picture(shot, bits, info);
    if (result != 0)
        return Failed(Shown(shot) + ": " + ResultMeaning(result) + " (result " + std::to_string(result) + ")");
    std::string error;
    DibLayout layout;
    if (!ReadDibLayout(info.Bytes(), info.Size(), bits.Size(), layout, error))
        return Failed(Shown(shot) + ": " + error);
    const bool written =
        bmp ? WriteBmp(layout, bits.Bytes(), out, error) : WritePng(DibToRgb(layout, bits.Bytes()), out, error);
    if (!written) return Failed(Shown(error));
    m_context.console.Out(Shown(shot) + ": " + std::to_string(layout.width) + " x " +
                          std::to_string(layout.height) + " -> " + Shown(out) + "\n");
    return true;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// The floor: what reading the same files costs without a plug-in.
bool ReadWhole(const std::string& path, std::vector<char>& buffer)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(file, nullptr);
    buffer.resize(size);
    DWORD read = 0;
    const bool ok = size == INVALID_FILE_SIZE || ReadFile(file, buffer.data(), size, &read, nullptr);
    CloseHandle(file);
    return ok;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Kvhost::Bench(const PluginLibrary& plugin, const std::string& folder)
{
    std::vector<FolderFile> files;
    FilesMatching(Utf8Path(folder), plugin.String(2), files);
    if (files.empty()) return m_options.all ? 0 : Fail("no files of " + Shown(plugin.FileName()) + " in " + folder);
    std::vector<char> buffer;
    for (const FolderFile& file : files) ReadWhole(file.path, buffer);  // the same warm cache for both
    std::vector<double> floor, plugged;
    size_t listed = 0;
    for (int round = 0; round < m_options.rounds; ++round) {
        LARGE_INTEGER start, middle, end;
        QueryPerformanceCounter(&start);
        for (const FolderFile& file : files) ReadWhole(file.path, buffer);
        QueryPerformanceCounter(&middle);
        listed = 0;
        for (const FolderFile& file : files) {
            HostBlock row;
            if (plugin.IsSupported(file.path) == 1 && plugin.ListRow(file.path, row) == 0) ++listed;
        }
        QueryPerformanceCounter(&end);
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

int RunKvhost(const std::vector<std::string>& args, KvhostContext& context)
{
    Options options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        context.console.Err("kvhost: " + error + " (kvhost --help shows how to call it)\n");
        return 2;
    }
    if (args.empty()) {
        context.console.Err(kUsage);
        return 2;
    }
    if (options.help) {
        context.console.Out(kUsage);
        return 0;
    }
    Kvhost kvhost(options, context);
    return kvhost.Run();
}
