// An exception thrown below the exports ends at their catch-all: the export
// answers its failure code and the process, which is the host's, lives on.
// The two plug-ins under test are built from the plug-ins' own export
// sources with readers that throw (tests/wine/throwing).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "common/PluginExports.h"
#include "tools/games/ReplayBuilder.h"
#include "tools/games/ShotBuilder.h"
#include "wine/PluginHost.h"

using testing_support::Bytes;

namespace {

const HLOCAL kUntouched = reinterpret_cast<HLOCAL>(0x1234);

// The same bytes on disk (path mode) and before a no-access page (memory mode).
class BothModes {
public:
    BothModes(const host::TempDir& dir, const std::string& name, const Bytes& bytes)
        : m_path(dir.Write(name, bytes)), m_image(bytes) {}

    std::vector<std::tuple<const char*, LPCSTR, DWORD>> Calls() const
    {
        return {{"path", m_path.c_str(), 0}, {"memory", m_image.Data(), m_image.Size()}};
    }

private:
    std::string m_path;
    host::GuardedBytes m_image;
};

TEST(ThrowingReader, ReplayExportsAnswerTheirFailureCode)
{
    const host::Plugin plugin("throwing-replay", "KVP_TEST_PLUGIN_DIR");
    ASSERT_TRUE(plugin.module) << host::PluginPath("throwing-replay", "KVP_TEST_PLUGIN_DIR");
    const auto isSupported = plugin.exports.IsSupported;
    const auto list = plugin.exports.GetFileInfoList;
    const auto text1 = plugin.exports.GetFileInfoText1;
    const auto text2 = plugin.exports.GetFileInfoText2;
    ASSERT_TRUE(isSupported && list && text1 && text2);
    host::TempDir dir;

    // Finding a section throws.
    const BothModes replay(dir, "kvora_01.rpy",
                           testing_support::Replay("kvor", {testing_support::Info(), testing_support::Comment("c")}));
    for (auto [mode, file, size] : replay.Calls()) {
        EXPECT_EQ(isSupported(file, size), 1) << mode;
        host::Block row;   // stored before the throw, so the host's to free
        EXPECT_EQ(list(file, size, &row.handle), 5) << mode;
        for (FileInfoFn text : {text1, text2}) {
            HLOCAL block = kUntouched;
            EXPECT_EQ(text(file, size, &block), 5) << mode;
            EXPECT_EQ(block, kUntouched) << mode;
        }
    }

    // The magic check throws: IsSupported says no, the others fail.
    const BothModes thrower(dir, "kvora_02.rpy", "thrw" + Bytes(60, 'x'));
    for (auto [mode, file, size] : thrower.Calls()) {
        EXPECT_EQ(isSupported(file, size), 0) << mode;
        HLOCAL block = kUntouched;
        EXPECT_EQ(list(file, size, &block), 5) << mode;
        EXPECT_EQ(text1(file, size, &block), 5) << mode;
        EXPECT_EQ(text2(file, size, &block), 5) << mode;
        EXPECT_EQ(block, kUntouched) << mode;
    }
    EXPECT_TRUE(host::HeapIsIntact());
}

TEST(ThrowingReader, PictureExportsAnswerTheirFailureCode)
{
    const host::Plugin plugin("throwing-image", "KVP_TEST_PLUGIN_DIR");
    ASSERT_TRUE(plugin.module) << host::PluginPath("throwing-image", "KVP_TEST_PLUGIN_DIR");
    const auto isSupported = plugin.exports.IsSupported;
    const auto list = plugin.exports.GetFileInfoList;
    const auto image = plugin.exports.GetFileInfoImage2;
    ASSERT_TRUE(isSupported && list && image);
    host::TempDir dir;

    // Decoding throws; the row, which needs no decoding, is made as ever.
    shot_support::ScreenShot shot;
    shot.width = 2;
    shot.height = 2;
    const BothModes screen(dir, "sc01.dat", shot_support::ScreenShotFile(shot, ""));
    for (auto [mode, file, size] : screen.Calls()) {
        EXPECT_EQ(isSupported(file, size), 1) << mode;
        host::Block row;
        EXPECT_EQ(list(file, size, &row.handle), 0) << mode;
        HLOCAL bits = kUntouched, info = kUntouched;
        EXPECT_EQ(image(file, size, &bits, &info), 5) << mode;
        EXPECT_EQ(bits, kUntouched) << mode;
        EXPECT_EQ(info, kUntouched) << mode;
    }

    const BothModes thrower(dir, "sc02.dat", "thrw" + Bytes(200, 'x'));
    for (auto [mode, file, size] : thrower.Calls()) {
        EXPECT_EQ(isSupported(file, size), 0) << mode;
        HLOCAL block = kUntouched, info = kUntouched;
        EXPECT_EQ(list(file, size, &block), 5) << mode;
        EXPECT_EQ(image(file, size, &block, &info), 5) << mode;
        EXPECT_EQ(block, kUntouched) << mode;
        EXPECT_EQ(info, kUntouched) << mode;
    }
    EXPECT_TRUE(host::HeapIsIntact());
}

}  // namespace
