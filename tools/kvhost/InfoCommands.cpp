// kvhost info, edit, columns and about: what a plug-in says of one file and
// of itself, and its comment editor.
#include <algorithm>
#include <cstring>

#include "KvhostCommand.h"
#include "Text.h"
#include "common/ColumnInfo.h"

namespace {

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

std::string StringsText(const PluginLibrary& plugin)
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

class InfoCommands : public KvhostCommand {
public:
    using KvhostCommand::KvhostCommand;

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

    // The dialog has no owner window: kvhost has none.
    int Edit(const std::string& file)
    {
        if (!IsFile(file)) return Fail("file " + file + " does not exist");
        AnsiPath path;
        std::vector<const PluginLibrary*> plugins;
        if (!HandOver(file, path) ||
            !Accepting(file, path, &PluginLibrary::HasEditor, "comment editor", "replay ", plugins))
            return 1;
        if (plugins.front()->Edit(nullptr, path) == 0) {
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
};

}  // namespace

int RunInfo(const Options& options, KvhostContext& context, const LoadedPlugins& plugins, const std::string& file)
{
    return InfoCommands(options, context, plugins).Info(file);
}

int RunEdit(const Options& options, KvhostContext& context, const LoadedPlugins& plugins, const std::string& file)
{
    return InfoCommands(options, context, plugins).Edit(file);
}

int RunColumns(const Options& options, KvhostContext& context, const LoadedPlugins& plugins)
{
    return InfoCommands(options, context, plugins).Columns();
}

int RunAbout(const Options& options, KvhostContext& context, const LoadedPlugins& plugins)
{
    return InfoCommands(options, context, plugins).About();
}
