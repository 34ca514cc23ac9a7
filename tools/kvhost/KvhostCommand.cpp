#include "KvhostCommand.h"

#include "Text.h"

int KvhostCommand::Usage(const std::string& why, const std::string& hint)
{
    m_context.console.Err("kvhost: " + why + " (" + hint + ")\n");
    return 2;
}

int KvhostCommand::Fail(const std::string& what)
{
    m_context.console.Err("kvhost: " + what + "\n");
    return 1;
}

bool KvhostCommand::HandOver(const std::string& path, AnsiPath& ansi)
{
    std::string why;
    if (AnsiPath::From(path, ansi, why)) return true;
    Fail("cannot hand " + path + " to a plug-in: " + why);
    return false;
}

bool KvhostCommand::Accepting(const std::string& file, const AnsiPath& path, bool (PluginLibrary::*has)() const,
                              const char* lacking, const char* kind, std::vector<const PluginLibrary*>& found)
{
    if (m_options.all) {
        for (const auto& plugin : m_plugins)
            if ((!has || (plugin.get()->*has)()) && plugin->IsSupported(path) == 1) found.push_back(plugin.get());
        if (found.empty()) Fail(std::string("no ") + kind + "plug-in accepts " + file);
        return !found.empty();
    }
    const PluginLibrary& plugin = *m_plugins.front();
    if (has && !(plugin.*has)()) {
        Fail(plugin.FileName() + " has no " + lacking);
        return false;
    }
    const int supported = plugin.IsSupported(path);
    if (supported != 1) {
        Fail(file + " is not a file of " + plugin.FileName() + " (" + Answered("IsSupported", supported) + ")");
        return false;
    }
    found.push_back(&plugin);
    return true;
}

std::string KvhostCommand::PatternsOf(const PluginLibrary& plugin) { return Joined(plugin.Patterns(), " or "); }

int KvhostCommand::NothingMatches(const std::string& folder, bool (PluginLibrary::*has)() const)
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
            what += "; " + Count(deeper.size(), "file") + " in its subfolders " + (deeper.size() == 1 ? "does" : "do") +
                    " (-r includes them)";
    }
    return Fail(what);
}

int KvhostCommand::FindFiles(const std::string& folder, bool (PluginLibrary::*has)() const, const char* lacking,
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
