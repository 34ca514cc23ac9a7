// kvhost picture: the picture of a shot, or of every shot of a folder, as
// PNG or as the bitmap handed over.
#include <new>
#include <set>

#include "KvhostCommand.h"
#include "PictureFile.h"
#include "Text.h"

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && lstrcmpiA(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

class PictureCommand : public KvhostCommand {
public:
    using KvhostCommand::KvhostCommand;

    int Run(const std::string& input, const std::string& output)
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
        if (!HandOver(input, path) ||
            !Accepting(input, path, &PluginLibrary::HasPicture, "pictures", "picture ", plugins))
            return 1;
        std::string error;
        if (!FolderPart(output).empty() && !CreateFolders(FolderPart(output), error)) return Fail(error);
        return WritePicture(*plugins.front(), input, path, output, bmp);
    }

private:
    int PicturesOfFolder(const std::string& input, const std::string& output);
    int WritePicture(const PluginLibrary& plugin, const std::string& shot, const AnsiPath& path,
                     const std::string& out, bool bmp);
};

int PictureCommand::PicturesOfFolder(const std::string& input, const std::string& output)
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
        if (const int code = WritePicture(*shot.plugin, shot.shot, shot.path, shot.out, m_options.bmp)) return code;
    m_context.console.Out(Count(planned.size(), "picture") + " written to " + output +
                          (skipped.empty() ? "" : ", " + Count(skipped.size(), "file") + " skipped") + "\n");
    return 0;
}

// 0 once the picture is written, else the exit code with the failure said.
int PictureCommand::WritePicture(const PluginLibrary& plugin, const std::string& shot, const AnsiPath& path,
                                 const std::string& out, bool bmp)
{
    // kvhost changes no file: never write a picture over its shot.
    if (SameFile(shot, out)) return Fail("will not write the picture over its shot " + shot);
    if (!m_options.force && Exists(out)) return Fail(out + " exists; --force writes over it");
    HostBlock bits, info;
    const int result = plugin.Picture(path, bits, info);
    if (result != 0) return Fail(shot + ": " + Answered("GetFileInfoImage2", result));
    std::string error;
    DibLayout layout;
    if (!ReadDibLayout(info.Bytes(), info.Size(), bits.Size(), layout, error)) return Fail(shot + ": " + error);
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
    if (!written) return Fail(error);
    m_context.console.Out(shot + ": " + std::to_string(layout.width) + " x " + std::to_string(layout.height) +
                          " -> " + out + "\n");
    return 0;
}

}  // namespace

int RunPicture(const Options& options, KvhostContext& context, const LoadedPlugins& plugins,
               const std::string& input, const std::string& output)
{
    return PictureCommand(options, context, plugins).Run(input, output);
}
