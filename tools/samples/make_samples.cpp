// Writes the bundled sample files: made up here, deterministic, and
// committed, so that the main job and the README have something to show.
//   make_samples OUTPUT_FOLDER
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "support/ReplayBuilder.h"
#include "support/ShotBuilder.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"

using namespace testing_support;

namespace {

struct Game {
    const char* folder;
    const char* magic;
    const char* prefix;
    const char* characterKey;  // "Chara", "Route", or "Chara" with a scene
    bool scenes;
};

const Game kGames[] = {
    {"kvorarec", "kvor", "kvora", "Chara", false},
    {"mirelrec", "mirl", "mirel", "Route", false},
    {"taskorec", "tsko", "tasko", "Chara", true},
    {"nivrarec", "nivr", "nivra", "Chara", false},
};

// Player names and comments in Shift-JIS.
const char* kNames[] = {"\x82\xA0\x82\xA9\x82\xE8", "Bob", "\x83\x7E\x83\x4E", "Carol"};
const char* kComments[] = {
    "\x8F\x89\x82\xDF\x82\xC4\x82\xCC\x83\x6D\x81\x5B\x83\x7E\x83\x58",  // 初めてのノーミス
    "Bomb spam on stage 4, but it counts.",
    "",
};

std::string InfoText(const Game& game, int n)
{
    char text[512];
    const char* ranks[] = {"Easy", "Normal", "Hard", "Expert"};
    const char* characters[] = {"Alpha", "Beta", "Gamma"};
    if (game.scenes) {
        std::snprintf(text, sizeof text,
                      "Version 1.0%d\r\nName %s\r\nDate 2026/0%d/1%d 2%d:1%d\r\nChara %s\r\nScene   %d-%d\r\n"
                      "Score %d\r\nSlow Rate %d.%02d\r\n",
                      n % 3, kNames[n % 4], 1 + n % 9, n % 10, n % 4, n % 6, characters[n % 3], 1 + n % 9,
                      1 + n % 6, 1234560 + n * 98765, n % 3, (n * 37) % 100);
    } else {
        std::snprintf(text, sizeof text,
                      "Version 1.0%d\r\nName %s\r\nDate 2026/0%d/1%d 2%d:1%d\r\n%s %s\r\nRank %s\r\n"
                      "Stage %s\r\nScore %d\r\nSlow Rate %d.%02d\r\n",
                      n % 3, kNames[n % 4], 1 + n % 9, n % 10, n % 4, n % 6, game.characterKey,
                      characters[n % 3], ranks[n % 4], n % 2 ? "All Clear" : "Stage 5", 98765430 + n * 1234567,
                      n % 3, (n * 37) % 100);
    }
    return text;
}

struct Shot {
    const char* name;
    int16_t dayOrLevel;
    int16_t scene;
    int16_t width;
    int16_t height;
    uint32_t seed;
};

// Screenshots and best shots holding real pictures, encoded as the games do.
std::vector<std::pair<std::string, std::string>> ShotSamples()
{
    std::vector<std::pair<std::string, std::string>> files;
    const Shot screenshots[] = {{"sc0000.dat", 0, 0, 160, 120, 1}, {"sc0001.dat", 3, 4, 200, 150, 2},
                                {"sc0002.dat", 9, 1, 121, 91, 3}};
    for (const Shot& s : screenshots) {
        shot_support::ScreenShot header;
        header.day = s.dayOrLevel;
        header.scene = s.scene;
        header.width = s.width;
        header.height = s.height;
        header.timestamp = 1767225600u + s.seed * 86461u;  // January 2026
        header.slow_rate = 0.25f * float(s.seed);
        const std::string picture = MakeSamplePicture(uint32_t(s.width), uint32_t(s.height), 4, s.seed);
        files.push_back({std::string("brysspic/") + s.name,
                         ScreenShotFile(header, EncodeLzss(picture.data(), picture.size()))});
    }
    const Shot bestShots[] = {{"bs_01_1.dat", 1, 1, 160, 120, 4}, {"bs_07_3.dat", 7, 3, 175, 100, 5},
                              {"bs_11_2.dat", 11, 2, 99, 77, 6}};
    const char* spellCards[] = {"\x8C\xF5\x95\x84\x81\x75\x92\xA9\x82\xCC\x91\x8B\x81\x76",  // 光符「朝の窓」
                                "Glass Sign \"Paper Lantern\"", ""};
    int i = 0;
    for (const Shot& s : bestShots) {
        shot_support::BestShot header;
        header.level = s.dayOrLevel;
        header.scene = s.scene;
        header.width = s.width;
        header.height = s.height;
        header.score = 120000 + int32_t(s.seed) * 3210;
        header.slow_rate = 1.5f / float(s.seed);
        header.spell_card_name = spellCards[i++];
        const std::string picture = MakeSamplePicture(uint32_t(s.width), uint32_t(s.height), 3, s.seed);
        files.push_back({std::string("zoltepic/") + s.name,
                         BestShotFile(header, EncodeLzss(picture.data(), picture.size()))});
    }
    return files;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

// A folder of many replays of the first game, for timing a listing: numbered
// slots first, then other names, each with a body of `bodyBytes`.
int MakeReplayFolder(const std::string& folder, int count, size_t bodyBytes)
{
    mkdir(folder.c_str(), 0755);
    const Game& game = kGames[0];
    for (int n = 1; n <= count; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, n < 100 ? "_%02d.rpy" : "_%05d.rpy", n);
        const std::string bytes =
            Replay(game.magic, {Info(InfoText(game, n)), Comment(kComments[n % 3])}, bodyBytes + size_t(n % 97));
        if (!WriteFile(folder + "/" + game.prefix + name, bytes)) {
            std::fprintf(stderr, "make_samples: cannot write into %s\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--replays")
        return MakeReplayFolder(argv[4], std::atoi(argv[2]), size_t(std::atol(argv[3])));
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples OUTPUT_FOLDER\n"
                             "       make_samples --replays COUNT BODY_BYTES OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    int n = 0;
    for (const Game& game : kGames) {
        const std::string dir = root + "/" + game.folder;
        mkdir(dir.c_str(), 0755);
        const std::string prefix = dir + "/" + game.prefix;
        struct Sample {
            std::string name;
            std::string bytes;
        };
        std::vector<Sample> samples;
        for (int slot : {1, 2, 7, 25}) {
            char name[32];
            std::snprintf(name, sizeof name, "_%02d.rpy", slot);
            ++n;
            samples.push_back({name, Replay(game.magic, {Info(InfoText(game, n)), Comment(kComments[n % 3])},
                                            2000 + 97 * n)});
        }
        // The comment first, as some older saves have it.
        samples.push_back({"_udmine.rpy", Replay(game.magic, {Comment(kComments[0]), Info(InfoText(game, ++n))}, 512)});
        samples.push_back({"_udlong.rpy", Replay(game.magic, {Info(InfoText(game, ++n)),
                                                             Comment("line one\r\nline two\r\n\x82\xA0\x82\xA2")}, 300)});
        samples.push_back({"_best.rpy", Replay(game.magic, {Info(InfoText(game, ++n)), Comment("renamed")}, 128)});
        // No comment section: the list refuses it, the information pane still works.
        samples.push_back({"_03.rpy", Replay(game.magic, {Info(InfoText(game, ++n))}, 64)});
        for (const Sample& s : samples) {
            if (!WriteFile(prefix + s.name, s.bytes)) {
                std::fprintf(stderr, "make_samples: cannot write %s%s\n", prefix.c_str(), s.name.c_str());
                return 1;
            }
        }
    }
    for (const std::string folder : {"brysspic", "zoltepic"}) mkdir((root + "/" + folder).c_str(), 0755);
    for (const auto& [name, bytes] : ShotSamples()) {
        if (!WriteFile(root + "/" + name, bytes)) {
            std::fprintf(stderr, "make_samples: cannot write %s/%s\n", root.c_str(), name.c_str());
            return 1;
        }
    }
    return 0;
}
