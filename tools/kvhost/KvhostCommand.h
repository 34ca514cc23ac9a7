#pragma once
// What kvhost's commands share: the command line, where their output goes,
// the plug-ins they were given, and how they find the files and plug-ins to
// work on and say that they cannot. Each group of commands stands in a file
// of its own and is run, once the plug-ins are loaded, through its Run
// function below.
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "FileSystem.h"
#include "Listing.h"
#include "Options.h"
#include "PluginLibrary.h"

using LoadedPlugins = std::vector<std::unique_ptr<PluginLibrary>>;

// A plug-in with the files of the folder that match its patterns, and the
// columns the command line chose.
struct PluginFiles {
    const PluginLibrary* plugin;
    std::vector<FolderFile> files;
    std::vector<PluginColumn> columns;
    size_t sortColumn = 0;
    ColumnChoice shown;
};

class KvhostCommand {
public:
    KvhostCommand(const Options& options, KvhostContext& context, const LoadedPlugins& plugins)
        : m_options(options), m_context(context), m_plugins(plugins)
    {
    }

protected:
    // A wrong command line, said with a hint: exit code 2.
    int Usage(const std::string& why, const std::string& hint = "kvhost --help shows how to call it");
    // A failure said in one line: exit code 1.
    int Fail(const std::string& what);

    // The path as the plug-ins take it; false once the failure is said.
    bool HandOver(const std::string& path, AnsiPath& ansi);

    // The plug-ins that take a file: with --all every one that has the
    // export (`has`, or any) and accepts it, else the one named, which must;
    // false once the failure is said.
    bool Accepting(const std::string& file, const AnsiPath& path, bool (PluginLibrary::*has)() const,
                   const char* lacking, const char* kind, std::vector<const PluginLibrary*>& found);

    // The plug-ins with matching files in the folder; 0 or the exit code.
    int FindFiles(const std::string& folder, bool (PluginLibrary::*has)() const, const char* lacking,
                  std::vector<PluginFiles>& work);

    static std::string PatternsOf(const PluginLibrary& plugin);

    const Options& m_options;
    KvhostContext& m_context;
    const LoadedPlugins& m_plugins;

private:
    // Nothing to do is said, never shown as an empty result.
    int NothingMatches(const std::string& folder, bool (PluginLibrary::*has)() const);
};

// The commands, each with its arguments as the command line gave them.
// ListCommand.cpp: list, and list --bench.
int RunList(const Options& options, KvhostContext& context, const LoadedPlugins& plugins, const std::string& folder);
// PictureCommand.cpp: picture of a shot or of a folder of shots.
int RunPicture(const Options& options, KvhostContext& context, const LoadedPlugins& plugins,
               const std::string& input, const std::string& output);
// InfoCommands.cpp: info, edit, columns and about.
int RunInfo(const Options& options, KvhostContext& context, const LoadedPlugins& plugins, const std::string& file);
int RunEdit(const Options& options, KvhostContext& context, const LoadedPlugins& plugins, const std::string& file);
int RunColumns(const Options& options, KvhostContext& context, const LoadedPlugins& plugins);
int RunAbout(const Options& options, KvhostContext& context, const LoadedPlugins& plugins);
