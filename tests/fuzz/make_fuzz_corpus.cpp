// Writes the seed corpus of every fuzz target: valid files of each game the
// build knows and a few hostile variants of them. Deterministic; the
// committed corpus is what it writes. A seed's first byte picks its game as
// the targets read it (FuzzCheck.h): the game's place, plus the number of
// games times the target's other choice.
//   make_fuzz_corpus OUTPUT_FOLDER
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "support/GameFiles.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"

using games::Game;
using testing_support::Bytes;
using namespace testing_support;

namespace {

const char* const kSceneInfo =
    "Version 1.02\r\nName Bob\r\nDate 2026/03/04 05:06\r\nChara Beta\r\nScene   3-4\r\nScore 1234\r\n"
    "Slow Rate 0.01\r\n";

class Corpus {
public:
    explicit Corpus(std::string root) : m_root(std::move(root)) { mkdir(m_root.c_str(), 0755); }

    void Target(const std::string& name)
    {
        m_folder = m_root + "/" + name;
        mkdir(m_folder.c_str(), 0755);
        m_count = 0;
    }

    void Add(const Bytes& bytes)
    {
        char name[16];
        std::snprintf(name, sizeof name, "seed-%03d", m_count++);
        FILE* file = std::fopen((m_folder + "/" + name).c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
            std::fprintf(stderr, "make_fuzz_corpus: cannot write %s/%s\n", m_folder.c_str(), name);
            std::exit(1);
        }
    }

private:
    std::string m_root;
    std::string m_folder;
    int m_count = 0;
};

Bytes WithU32(Bytes file, size_t at, uint32_t value)
{
    if (at + 4 <= file.size()) SetU32(file, at, value);
    return file;
}

Bytes U16(uint32_t value) { return Bytes{char(value & 0xFF), char(value >> 8 & 0xFF)}; }

// The first byte of a seed for the game at `place` of `count` games.
Bytes Selector(size_t place, size_t count, size_t rest = 0) { return Bytes(1, char(place + count * rest)); }

// Replays of a game: the usual layout, then the hostile ones.
std::vector<Bytes> Replays(const Game& game)
{
    const Bytes info = game.Reads(InfoField::Scene) ? Info(kSceneInfo) : Info();
    const Bytes good = ReplayOf(game, {info, Comment("a comment")}, 24);
    const size_t first = 16 + 24, second = first + info.size();
    return {
        good,
        ReplayOf(game, {Comment("comment first"), info}),
        ReplayOf(game, {info}, 5),
        ReplayOf(game, {info, Section(1, "no terminator")}),
        good.substr(0, second + 6),                   // cut inside the comment header
        WithU32(good, 12, 0xFFFFFFF0u),               // user-data offset far outside
        WithU32(good, first + 4, 11),                 // shorter than its own header
        WithU32(good, first + 4, 0xFFFFFFF8u),        // length near 2^32
        WithU32(good, second + 4, uint32_t(good.size())),
        ReplayOf(game, {Section(0, "Name " + Bytes(600, 'n') + "\r\n"), Comment(Bytes(700, 'c'))}),
    };
}

Bytes Shot(const Game& game, int16_t width, int16_t height, const Bytes& stream)
{
    shot_support::ScreenShot s;
    s.day = 3;
    s.scene = 2;
    s.width = width;
    s.height = height;
    s.timestamp = 1767225600u;
    s.slow_rate = 0.25f;
    shot_support::BestShot b;
    b.level = 11;
    b.scene = 4;
    b.width = width;
    b.height = height;
    b.score = 123456;
    b.slow_rate = 1.5f;
    b.spell_card_name = "Sign \x83X\x83y\x83\x8B";
    return ShotOf(game, s, b, stream);
}

// Shots of a picture game: small real pictures and hostile sizes.
std::vector<Bytes> Shots(const Game& game)
{
    std::vector<Bytes> shots;
    for (auto [w, h] : {std::pair<int16_t, int16_t>{3, 2}, {5, 3}, {17, 9}}) {
        const Bytes picture = MakeSamplePicture(w, h, game.image->bytesPerPixel, uint32_t(w * 31 + h));
        shots.push_back(Shot(game, w, h, EncodeLzss(picture.data(), picture.size())));
    }
    const Bytes stream = shots[1].substr(HeaderSize(game.image->header));
    shots.push_back(Shot(game, -5, 3, stream));
    shots.push_back(Shot(game, 32767, 32767, stream));
    shots.push_back(Shot(game, 7, 5, ""));
    shots.push_back(shots[0].substr(0, 50));
    return shots;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_corpus OUTPUT_FOLDER\n");
        return 2;
    }
    Corpus corpus(argv[1]);
    const std::vector<Game>& replays = games::Replays();
    const std::vector<Game>& pictures = games::Pictures();
    // The place of the first game whose replays name a scene, and of the
    // first whose do not.
    size_t scene = 0, noScene = 0;
    while (scene < replays.size() && !replays[scene].Reads(InfoField::Scene)) ++scene;
    while (noScene < replays.size() && replays[noScene].Reads(InfoField::Scene)) ++noScene;

