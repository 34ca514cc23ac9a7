// The version resources against GetPluginInfo: two compilers make them from
// Description.h, and may map a character ("〜") differently. The 64-bit build
// also reads the 32-bit files (KVP_RELEASE_DIR).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "wine/PluginHost.h"

namespace {

std::wstring FromShiftJis(const std::string& text)
{
    std::wstring out(size_t(MultiByteToWideChar(932, 0, text.data(), int(text.size()), nullptr, 0)), L'\0');
    MultiByteToWideChar(932, 0, text.data(), int(text.size()), &out[0], int(out.size()));
    return out;
}

// A version string; on the way, what every file carries alike.
std::wstring VersionString(const std::string& file, const wchar_t* name, DWORD fileType)
{
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeW(Utf8ToWide(file).c_str(), &ignored));
    void* value = nullptr;
    UINT length = 0;
    auto query = [&](const std::wstring& path) {
        return !block.empty() && VerQueryValueW(block.data(), path.c_str(), &value, &length) ? value : nullptr;
    };
    if (block.empty() || !GetFileVersionInfoW(Utf8ToWide(file).c_str(), 0, DWORD(block.size()), block.data()))
        return L"<missing>";
    const WORD* translation = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation"));
    EXPECT_TRUE(translation && translation[0] == 0x0411 && translation[1] == 0x04B0) << file;
    wchar_t prefix[64];
    swprintf(prefix, 64, L"\\StringFileInfo\\%08x\\", translation ? unsigned(translation[0]) << 16 | translation[1] : 0u);
    auto string = [&](const wchar_t* key) {
        const wchar_t* text = static_cast<const wchar_t*>(query(prefix + std::wstring(key)));
        return std::wstring(text ? text : L"<missing>");
    };
    const std::wstring version = string(L"FileVersion");
    unsigned n[4] = {};
    swscanf(version.c_str(), L"%u.%u.%u.%u", &n[0], &n[1], &n[2], &n[3]);
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
    EXPECT_TRUE(fixed && fixed->dwSignature == VS_FFI_SIGNATURE && fixed->dwFileType == fileType && n[0] &&
                fixed->dwFileVersionMS == (n[0] << 16 | n[1]) && fixed->dwFileVersionLS == (n[2] << 16 | n[3]) &&
                fixed->dwProductVersionMS == fixed->dwFileVersionMS &&
                fixed->dwProductVersionLS == fixed->dwFileVersionLS)
        << file << ": the fixed part is not version " << WideToUtf8(version);
    EXPECT_EQ(string(L"ProductVersion"), version) << file;
    EXPECT_EQ(L"\\" + string(L"OriginalFilename"), Utf8ToWide(file.substr(file.rfind('\\')))) << file;
    return string(name);
}

std::vector<std::string> Folders()
{
    std::vector<std::string> folders = {host::Env("KVP_PLUGIN_DIR")};
    if (const char* release = std::getenv("KVP_RELEASE_DIR")) folders.push_back(release);
    return folders;
}

TEST(VersionInfo, EveryPluginSaysWhatItsStringsSay)
{
    for (const games::Game& game : games::All()) {
        const host::Plugin plugin(game.plugin);
        ASSERT_TRUE(plugin.module && plugin.exports.GetPluginInfo) << game.plugin;
        std::wstring strings[3];
        for (int i = 0; i < 3; ++i) {
            char buffer[512] = {};
            ASSERT_GT(plugin.exports.GetPluginInfo(i, buffer, sizeof buffer), 0);
            strings[i] = FromShiftJis(buffer);
        }
        for (const std::string& folder : Folders()) {
            const std::string file = folder + "\\" + game.plugin + ".kvp";
            auto string = [&](const wchar_t* name) { return VersionString(file, name, VFT_DLL); };
            // String 0 is the product name, the version and the author notice.
            EXPECT_EQ(string(L"ProductName") + L" Ver" + string(L"FileVersion") + L" " + string(L"LegalCopyright"),
                      strings[0]) << file;
            EXPECT_EQ(string(L"ProductName"), L"KARVO Plug-in For " + strings[1]) << file;
            EXPECT_EQ(string(L"InternalName"), Utf8ToWide(game.plugin)) << file;
            const std::wstring description = string(L"FileDescription");
            EXPECT_EQ(description.compare(0, strings[1].size(), strings[1]), 0) << file << ": not string 1 first";
            const std::wstring pattern = L"(" + strings[2] + L")";
            EXPECT_TRUE(description.size() > pattern.size() &&
                        description.compare(description.size() - pattern.size(), pattern.size(), pattern) == 0)
                << file << ": not the file pattern last";
        }
    }
}

}  // namespace
