// Writes the seed corpus of every fuzz target: valid files of each game and
// a few hostile variants of them. Deterministic; the committed corpus is what
// it writes.
//   make_fuzz_corpus OUTPUT_FOLDER
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "support/ReplayBuilder.h"
#include "support/ShotBuilder.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"

using testing_support::Bytes;
using namespace testing_support;

namespace {

const char* const kMagics[] = {"kvor", "mirl", "tsko", "nivr"};   // in the targets' game order
const char* const kPrefixes[] = {"kvora", "mirel", "tasko", "nivra"};

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

// Replays of game g: the usual layout, then the hostile ones.
std::vector<Bytes> Replays(int g)
{
    const char* magic = kMagics[g];
    const Bytes info = g == 2 ? Info(kSceneInfo) : Info();
    const Bytes good = Replay(magic, {info, Comment("a comment")}, 24);
    const size_t first = 16 + 24, second = first + info.size();
    return {
        good,
        Replay(magic, {Comment("comment first"), info}),
        Replay(magic, {info}, 5),
        Replay(magic, {info, Section(1, "no terminator")}),
        good.substr(0, second + 6),                   // cut inside the comment header
        WithU32(good, 12, 0xFFFFFFF0u),               // user-data offset far outside
        WithU32(good, first + 4, 11),                 // shorter than its own header
        WithU32(good, first + 4, 0xFFFFFFF8u),        // length near 2^32
        WithU32(good, second + 4, uint32_t(good.size())),
        Replay(magic, {Section(0, "Name " + Bytes(600, 'n') + "\r\n"), Comment(Bytes(700, 'c'))}),
    };
}

Bytes Shot(int game, int16_t width, int16_t height, const Bytes& stream)
{
    if (game == 0) {
        shot_support::ScreenShot s;
        s.day = 3;
        s.scene = 2;
        s.width = width;
        s.height = height;
        s.timestamp = 1767225600u;
        s.slow_rate = 0.25f;
        return ScreenShotFile(s, stream);
    }
    shot_support::BestShot b;
    b.level = 11;
    b.scene = 4;
    b.width = width;
    b.height = height;
    b.score = 123456;
    b.slow_rate = 1.5f;
    b.spell_card_name = "Sign \x83X\x83y\x83\x8B";
    return BestShotFile(b, stream);
}

// Shots of game g (0 screenshot, 1 best shot): small real pictures and
// hostile sizes.
std::vector<Bytes> Shots(int g)
{
    const uint32_t depth = g == 0 ? 4 : 3;
    std::vector<Bytes> shots;
    for (auto [w, h] : {std::pair<int16_t, int16_t>{3, 2}, {5, 3}, {17, 9}}) {
        const Bytes picture = MakeSamplePicture(w, h, depth, uint32_t(w * 31 + h));
        shots.push_back(Shot(g, w, h, EncodeLzss(picture.data(), picture.size())));
    }
    const Bytes stream = shots[1].substr(g == 0 ? 116 : 104);
    shots.push_back(Shot(g, -5, 3, stream));
    shots.push_back(Shot(g, 32767, 32767, stream));
    shots.push_back(Shot(g, 7, 5, ""));
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

    corpus.Target("replay_container");
    for (int g = 0; g < 4; g += 2)
        for (const Bytes& r : Replays(g)) corpus.Add(r);

    corpus.Target("replay_info");
    for (int g = 0; g < 4; ++g) corpus.Add(Bytes(1, char(g)) + (g == 2 ? kSceneInfo : kSampleInfo));
    corpus.Add(Bytes(1, '\2') + "Score 1\r\nScene");    // a value before its key, at the very start
    corpus.Add(Bytes(1, '\0') + "Name\rVersion\n\nDate " + Bytes(3, '\0') + "Rank x");

    corpus.Target("slot_name");
    for (int g = 0; g < 4; ++g) {
        const std::string p = kPrefixes[g];
        for (const std::string& name : {p + "_07.rpy", "C:\\replay\\" + p + "_ud1234.rpy", p + "_UDab.RPY",
                                        "dir/" + p + "_26.rpy", "\x83\x5C\\" + p + "_ud.rpy"})
            corpus.Add(Bytes(1, char(g | 0x1C)) + name);
    }

    corpus.Target("replay_rows");
    for (int g = 0; g < 4; ++g) {
        const std::vector<Bytes> replays = Replays(g);
        for (size_t i = 0; i < replays.size(); i += 3) corpus.Add(Bytes(1, char(g)) + replays[i]);
        corpus.Add(Bytes(1, char(g | 4)) + "C:\\r\\" + kPrefixes[g] + "_12.rpy" + Bytes(1, '\0') + replays[0]);
    }

    corpus.Target("shot_rows");
    for (int g = 0; g < 2; ++g)
        for (const Bytes& s : Shots(g)) corpus.Add(Bytes(1, char(g)) + s.substr(0, 200));

    corpus.Target("get_image");
    for (int g = 0; g < 2; ++g)
        for (const Bytes& s : Shots(g)) corpus.Add(Bytes(1, char(g)) + s);

    corpus.Target("lzss");
    for (uint32_t size : {64u, 9000u, 20000u}) {
        const Bytes picture = MakeSamplePicture(size / 4, 1, 4, size);
        corpus.Add(U16(size) + EncodeLzss(picture.data(), picture.size()));
    }
    corpus.Add(U16(300) + EncodeLzss(Bytes(300, 'z').data(), 300));   // overlapping copies
    corpus.Add(U16(100) + Bytes("\xFF\xFF\x00\x01\x80", 5));           // copies from where nothing was written
    corpus.Add(U16(50));                                                // no stream at all

    corpus.Target("comment_builder");
    const Bytes comment = Bytes("new comment") + Bytes(1, '\0');
    for (int g = 0; g < 4; g += 3)
        for (const Bytes& r : Replays(g)) corpus.Add(U16(uint32_t(comment.size())) + comment + r);
    corpus.Add(U16(0) + Replays(0)[0]);
    return 0;
}
