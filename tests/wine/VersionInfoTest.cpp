// The version resource of every built file, read back as Windows reads it and
// compared with what each plug-in says of itself through GetPluginInfo. Both
// are made from the plug-in's Description.h, but by two compilers: the C++
// compiler turns its UTF-8 into Shift-JIS, the resource compiler into UTF-16,
// and a character that the two map differently ("〜") makes them disagree.
// The 64-bit build also reads the 32-bit files (KVP_RELEASE_DIR): version
// resources read as data whatever the bitness.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/PluginExports.h"
#include "wine/PluginHost.h"

namespace {

std::wstring Wide(const std::string& text, UINT codePage)
{
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(length, L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), &out[0], length);
    return out;
}

bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "1.02" as the four numbers of a fixed version, (1, 2, 0, 0).
ULONGLONG FixedNumbers(const std::wstring& version)
{
    unsigned n[4] = {};
    swscanf(version.c_str(), L"%u.%u.%u.%u", &n[0], &n[1], &n[2], &n[3]);
    return ULONGLONG(n[0]) << 48 | ULONGLONG(n[1]) << 32 | n[2] << 16 | n[3];
}

std::vector<std::string> FilesIn(const std::string& dir, const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "\\" + pattern).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(entry.cFileName);
    while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

class VersionInfo {
public:
    explicit VersionInfo(const std::string& path)
    {
        const std::wstring wide = Wide(path, CP_ACP);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
        m_block.resize(size);
        if (!size || !GetFileVersionInfoW(wide.c_str(), 0, size, m_block.data())) m_block.clear();
    }

    bool Found() const { return !m_block.empty(); }

    const VS_FIXEDFILEINFO& Fixed() const
    {
        static const VS_FIXEDFILEINFO none = {};
        const void* value = Query(L"\\");
        return value ? *static_cast<const VS_FIXEDFILEINFO*>(value) : none;
    }

    // Language and code page of the first translation as one number (0x041104B0).
    DWORD Translation() const
    {
        const WORD* pair = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation"));
        return pair ? DWORD(pair[0]) << 16 | pair[1] : 0;
    }

    // A string under the first translation, as Windows looks it up.
    std::wstring String(const wchar_t* name) const
    {
        wchar_t path[128];
        swprintf(path, 128, L"\\StringFileInfo\\%08x\\%ls", unsigned(Translation()), name);
        const wchar_t* text = static_cast<const wchar_t*>(Query(path));
        return text ? text : L"<missing>";
    }

private:
    const void* Query(const wchar_t* path) const
    {
        void* value = nullptr;
        UINT length = 0;
        if (m_block.empty() || !VerQueryValueW(m_block.data(), path, &value, &length)) return nullptr;
        return value;
    }

    std::vector<char> m_block;
};

// What every file carries alike: the fixed part agrees with the version
// strings, its names, the author notice, the Japanese/Unicode translation.
void CheckCommon(const VersionInfo& info, const std::string& name, const char* suffix, DWORD fileType)
{
    ASSERT_TRUE(info.Found());
    const VS_FIXEDFILEINFO& fixed = info.Fixed();
    EXPECT_EQ(fixed.dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(fixed.dwFileType, fileType);
    EXPECT_EQ(info.Translation(), 0x041104B0u);

    const std::wstring version = info.String(L"FileVersion");
    EXPECT_EQ(info.String(L"ProductVersion"), version);
    const ULONGLONG numbers = FixedNumbers(version);
    EXPECT_NE(numbers, 0u) << "unreadable version";
    EXPECT_EQ(ULONGLONG(fixed.dwFileVersionMS) << 32 | fixed.dwFileVersionLS, numbers);
    EXPECT_EQ(ULONGLONG(fixed.dwProductVersionMS) << 32 | fixed.dwProductVersionLS, numbers);

    EXPECT_EQ(info.String(L"InternalName"), Wide(name, CP_ACP));
    EXPECT_EQ(info.String(L"OriginalFilename"), Wide(name + suffix, CP_ACP));
    const std::wstring company = info.String(L"CompanyName");
    EXPECT_TRUE(company.size() > 1 && EndsWith(info.String(L"LegalCopyright"), L" " + company))
        << "copyright and company disagree";
}

std::vector<std::string> Folders()
{
    std::vector<std::string> folders = {std::getenv("KVP_PLUGIN_DIR")};
    if (const char* release = std::getenv("KVP_RELEASE_DIR")) folders.push_back(release);
    return folders;
}

TEST(VersionInfo, EveryPluginSaysWhatItsStringsSay)
{
    const std::vector<std::string> plugins = FilesIn(std::getenv("KVP_PLUGIN_DIR"), "*.kvp");
    ASSERT_FALSE(plugins.empty());
    for (const std::string& file : plugins) {
        const std::string name = file.substr(0, file.size() - 4);
        SCOPED_TRACE(name);
        host::Plugin plugin(name);
        ASSERT_TRUE(plugin.module);
        const auto getInfo = plugin.exports.GetPluginInfo;
        ASSERT_NE(getInfo, nullptr);
        std::wstring strings[3];
        for (int i = 0; i < 3; ++i) {
            char buffer[512] = {};
            ASSERT_GT(getInfo(i, buffer, sizeof buffer), 0);
            strings[i] = Wide(buffer, 932);
        }

        for (const std::string& folder : Folders()) {
            SCOPED_TRACE(folder);
            const VersionInfo info(folder + "\\" + file);
            CheckCommon(info, name, ".kvp", VFT_DLL);
            // String 0 is the product name, the version and the author notice.
            EXPECT_EQ(info.String(L"ProductName") + L" Ver" + info.String(L"FileVersion") + L" " +
                          info.String(L"LegalCopyright"),
                      strings[0]);
            EXPECT_EQ(info.String(L"ProductName"), L"KARVO Plug-in For " + strings[1]);
            const std::wstring description = info.String(L"FileDescription");
            EXPECT_EQ(description.compare(0, strings[1].size(), strings[1]), 0) << "does not start with string 1";
            EXPECT_TRUE(EndsWith(description, L"(" + strings[2] + L")")) << "does not end with the file pattern";
        }
    }
}

TEST(VersionInfo, KvhostCarriesTheReleaseVersion)
{
    const char* release = std::getenv("KVP_RELEASE_VERSION");
    ASSERT_NE(release, nullptr);
    for (const std::string& folder : Folders()) {
        SCOPED_TRACE(folder);
        const VersionInfo info(folder + "\\kvhost.exe");
        CheckCommon(info, "kvhost", ".exe", VFT_APP);
        EXPECT_EQ(info.String(L"FileVersion"), Wide(release, CP_ACP));
        EXPECT_EQ(info.String(L"ProductName"), L"kvp-plugins");
    }
}

}  // namespace
