// An exception below the exports ends at their catch-all (plug-ins built
// with readers that throw, tests/wine/throwing).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tools/games/ReplayBuilder.h"
#include "tools/games/ShotBuilder.h"
#include "wine/PluginHost.h"

using namespace testing_support;

namespace {

TEST(ThrowingReader, ExportsAnswerTheirFailureCode)
{
    shot_support::ScreenShot shot;
    shot.width = shot.height = 2;
    const Bytes thrower = "thrw" + Bytes(200, 'x');
    const struct {
        const char* plugin;
        bool replay;
        Bytes file;
        int supported, list, other;   // other: both text panes, or the picture
    } cases[] = {
        // The replay reader throws when it looks for a section.
        {"throwing-replay", true, Replay("kvor", {Info(), Comment("c")}), 1, 5, 5},
        // "thrw": the magic check throws, so IsSupported says no and the others fail.
        {"throwing-replay", true, thrower, 0, 5, 5},
        // The picture reader throws when it decodes; the row needs no decoding.
        {"throwing-image", false, shot_support::ScreenShotFile(shot, ""), 1, 0, 5},
        {"throwing-image", false, thrower, 0, 5, 5},
    };
    host::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.plugin) + ": " + c.file.substr(0, 4));
        const host::PluginCalls calls(c.plugin, c.replay, "KVP_TEST_PLUGIN_DIR");
        ASSERT_TRUE(calls.Ready()) << host::PluginPath(c.plugin, "KVP_TEST_PLUGIN_DIR");
        const host::GuardedBytes image(c.file);
        const std::string path = dir.Write("file", c.file);
        for (const auto& a : {calls.CallEvery(path.c_str(), 0), calls.CallEvery(image.Data(), image.Size())}) {
            EXPECT_EQ(a[0].result, c.supported);
            EXPECT_EQ(a[1].result, c.list);
            for (size_t i = 2; i < a.size(); ++i)
                EXPECT_TRUE(a[i].result == c.other && a[i].blocks.empty()) << i << ": " << a[i].result;
        }
    }
    EXPECT_TRUE(host::HeapIsIntact());
}

}  // namespace
