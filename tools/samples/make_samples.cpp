// Writes the bundled sample files of every game the build knows: made up
// here, deterministic, and committed, so that the main job and the README
// have something to show. A game's files follow from its profile (magic,
// file names, information keys, kind and depth of picture) and its sample
// series, which varies what they hold.
//   make_samples OUTPUT_FOLDER
//   make_samples --replays PLUGIN COUNT BODY_BYTES OUTPUT_FOLDER
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "tools/games/Games.h"
#include "tools/games/ReplayBuilder.h"
#include "tools/games/ShotBuilder.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"

using namespace testing_support;
using games::Game;

namespace {

// Player names and comments in Shift-JIS.
const char* kNames[] = {"\x82\xA0\x82\xA9\x82\xE8", "Bob", "\x83\x7E\x83\x4E", "Carol"};
const char* kComments[] = {
    "\x8F\x89\x82\xDF\x82\xC4\x82\xCC\x83\x6D\x81\x5B\x83\x7E\x83\x58",  // 初めてのノーミス
    "Bomb spam on stage 4, but it counts.",
    "",
};
// The replays of a series, numbered on from those of the series before.
constexpr int kReplaysPerSeries = 8;

// The information text of replay n: a line for each key the game reads, in
// the order of its key list.
std::string InfoText(const Game& game, int n)
{
    const char* ranks[] = {"Easy", "Normal", "Hard", "Expert"};
    const char* characters[] = {"Alpha", "Beta", "Gamma"};
    const ReplayProfile& profile = *game.replay;
    const bool scenes = game.Reads(InfoField::Scene);
    std::string text;
    for (uint32_t i = 0; i < profile.keys.count; ++i) {
        const InfoKey& key = profile.keys.keys[i];
        char line[128];
        switch (key.field) {
        case InfoField::Version: std::snprintf(line, sizeof line, "Version 1.0%d", n % 3); break;
        case InfoField::Name: std::snprintf(line, sizeof line, "Name %s", kNames[n % 4]); break;
        case InfoField::Date:
            std::snprintf(line, sizeof line, "Date 2026/0%d/1%d 2%d:1%d", 1 + n % 9, n % 10, n % 4, n % 6);
            break;
        case InfoField::Chara:
        case InfoField::Route: std::snprintf(line, sizeof line, "%s%s", key.key, characters[n % 3]); break;
        case InfoField::Rank: std::snprintf(line, sizeof line, "Rank %s", ranks[n % 4]); break;
        case InfoField::Stage: std::snprintf(line, sizeof line, "Stage %s", n % 2 ? "All Clear" : "Stage 5"); break;
        // The scene stands on a line of its own, right before the score.
        case InfoField::Scene: std::snprintf(line, sizeof line, "Scene   %d-%d", 1 + n % 9, 1 + n % 6); break;
        case InfoField::Score:
            std::snprintf(line, sizeof line, "Score %d", scenes ? 1234560 + n * 98765 : 98765430 + n * 1234567);
            break;
        case InfoField::SlowRate: std::snprintf(line, sizeof line, "Slow Rate %d.%02d", n % 3, (n * 37) % 100); break;
        case InfoField::Count: continue;
        }
        text += std::string(line) + "\r\n";
    }
    return text;
}

struct Sample {
    std::string name;
    std::string bytes;
};

// Numbered slots, user slots and other names; one without a comment section.
std::vector<Sample> ReplaySamples(const Game& game)
{
    const std::string magic = game.Magic();
    const std::string prefix = game.Prefix();
    int n = game.sampleSeries * kReplaysPerSeries;
    std::vector<Sample> samples;
    for (int slot : {1, 2, 7, 25}) {
        char name[32];
        std::snprintf(name, sizeof name, "%02d.rpy", slot);
        ++n;
        samples.push_back({prefix + name, Replay(magic.c_str(), {Info(InfoText(game, n)), Comment(kComments[n % 3])},
                                                 2000 + 97 * n)});
    }
    // The comment first, as some older saves have it.
    samples.push_back({prefix + "udmine.rpy",
                       Replay(magic.c_str(), {Comment(kComments[0]), Info(InfoText(game, ++n))}, 512)});
    samples.push_back({prefix + "udlong.rpy", Replay(magic.c_str(), {Info(InfoText(game, ++n)),
                                                                     Comment("line one\r\nline two\r\n\x82\xA0\x82\xA2")},
                                                     300)});
    samples.push_back({prefix + "best.rpy", Replay(magic.c_str(), {Info(InfoText(game, ++n)), Comment("renamed")}, 128)});
    // No comment section: the list refuses it, the information pane still works.
    samples.push_back({prefix + "03.rpy", Replay(magic.c_str(), {Info(InfoText(game, ++n))}, 64)});
    return samples;
}

struct Shot {
    const char* name;   // what stands for the pattern's '*'
    int16_t dayOrLevel;
    int16_t scene;
    int16_t width;
    int16_t height;
};

// Screenshots and best shots holding real pictures, encoded as the games do,
// with the game's own signature.
std::vector<Sample> ShotSamples(const Game& game)
{
    const ImageProfile& profile = *game.image;
    const uint32_t firstSeed = 1 + 3 * uint32_t(game.sampleSeries);
    std::vector<Sample> samples;
    if (profile.header == ShotKind::ScreenShot) {
        const Shot shots[] = {{"0000", 0, 0, 160, 120}, {"0001", 3, 4, 200, 150}, {"0002", 9, 1, 121, 91}};
        uint32_t seed = firstSeed;
        for (const Shot& s : shots) {
            shot_support::ScreenShot header;
            header.day = s.dayOrLevel;
            header.scene = s.scene;
            header.width = s.width;
            header.height = s.height;
            header.timestamp = 1767225600u + seed * 86461u;  // January 2026
            header.slow_rate = 0.25f * float(seed);
            const std::string picture =
                MakeSamplePicture(uint32_t(s.width), uint32_t(s.height), profile.bytesPerPixel, seed++);
            const std::string stream = EncodeLzss(picture.data(), picture.size());
            samples.push_back({game.FileName(s.name), ScreenShotFile(header, stream)});
        }
    } else {
        const Shot shots[] = {{"01_1", 1, 1, 160, 120}, {"07_3", 7, 3, 175, 100}, {"11_2", 11, 2, 99, 77}};
        const char* spellCards[] = {"\x8C\xF5\x95\x84\x81\x75\x92\xA9\x82\xCC\x91\x8B\x81\x76",  // 光符「朝の窓」
                                    "Glass Sign \"Paper Lantern\"", ""};
        uint32_t seed = firstSeed;
        int i = 0;
        for (const Shot& s : shots) {
            shot_support::BestShot header;
            header.level = s.dayOrLevel;
            header.scene = s.scene;
            header.width = s.width;
            header.height = s.height;
            header.score = 120000 + int32_t(seed) * 3210;
            header.slow_rate = 1.5f / float(seed);
            header.spell_card_name = spellCards[i++];
            const std::string picture =
                MakeSamplePicture(uint32_t(s.width), uint32_t(s.height), profile.bytesPerPixel, seed++);
            const std::string stream = EncodeLzss(picture.data(), picture.size());
            samples.push_back({game.FileName(s.name), BestShotFile(header, stream)});
        }
    }
    for (Sample& s : samples) s.bytes.replace(0, 4, game.Magic());
    return samples;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

// A folder of many replays of a game, for timing a listing: numbered slots
// first, then other names, each with a body of `bodyBytes`.
int MakeReplayFolder(const std::string& plugin, const std::string& folder, int count, size_t bodyBytes)
{
    const Game* found = nullptr;
    for (const Game& game : games::Replays())
        if (plugin == game.plugin) found = &game;
    if (!found) {
        std::fprintf(stderr, "make_samples: %s is not a replay plug-in\n", plugin.c_str());
        return 2;
    }
    const Game& game = *found;
    mkdir(folder.c_str(), 0755);
    const std::string magic = game.Magic();
    for (int n = 1; n <= count; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, n < 100 ? "%02d.rpy" : "%05d.rpy", n);
        const std::string bytes = Replay(magic.c_str(), {Info(InfoText(game, n)), Comment(kComments[n % 3])},
                                         bodyBytes + size_t(n % 97));
        if (!WriteFile(folder + "/" + game.Prefix() + name, bytes)) {
            std::fprintf(stderr, "make_samples: cannot write into %s\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 6 && std::string(argv[1]) == "--replays")
        return MakeReplayFolder(argv[2], argv[5], std::atoi(argv[3]), size_t(std::atol(argv[4])));
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples OUTPUT_FOLDER\n"
                             "       make_samples --replays PLUGIN COUNT BODY_BYTES OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    for (const Game& game : games::All()) {
        const std::string dir = root + "/" + game.plugin;
        mkdir(dir.c_str(), 0755);
        for (const Sample& s : game.IsReplay() ? ReplaySamples(game) : ShotSamples(game)) {
            if (!WriteFile(dir + "/" + s.name, s.bytes)) {
                std::fprintf(stderr, "make_samples: cannot write %s/%s\n", dir.c_str(), s.name.c_str());
                return 1;
            }
        }
    }
    return 0;
}
