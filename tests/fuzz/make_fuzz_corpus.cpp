// Writes the seed corpus of every fuzz target: valid files of each game the
// build knows and a few hostile variants of them. Deterministic; the
// committed corpus is what it writes. A seed for one game begins with the
// game's magic, which picks it as the targets read it (FuzzCheck.h), and is
// named after its plug-in (kvorarec-000): a new game adds seeds of its own
// and changes no other.
//   make_fuzz_corpus OUTPUT_FOLDER
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "tools/games/GameFiles.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"

using games::Game;
using testing_support::Bytes;
using namespace testing_support;

namespace {

// The magic of the made-up game whose replays serve the targets that read
// no game's facts.
const char kMadeUpMagic[] = "rply";

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
        Seeds("seed");
    }

    // The seeds that follow are named after `stem`: stem-000, stem-001, ...
    void Seeds(const std::string& stem)
    {
        m_stem = stem;
        m_count = 0;
    }

    void Add(const Bytes& bytes)
    {
        char name[64];
        std::snprintf(name, sizeof name, "%s-%03d", m_stem.c_str(), m_count++);
        FILE* file = std::fopen((m_folder + "/" + name).c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
            std::fprintf(stderr, "make_fuzz_corpus: cannot write %s/%s\n", m_folder.c_str(), name);
            std::exit(1);
        }
    }

private:
    std::string m_root;
    std::string m_folder;
    std::string m_stem;
    int m_count = 0;
};

Bytes WithU32(Bytes file, size_t at, uint32_t value)
{
    if (at + 4 <= file.size()) SetU32(file, at, value);
    return file;
}

Bytes U16(uint32_t value) { return Bytes{char(value & 0xFF), char(value >> 8 & 0xFF)}; }

// Replays with this magic and information section: the usual layout, then
// the hostile ones.
std::vector<Bytes> Replays(const std::string& magic, const Bytes& info)
{
    const char* m = magic.c_str();
    const Bytes good = Replay(m, {info, Comment("a comment")}, 24);
    const size_t first = 16 + 24, second = first + info.size();
    return {
        good,
        Replay(m, {Comment("comment first"), info}),
        Replay(m, {info}, 5),
        Replay(m, {info, Section(1, "no terminator")}),
        good.substr(0, second + 6),                   // cut inside the comment header
        WithU32(good, 12, 0xFFFFFFF0u),               // user-data offset far outside
        WithU32(good, first + 4, 11),                 // shorter than its own header
        WithU32(good, first + 4, 0xFFFFFFF8u),        // length near 2^32
        WithU32(good, second + 4, uint32_t(good.size())),
        Replay(m, {Section(0, "Name " + Bytes(600, 'n') + "\r\n"), Comment(Bytes(700, 'c'))}),
    };
}

// The replays of a game, with the information its key list reads.
std::vector<Bytes> Replays(const Game& game)
{
    return Replays(game.Magic(), game.Reads(InfoField::Scene) ? Info(kSceneInfo) : Info());
}

// The replays of the made-up game, with and without a scene.
std::vector<Bytes> MadeUpReplays()
{
    std::vector<Bytes> replays = Replays(kMadeUpMagic, Info());
    for (const Bytes& r : Replays(kMadeUpMagic, Info(kSceneInfo))) replays.push_back(r);
    return replays;
}

// The first bytes of a seed for a game: its magic, which picks it, and where
// the target reads one, the byte of its other choice.
Bytes Picking(const Game& game) { return game.Magic(); }
Bytes Picking(const Game& game, int choice) { return game.Magic() + Bytes(1, char(choice)); }

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

    // The container holds no game's facts: the made-up game's replays.
    corpus.Target("replay_container");
    for (const Bytes& r : MadeUpReplays()) corpus.Add(r);

    corpus.Target("replay_info");
    for (const Game& game : replays) {
        corpus.Seeds(game.plugin);
        const bool scene = game.Reads(InfoField::Scene);
        corpus.Add(Picking(game) + (scene ? kSceneInfo : kSampleInfo));
        if (scene) corpus.Add(Picking(game) + "Score 1\r\nScene");   // a value before its key, at the very start
        corpus.Add(Picking(game) + "Name\rVersion\n\nDate " + Bytes(3, '\0') + "Rank x");
    }

    corpus.Target("slot_name");
    for (const Game& game : replays) {
        corpus.Seeds(game.plugin);
        const std::string p = game.Prefix();
        for (const std::string& name : {p + "07.rpy", "C:\\replay\\" + p + "ud1234.rpy", p + "UDab.RPY",
                                        "dir/" + p + "26.rpy", "\x83\x5C\\" + p + "ud.rpy"})
            corpus.Add(Picking(game, 7) + name);   // a slot buffer of 8 bytes
    }

    corpus.Target("replay_rows");
    for (const Game& game : replays) {
        corpus.Seeds(game.plugin);
        const std::vector<Bytes> files = Replays(game);
        for (size_t i = 0; i < files.size(); i += 3) corpus.Add(Picking(game, 0) + files[i]);
        // With a file name.
        corpus.Add(Picking(game, 1) + "C:\\r\\" + game.Prefix() + "12.rpy" + Bytes(1, '\0') + files[0]);
    }

    corpus.Target("shot_rows");
    for (const Game& game : pictures) {
        corpus.Seeds(game.plugin);
        for (const Bytes& s : Shots(game)) corpus.Add(Picking(game) + s.substr(0, 200));
    }

    corpus.Target("get_image");
    for (const Game& game : pictures) {
        corpus.Seeds(game.plugin);
        for (const Bytes& s : Shots(game)) corpus.Add(Picking(game, 0) + s);
    }

    corpus.Target("lzss");
    for (uint32_t size : {64u, 9000u, 20000u}) {
        const Bytes picture = MakeSamplePicture(size / 4, 1, 4, size);
        corpus.Add(U16(size) + EncodeLzss(picture.data(), picture.size()));
    }
    corpus.Add(U16(300) + EncodeLzss(Bytes(300, 'z').data(), 300));   // overlapping copies
    corpus.Add(U16(100) + Bytes("\xFF\xFF\x00\x01\x80", 5));           // copies from where nothing was written
    corpus.Add(U16(50));                                                // no stream at all

    // The write-back holds no game's facts either.
    corpus.Target("comment_builder");
    const Bytes comment = Bytes("new comment") + Bytes(1, '\0');
    const std::vector<Bytes> madeUp = MadeUpReplays();
    for (const Bytes& r : madeUp) corpus.Add(U16(uint32_t(comment.size())) + comment + r);
    corpus.Add(U16(0) + madeUp[0]);
    return 0;
}
