#include "Commands.h"

#include "KvhostCommand.h"

namespace {

// The plug-ins of the command line, loaded: with --all every one beside
// kvhost, else the one named. 0, or the exit code with the failure said.
int LoadPlugins(const Options& options, KvhostContext& context, LoadedPlugins& plugins)
{
    std::vector<std::string> paths;
    if (options.all) {
        paths = PluginsIn(context.pluginFolder);
        if (paths.empty()) {
            context.console.Err("kvhost: no plug-ins (*.kvp) in " + context.pluginFolder + "\n");
            return 1;
        }
    } else {
        // A bare name, "kvorarec" or "kvorarec.kvp", is a plug-in beside kvhost.
        std::string path = WindowsPath(options.positional.front());
        if (path.find_first_of("\\:") == std::string::npos)
            path = context.pluginFolder + "\\" + path + (path.find('.') == std::string::npos ? ".kvp" : "");
        paths.push_back(FullPath(path));
    }
    for (const std::string& path : paths) {
        auto plugin = std::make_unique<PluginLibrary>();
        std::string error;
        if (!plugin->Load(path, error)) {
            context.console.Err("kvhost: " + error + "\n");
            return 1;
        }
        plugins.push_back(std::move(plugin));
    }
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
    LoadedPlugins plugins;
    if (const int code = LoadPlugins(options, context, plugins)) return code;
    // After the plug-in (unless --all): the command's own arguments.
    const std::vector<std::string> rest(options.positional.begin() + (options.all ? 0 : 1), options.positional.end());
    const std::string& command = options.command;
    if (command == "list") return RunList(options, context, plugins, WindowsPath(rest[0]));
    if (command == "info") return RunInfo(options, context, plugins, WindowsPath(rest[0]));
    if (command == "edit") return RunEdit(options, context, plugins, WindowsPath(rest[0]));
    if (command == "picture")
        return RunPicture(options, context, plugins, WindowsPath(rest[0]),
                          WindowsPath(rest.size() == 2 ? rest[1] : options.output));
    if (command == "columns") return RunColumns(options, context, plugins);
    return RunAbout(options, context, plugins);
}