    // The container holds no game's facts: the replays of a game with a
    // scene and of one without.
    corpus.Target("replay_container");
    for (size_t g : {noScene, scene})
        if (g < replays.size())
            for (const Bytes& r : Replays(replays[g])) corpus.Add(r);

    corpus.Target("replay_info");
    for (size_t g = 0; g < replays.size(); ++g)
        corpus.Add(Selector(g, replays.size()) + (replays[g].Reads(InfoField::Scene) ? kSceneInfo : kSampleInfo));
    if (scene < replays.size())   // a value before its key, at the very start
        corpus.Add(Selector(scene, replays.size()) + "Score 1\r\nScene");
    corpus.Add(Selector(0, replays.size()) + "Name\rVersion\n\nDate " + Bytes(3, '\0') + "Rank x");

    corpus.Target("slot_name");
    for (size_t g = 0; g < replays.size(); ++g) {
        const std::string p = replays[g].Prefix();
        for (const std::string& name : {p + "07.rpy", "C:\\replay\\" + p + "ud1234.rpy", p + "UDab.RPY",
                                        "dir/" + p + "26.rpy", "\x83\x5C\\" + p + "ud.rpy"})
            corpus.Add(Selector(g, replays.size(), 7) + name);   // a slot buffer of 8 bytes
    }

    corpus.Target("replay_rows");
    for (size_t g = 0; g < replays.size(); ++g) {
        const std::vector<Bytes> files = Replays(replays[g]);
        for (size_t i = 0; i < files.size(); i += 3) corpus.Add(Selector(g, replays.size()) + files[i]);
        // With a file name.
        corpus.Add(Selector(g, replays.size(), 1) + "C:\\r\\" + replays[g].Prefix() + "12.rpy" + Bytes(1, '\0') +
                   files[0]);
    }

    corpus.Target("shot_rows");
    for (size_t g = 0; g < pictures.size(); ++g)
        for (const Bytes& s : Shots(pictures[g])) corpus.Add(Selector(g, pictures.size()) + s.substr(0, 200));

    corpus.Target("get_image");
    for (size_t g = 0; g < pictures.size(); ++g)
        for (const Bytes& s : Shots(pictures[g])) corpus.Add(Selector(g, pictures.size()) + s);

    corpus.Target("lzss");
    for (uint32_t size : {64u, 9000u, 20000u}) {
        const Bytes picture = MakeSamplePicture(size / 4, 1, 4, size);
        corpus.Add(U16(size) + EncodeLzss(picture.data(), picture.size()));
    }
    corpus.Add(U16(300) + EncodeLzss(Bytes(300, 'z').data(), 300));   // overlapping copies
    corpus.Add(U16(100) + Bytes("\xFF\xFF\x00\x01\x80", 5));           // copies from where nothing was written
    corpus.Add(U16(50));                                                // no stream at all

    // The write-back holds no game's facts either: the first game's replays
    // and the last's.
    corpus.Target("comment_builder");
    const Bytes comment = Bytes("new comment") + Bytes(1, '\0');
    for (const Game* game : {&replays.front(), &replays.back()})
        for (const Bytes& r : Replays(*game)) corpus.Add(U16(uint32_t(comment.size())) + comment + r);
    corpus.Add(U16(0) + Replays(replays.front())[0]);
    return 0;
}
