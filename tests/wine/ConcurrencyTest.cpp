// The host may ask for rows, texts and pictures from several threads at
// once: every export of every plug-in, called by many threads on shared files
// (path and memory mode), answers exactly as in a single-threaded run. The
// threads start together on freshly loaded plug-ins, so that even the first
// use of what a plug-in builds once per process is raced.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/ReplayBuilder.h"
#include "support/ShotBuilder.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"
#include "wine/PluginCalls.h"

using host::Answers;
using host::PluginKind;
using testing_support::Bytes;

namespace {

constexpr int kThreads = 6;
constexpr int kRounds = 8;

struct SharedFile {
    std::string path;                             // path mode
    std::unique_ptr<host::GuardedBytes> image;   // memory mode
};

// Files of one kind under the names the games give them: numbered and user
// slots, other names, a cut file, and for pictures padded and unpadded rows.
std::vector<std::pair<std::string, Bytes>> FilesOf(const PluginKind& kind)
{
    using namespace testing_support;
    std::vector<std::pair<std::string, Bytes>> files;
    const std::string p = kind.prefix;
    if (kind.replay) {
        const Bytes good = Replay(kind.magic, {Info(), Comment("first comment")}, 32);
        files = {{p + "07.rpy", good},
                 {p + "udAb1.rpy", Replay(kind.magic, {Comment(Bytes(600, 'c')), Info()})},
                 {p + "25.rpy", Replay(kind.magic, {Info("Name " + Bytes(700, 'n') + "\r\n")})},
                 {"other.rpy", good.substr(0, good.size() - 5)}};
        return files;
    }
    using namespace shot_support;
    for (auto [w, h] : {std::pair<int16_t, int16_t>{5, 3}, {64, 48}, {320, 240}}) {
        const Bytes picture = MakeSamplePicture(w, h, kind.bytesPerPixel, uint32_t(w + h));
        const Bytes stream = EncodeLzss(picture.data(), picture.size());
        Bytes file;
        if (kind.bytesPerPixel == 4) {
            ScreenShot s;
            s.day = int16_t(w % 10);
            s.width = w;
            s.height = h;
            s.timestamp = 1767225600u + uint32_t(w);
            s.slow_rate = 0.5f;
            file = ScreenShotFile(s, stream);
        } else {
            BestShot b;
            b.level = int16_t(w % 12);
            b.width = w;
            b.height = h;
            b.score = w * h;
            b.spell_card_name = "Sign " + std::to_string(w);
            file = BestShotFile(b, stream);
        }
        files.push_back({p + std::to_string(w) + ".dat", file});
    }
    files.push_back({p + "cut.dat", files[1].second.substr(0, kind.headerSize + 40)});
    return files;
}

class Concurrency : public ::testing::TestWithParam<PluginKind> {};

TEST_P(Concurrency, ManyThreadsGetTheAnswersOfOne)
{
    const PluginKind& kind = GetParam();
    host::TempDir dir;
    std::vector<SharedFile> files;
    for (const auto& [name, bytes] : FilesOf(kind))
        files.push_back({dir.Write(name, bytes), std::make_unique<host::GuardedBytes>(bytes)});
    const size_t calls = files.size() * 2;   // each file in both modes
    auto callOne = [&](const host::PluginCalls& plugin, size_t i) {
        const SharedFile& f = files[i / 2];
        return i % 2 ? plugin.CallEvery(f.image->Data(), f.image->Size()) : plugin.CallEvery(f.path.c_str(), 0);
    };

    const host::PluginCalls plugin(kind);
    ASSERT_TRUE(plugin.Ready()) << host::PluginPath(kind.name);

    // Threads first, each in its own order, all released at once.
    std::vector<std::vector<Answers>> seen(kThreads, std::vector<Answers>(calls * kRounds));
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            --waiting;
            while (waiting.load() > 0) std::this_thread::yield();
            for (size_t k = 0; k < calls * kRounds; ++k) seen[t][k] = callOne(plugin, (k * (t + 1) + t) % calls);
        });
    }
    for (std::thread& thread : threads) thread.join();

    // Then the same calls one by one.
    std::vector<Answers> alone;
    for (size_t i = 0; i < calls; ++i) alone.push_back(callOne(plugin, i));
    for (const Answers& a : alone) {
        ASSERT_TRUE(a.list.result == 0 || a.list.result == 2) << "the files are this plug-in's";
        EXPECT_TRUE(a.list.first.freed && a.text1.first.freed && a.image.first.freed && a.image.second.freed);
    }
    int differing = 0;
    for (int t = 0; t < kThreads; ++t)
        for (size_t k = 0; k < calls * kRounds; ++k) differing += !(seen[t][k] == alone[(k * (t + 1) + t) % calls]);
    EXPECT_EQ(differing, 0) << "of " << kThreads * calls * kRounds << " answers";
    EXPECT_TRUE(host::HeapIsIntact());
}

INSTANTIATE_TEST_SUITE_P(Plugins, Concurrency, ::testing::ValuesIn(host::kPluginKinds),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
