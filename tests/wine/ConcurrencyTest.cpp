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
#include <vector>

#include "tools/games/GameFiles.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"
#include "wine/PluginCalls.h"
#include "wine/TestThread.h"

using games::Game;
using host::Answers;
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
std::vector<std::pair<std::string, Bytes>> FilesOf(const Game& game)
{
    using namespace testing_support;
    std::vector<std::pair<std::string, Bytes>> files;
    if (game.IsReplay()) {
        const Bytes good = ReplayOf(game, {Info(), Comment("first comment")}, 32);
        files = {{game.FileName("07"), good},
                 {game.FileName("udAb1"), ReplayOf(game, {Comment(Bytes(600, 'c')), Info()})},
                 {game.FileName("25"), ReplayOf(game, {Info("Name " + Bytes(700, 'n') + "\r\n")})},
                 {"other.rpy", good.substr(0, good.size() - 5)}};
        return files;
    }
    for (auto [w, h] : {std::pair<int16_t, int16_t>{5, 3}, {64, 48}, {320, 240}}) {
        const Bytes picture = MakeSamplePicture(w, h, game.image->bytesPerPixel, uint32_t(w + h));
        shot_support::ScreenShot s;
        s.day = int16_t(w % 10);
        s.width = w;
        s.height = h;
        s.timestamp = 1767225600u + uint32_t(w);
        s.slow_rate = 0.5f;
        shot_support::BestShot b;
        b.level = int16_t(w % 12);
        b.width = w;
        b.height = h;
        b.score = w * h;
        b.spell_card_name = "Sign " + std::to_string(w);
        const Bytes stream = EncodeLzss(picture.data(), picture.size());
        files.push_back({game.FileName(std::to_string(w)), ShotOf(game, s, b, stream)});
    }
    files.push_back({game.FileName("cut"), files[1].second.substr(0, HeaderSize(game.image->header) + 40)});
    return files;
}

class Concurrency : public ::testing::TestWithParam<Game> {};

TEST_P(Concurrency, ManyThreadsGetTheAnswersOfOne)
{
    const Game& game = GetParam();
    host::TempDir dir;
    std::vector<SharedFile> files;
    for (const auto& [name, bytes] : FilesOf(game))
        files.push_back({dir.Write(name, bytes), std::make_unique<host::GuardedBytes>(bytes)});
    const size_t calls = files.size() * 2;   // each file in both modes
    auto callOne = [&](const host::PluginCalls& plugin, size_t i) {
        const SharedFile& f = files[i / 2];
        return i % 2 ? plugin.CallEvery(f.image->Data(), f.image->Size()) : plugin.CallEvery(f.path.c_str(), 0);
    };

    const host::PluginCalls plugin(game);
    ASSERT_TRUE(plugin.Ready()) << host::PluginPath(game.plugin);

    // Threads first, each in its own order, all released at once.
    std::vector<std::vector<Answers>> seen(kThreads, std::vector<Answers>(calls * kRounds));
    std::atomic<int> waiting{kThreads};
    std::vector<TestThread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            --waiting;
            while (waiting.load() > 0) SwitchToThread();
            for (size_t k = 0; k < calls * kRounds; ++k) seen[t][k] = callOne(plugin, (k * (t + 1) + t) % calls);
        });
    }
    for (TestThread& thread : threads) thread.join();

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

INSTANTIATE_TEST_SUITE_P(Plugins, Concurrency, ::testing::ValuesIn(games::All()),
                         [](const auto& info) { return std::string(info.param.plugin); });

}  // namespace
