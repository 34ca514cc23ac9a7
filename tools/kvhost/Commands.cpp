#include "Commands.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <set>

#include "FileSystem.h"
#include "Listing.h"
#include "Options.h"
#include "PictureFile.h"
#include "PluginLibrary.h"
#include "Text.h"
#include "common/ColumnInfo.h"

namespace {

// Table cells longer than this are cut, unless --width 0.
constexpr size_t kLongestCell = 40;

bool EndsWithIgnoringCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && lstrcmpiA(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
    return text;
}

// "1 file", "2 files".
std::string Count(size_t count, const std::string& thing)
{
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

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

// "kvora_01.rpy" from "a\b\kvora_01.rpy"; the folder part from the same.
std::string NamePart(const std::string& path)
{
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
std::string FolderPart(const std::string& path)
{
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string WithoutExtension(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    const size_t slash = name.find_last_of('\\');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? name : name.substr(0, dot);
}

// The file as the host's columns show it.
FolderFile DescribeFile(const std::string& path)
{
    FolderFile file{NamePart(path), path, FolderPart(FullPath(path)), 0, {}};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
        file.size = (unsigned long long)data.nFileSizeHigh << 32 | data.nFileSizeLow;
        file.updated = data.ftLastWriteTime;
    }
    return file;
}

std::string OneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// A plug-in with the files of the folder that match its patterns, and the
// columns the command line chose.
struct PluginFiles {
    const PluginLibrary* plugin;
    std::vector<FolderFile> files;
    std::vector<PluginColumn> columns;
    size_t sortColumn = 0;
    ColumnChoice shown;
};

class Kvhost {
public:
    Kvhost(const Options& options, KvhostContext& context) : m_options(options), m_context(context) {}

    int Run()
    {
        if (!LoadPlugins()) return 1;
        const std::vector<std::string> rest(m_options.positional.begin() + (m_options.all ? 0 : 1),
                                            m_options.positional.end());
        const std::string& command = m_options.command;
        if (command == "list") return List(WindowsPath(rest[0]));
        if (command == "info") return Info(WindowsPath(rest[0]));
        if (command == "edit") return Edit(WindowsPath(rest[0]));
        if (command == "picture")
            return PictureOf(WindowsPath(rest[0]), WindowsPath(rest.size() == 2 ? rest[1] : m_options.output));
        if (command == "columns") return Columns();
        return About();
    }

private:
    int Usage(const std::string& why, const std::string& hint = "kvhost --help shows how to call it")
    {
        m_context.console.Err("kvhost: " + why + " (" + hint + ")\n");
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
            if (paths.empty()) return Failed("no plug-ins (*.kvp) in " + m_context.pluginFolder);
        } else {
            // A bare name, "kvorarec" or "kvorarec.kvp", is a plug-in beside kvhost.
            std::string path = WindowsPath(m_options.positional.front());
            if (path.find_first_of("\\:") == std::string::npos)
                path = m_context.pluginFolder + "\\" + path + (path.find('.') == std::string::npos ? ".kvp" : "");
            paths.push_back(FullPath(path));
        }
        for (const std::string& path : paths) {
            auto plugin = std::make_unique<PluginLibrary>();
            std::string error;
            if (!plugin->Load(path, error)) return Failed(error);
            m_plugins.push_back(std::move(plugin));
        }
        return true;
    }

    // The path as the plug-ins take it, or a failure said in one line.
    bool HandOver(const std::string& path, AnsiPath& ansi)
    {
        std::string why;
        return AnsiPath::From(path, ansi, why) || Failed("cannot hand " + path + " to a plug-in: " + why);
    }

    // The plug-ins that take a file: with --all every one that has the export
    // and accepts it, else the one named, which must.
    bool Accepting(const std::string& file, const AnsiPath& path, bool (PluginLibrary::*has)() const,
                   const char* lacking, const char* kind, std::vector<const PluginLibrary*>& found)
    {
        if (m_options.all) {
            for (const auto& plugin : m_plugins)
                if ((!has || (plugin.get()->*has)()) && plugin->IsSupported(path) == 1) found.push_back(plugin.get());
            return !found.empty() || Failed(std::string("no ") + kind + "plug-in accepts " + file);
        }
        const PluginLibrary& plugin = *m_plugins.front();
        if (has && !(plugin.*has)()) return Failed(plugin.FileName() + " has no " + lacking);
        const int supported = plugin.IsSupported(path);
        if (supported != 1)
            return Failed(file + " is not a file of " + plugin.FileName() + " (" + Answered("IsSupported", supported) +
                          ")");
        found.push_back(&plugin);
        return true;
    }

    static std::string PatternsOf(const PluginLibrary& plugin) { return Joined(plugin.Patterns(), " or "); }

    // Nothing to do is said, never shown as an empty result.
    int NothingMatches(const std::string& folder, bool (PluginLibrary::*has)() const)
    {
        std::vector<std::string> patterns;
        for (const auto& plugin : m_plugins)
            if (!has || (plugin.get()->*has)())
                for (const std::string& pattern : plugin->Patterns()) patterns.push_back(pattern);
        std::string what = "no file in " + folder + " matches " +
                           (m_options.all ? "the pattern of any plug-in (" + Joined(patterns, ", ") + ")"
                                          : PatternsOf(*m_plugins.front()));
        if (!m_options.recursive) {
            std::vector<FolderFile> deeper;
            FilesMatching(folder, patterns, true, deeper);
            if (!deeper.empty())
                what += "; " + Count(deeper.size(), "file") + " in its subfolders " +
                        (deeper.size() == 1 ? "does" : "do") + " (-r includes them)";
        }
        return Fail(what);
    }

    // The plug-ins with matching files in the folder; 0 or the exit code.
    int FindFiles(const std::string& folder, bool (PluginLibrary::*has)() const, const char* lacking,
                  std::vector<PluginFiles>& work)
    {
        if (!IsFolder(folder)) return Fail("folder " + folder + " does not exist");
        if (has && !m_options.all && !(m_plugins.front().get()->*has)())
            return Fail(m_plugins.front()->FileName() + " has no " + lacking);
        AnsiPath ansi;
        if (!HandOver(folder, ansi)) return 1;
        for (const auto& plugin : m_plugins) {
            if (has && !(plugin.get()->*has)()) continue;
            PluginFiles found{plugin.get(), {}, {}, 0, {}};
            FilesMatching(folder, plugin->Patterns(), m_options.recursive, found.files);
            if (!found.files.empty()) work.push_back(std::move(found));
        }
        return work.empty() ? NothingMatches(folder, has) : 0;
    }

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

    int List(const std::string& folder)
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

    int Bench(const PluginFiles& each);

    std::string StringsText(const PluginLibrary& plugin) const
    {
        static const char* const kNames[] = {"description", "kind", "files", "filter"};
        std::string out;
        for (int i = 0; i < 4; ++i) out += std::string(kNames[i]) + ": " + SjisToUtf8(plugin.String(i)) + "\n";
        return out;
    }

    // The file's list row as name/value pairs; false when it gets none.
    bool RowText(const PluginLibrary& plugin, const std::string& file, const AnsiPath& path, std::string& out)
    {
        std::vector<PluginColumn> columns;
        std::string error;
        if (!plugin.Columns(columns, error)) {
            out += "(" + error + ")\n";
            return false;
        }
        HostBlock row;
        const int result = plugin.ListRow(path, row);
        if (result != 0 || row.Size() < columns.size() * kFieldSize) {
            out += "(" + Answered("GetFileInfoList", result) + (result == 0 ? " with too small a row" : "") + ")\n";
            return false;
        }
        const FolderFile described = DescribeFile(file);
        size_t widest = 0;
        for (PluginColumn& column : columns) {
            column.title = SjisToUtf8(column.title);
            widest = std::max(widest, DisplayWidth(column.title));
        }
        for (size_t c = 0; c < columns.size(); ++c) {
            const char* field = row.Bytes() + c * kFieldSize;
            const std::string value = columns[c].hostField
                                          ? HostCell(columns[c].hostField, described)
                                          : SjisToUtf8(std::string(field, strnlen(field, kFieldSize)));
            out += columns[c].title + ":" + std::string(widest - DisplayWidth(columns[c].title) + 1, ' ') +
                   OneLine(value) + "\n";
        }
        return true;
    }

    int Info(const std::string& file)
    {
        if (!IsFile(file)) return Fail("file " + file + " does not exist");
        AnsiPath path;
        std::vector<const PluginLibrary*> plugins;
        if (!HandOver(file, path) || !Accepting(file, path, nullptr, "", "", plugins)) return 1;
        int result = 0;
        for (const PluginLibrary* plugin : plugins) {
            std::string out = "== " + plugin->FileName() + "\n" + StringsText(*plugin) + "-- row --\n";
            if (!RowText(*plugin, file, path, out)) result = 1;
            for (int pane = 0; plugin->HasTexts() && pane < 2; ++pane) {
                HostBlock text;
                const int code = pane ? plugin->Comment(path, text) : plugin->Information(path, text);
                out += pane ? "-- comment --\n" : "-- information --\n";
                if (code != 0) {
                    out += "(" + Answered(pane ? "GetFileInfoText2" : "GetFileInfoText1", code) + ")\n";
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
    int PicturesOfFolder(const std::string& input, const std::string& output);
    bool WritePicture(const PluginLibrary& plugin, const std::string& shot, const AnsiPath& path,
                      const std::string& out, bool bmp);

    int Edit(const std::string& file)
    {
        if (!IsFile(file)) return Fail("file " + file + " does not exist");
        AnsiPath path;
        std::vector<const PluginLibrary*> plugins;
        if (!HandOver(file, path) ||
            !Accepting(file, path, &PluginLibrary::HasEditor, "comment editor", "replay ", plugins))
            return 1;
        if (plugins.front()->Edit(m_context.dialogParent, path) == 0) {
            m_context.console.Out("comment saved in " + file + "\n");
            return 0;
        }
        m_context.console.Out("closed without saving; " + file + " is unchanged\n");
        return 1;
    }

    int Columns()
    {
        static const char* const kSortKinds[] = {"text", "whole number", "decimal"};
        static const char* const kHostFields[] = {"", "", "host: directory", "host: file name", "", "", "",
                                                  "host: update time", "host: file size"};
        const std::vector<TableColumn> titles = {{"No.", true, false}, {"title", false, false},
                                                 {"align", false, false}, {"sort", false, false},
                                                 {"filled by", false, false}};
        for (const auto& plugin : m_plugins) {
            std::vector<PluginColumn> columns;
            std::string error;
            if (!plugin->Columns(columns, error)) return Fail(error);
            std::vector<std::vector<std::string>> rows;
            for (size_t i = 0; i < columns.size(); ++i) {
                const PluginColumn& c = columns[i];
                const bool knownHost = c.hostField >= 0 && c.hostField <= 8 && *kHostFields[c.hostField];
                rows.push_back({std::to_string(i + 1), SjisToUtf8(c.title), c.rightAlign ? "right" : "left",
                                c.sortKind >= 0 && c.sortKind <= 2 ? kSortKinds[c.sortKind] : "?",
                                c.hostField == 0 ? "plug-in"
                                : knownHost      ? kHostFields[c.hostField]
                                                 : "host: " + std::to_string(c.hostField)});
            }
            m_context.console.Out("== " + plugin->FileName() + "\n" + FormatTable(titles, rows, TableFit{0, 0}));
        }
        return 0;
    }

    int About()
    {
        for (const auto& plugin : m_plugins) {
            std::string exports = "columns, list rows";
            if (plugin->HasTexts()) exports += ", information text, comment";
            if (plugin->HasPicture()) exports += ", picture";
            if (plugin->HasEditor()) exports += ", comment editor";
            m_context.console.Out("== " + plugin->FileName() + "\n" + StringsText(*plugin) +
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
    if (IsFolder(input)) return PicturesOfFolder(input, output);
    if (!IsFile(input)) return Fail("file " + input + " does not exist");
    if (m_options.recursive) return Usage("-r applies to a folder of shots, and " + input + " is a file");
    if (m_options.bmp)
        return Usage("--bmp applies to a folder of shots; the name of a single picture chooses .png or .bmp");
    const bool bmp = EndsWithIgnoringCase(output, ".bmp");
    if (!bmp && !EndsWithIgnoringCase(output, ".png")) return Usage("the picture's name must end in .png or .bmp");
    if (IsFolder(output)) return Fail(output + " is a folder; name the picture file");
    AnsiPath path;
    std::vector<const PluginLibrary*> plugins;
    if (!HandOver(input, path) || !Accepting(input, path, &PluginLibrary::HasPicture, "pictures", "picture ", plugins))
        return 1;
    std::string error;
    if (!FolderPart(output).empty() && !CreateFolders(FolderPart(output), error)) return Fail(error);
    return WritePicture(*plugins.front(), input, path, output, bmp) ? 0 : 1;
}

int Kvhost::PicturesOfFolder(const std::string& input, const std::string& output)
{
    std::vector<PluginFiles> work;
    if (const int code = FindFiles(input, &PluginLibrary::HasPicture, "pictures", work)) return code;
    if (IsFile(output)) return Fail(output + " is a file; the pictures of a folder go into a folder");
    struct Planned {
        const PluginLibrary* plugin;
        std::string shot;
        AnsiPath path;
        std::string out;
    };
    std::vector<Planned> planned;
    std::vector<std::string> skipped;
    const char* extension = m_options.bmp ? ".bmp" : ".png";
    for (const PluginFiles& each : work) {
        for (const FolderFile& file : each.files) {
            Planned shot{each.plugin, file.path, {}, output + "\\" + WithoutExtension(file.name) + extension};
            std::string why;
            if (AnsiPath::From(file.path, shot.path, why)) {
                const int supported = each.plugin->IsSupported(shot.path);
                if (supported == 1) {
                    planned.push_back(std::move(shot));
                    continue;
                }
                why = Answered("IsSupported", supported);
            }
            skipped.push_back("kvhost: skipped " + file.name + ": " + why + "\n");
        }
    }
    if (planned.empty()) {
        m_context.console.Err(Joined(skipped, ""));
        return Fail("no shot in " + input + " that its plug-in accepts; " + Count(skipped.size(), "matching file") +
                    " skipped, no picture written");
    }
    // Nothing is written when anything stands in the way.
    if (!m_options.force)
        for (const Planned& shot : planned)
            if (Exists(shot.out)) return Fail(shot.out + " exists; --force writes over it");
    std::set<std::string> folders;
    for (const Planned& shot : planned) folders.insert(FolderPart(shot.out));
    std::string error;
    for (const std::string& folder : folders)
        if (!CreateFolders(folder, error)) return Fail(error);
    m_context.console.Err(Joined(skipped, ""));
    for (const Planned& shot : planned)
        if (!WritePicture(*shot.plugin, shot.shot, shot.path, shot.out, m_options.bmp)) return 1;
    m_context.console.Out(Count(planned.size(), "picture") + " written to " + output +
                          (skipped.empty() ? "" : ", " + Count(skipped.size(), "file") + " skipped") + "\n");
    return 0;
}

bool Kvhost::WritePicture(const PluginLibrary& plugin, const std::string& shot, const AnsiPath& path,
                          const std::string& out, bool bmp)
{
    // kvhost changes no file: never write a picture over its shot.
    if (SameFile(shot, out)) return Failed("will not write the picture over its shot " + shot);
    if (!m_options.force && Exists(out)) return Failed(out + " exists; --force writes over it");
    HostBlock bits, info;
    const int result = plugin.Picture(path, bits, info);
    if (result != 0) return Failed(shot + ": " + Answered("GetFileInfoImage2", result));
    std::string error;
    DibLayout layout;
    if (!ReadDibLayout(info.Bytes(), info.Size(), bits.Size(), layout, error)) return Failed(shot + ": " + error);
    // The file is made only once its bytes are whole in memory: running out
    // of it on the way leaves no file behind.
    bool written = false;
    try {
        written = bmp ? WriteBmp(layout, bits.Bytes(), out, m_options.force, error)
                      : WritePng(DibToRgb(layout, bits.Bytes()), out, m_options.force, error);
    } catch (const std::bad_alloc&) {
        error = "out of memory for the " + std::to_string(layout.width) + " x " + std::to_string(layout.height) +
                " picture of " + shot + "; nothing written to " + out;
    }
    if (!written) return Failed(error);
    m_context.console.Out(shot + ": " + std::to_string(layout.width) + " x " + std::to_string(layout.height) +
                          " -> " + out + "\n");
    return true;
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

int Kvhost::Bench(const PluginFiles& each)
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
    if (args.empty()) {
        context.console.Err(kUsage);
        return 2;
    }
    Options options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        context.console.Err("kvhost: " + error + " (kvhost --help shows how to call it)\n");
        return 2;
    }
    if (options.help) {
        context.console.Out(kUsage);
        return 0;
    }
    if (options.version) {
        context.console.Out("kvhost " + context.version + "\n");
        return 0;
    }
    Kvhost kvhost(options, context);
    return kvhost.Run();
}
