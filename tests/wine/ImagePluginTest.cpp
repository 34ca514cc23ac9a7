// Every picture plug-in, loaded and called as the host does. What differs
// between them comes from each game's profile and Description.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <string>

#include "common/PluginExports.h"
#include "tools/games/GameFiles.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"
#include "wine/PluginHost.h"

using namespace shot_support;
using games::Game;
using host::Block;

namespace {

class ImagePlugin : public ::testing::TestWithParam<Game> {
protected:
    ImagePlugin() : plugin(GetParam().plugin) {}

    void SetUp() override
    {
        ASSERT_TRUE(plugin.module) << host::PluginPath(GetParam().plugin);
        ASSERT_TRUE(exports.GetPluginRevision && exports.GetPluginInfo && exports.IsSupported && exports.GetColumnInfo &&
                    exports.GetFileInfoList && exports.GetFileInfoImage2);
        EXPECT_TRUE(!exports.GetFileInfoText1 && !exports.GetFileInfoText2 && !exports.EditDialog);
    }

    void TearDown() override { EXPECT_TRUE(host::HeapIsIntact()); }

    const Game& game() const { return GetParam(); }
    const ImageProfile& Profile() const { return *game().image; }
    Bytes Signature() const { return game().Magic(); }
    // Four bytes that are not this game's signature.
    Bytes Foreign() const { return Signature().substr(0, 3) + char(Signature()[3] ^ 1); }
    uint32_t BytesPerPixel() const { return Profile().bytesPerPixel; }
    uint32_t HeaderSize() const { return ::HeaderSize(Profile().header); }
    int Columns() const { return int(game().Columns()); }
    DWORD RowBytes() const { return DWORD(Columns()) * 512; }
    size_t Stride(int width) const { return (size_t(width) * BytesPerPixel() + 3) / 4 * 4; }
    // The column showing this field; -1 without one.
    int ColumnOf(ShotField field) const
    {
        for (int i = 0; i < Columns(); ++i)
            if (Profile().columns[i].field == field) return i;
        return -1;
    }

    // A shot of this game with the given size and stream, its other fields
    // set to recognisable values.
    Bytes Shot(int16_t width, int16_t height, const Bytes& stream) const
    {
        ScreenShot s;
        s.day = 9;
        s.scene = 4;
        s.width = width;
        s.height = height;
        s.timestamp = 0;
        s.slow_rate = 0.5f;
        BestShot b;
        b.level = 11;
        b.scene = 3;
        b.width = width;
        b.height = height;
        b.score = 9001;
        b.slow_rate = 0.5f;
        b.spell_card_name = Bytes(80, 'n');
        return testing_support::ShotOf(game(), s, b, stream);
    }

    // What each field shows of Shot(640, -480, ...): the fields that this
    // game's header carries; any other stays empty.
    std::map<ShotField, Bytes> ShotFields() const
    {
        std::map<ShotField, Bytes> fields = {
            {ShotField::Width, "640"}, {ShotField::Height, "-480"}, {ShotField::SlowRate, "0.500000"}};
        if (Profile().header == ShotKind::ScreenShot) {
            fields[ShotField::DayName] = "\x8D\xC5\x8FI\x93\xFA";  // 最終日
            fields[ShotField::ScenePlusOne] = "5";
            fields[ShotField::DayScene] = "10-5";
            fields[ShotField::ShotTime] = "1970/01/01 09:00:00";
        } else {
            fields[ShotField::LevelScene] = "EX-3";
            fields[ShotField::SpellCardName] = Bytes(80, 'n');
            fields[ShotField::Score] = "9001";
        }
        return fields;
    }

    // An encoded sample picture and its shot file.
    Bytes PictureShot(int16_t width, int16_t height, Bytes& picture) const
    {
        picture = MakeSamplePicture(width, height, BytesPerPixel(), width * 31u + height);
        return Shot(width, height, EncodeLzss(picture.data(), picture.size()));
    }

    // Checks a handed-over bitmap against the picture it must show.
    void ExpectBitmap(const Block& bits, const Block& header, const Bytes& picture, int width, int height) const
    {
        ASSERT_EQ(bits.Size(), Stride(width) * height);
        ASSERT_EQ(header.Size(), 44u);
        EXPECT_EQ(Bytes(bits.Bytes(), bits.Size()), BottomUp(picture, width, height, BytesPerPixel()));
        BITMAPINFO bi;
        std::memcpy(&bi, header.Bytes(), sizeof bi);
        EXPECT_EQ(bi.bmiHeader.biSize, 40u);
        EXPECT_EQ(bi.bmiHeader.biWidth, width);
        EXPECT_EQ(bi.bmiHeader.biHeight, height);
        EXPECT_EQ(bi.bmiHeader.biPlanes, 1);
        EXPECT_EQ(bi.bmiHeader.biBitCount, BytesPerPixel() * 8);
        EXPECT_EQ(bi.bmiHeader.biCompression, DWORD(BI_RGB));
        EXPECT_EQ(bi.bmiHeader.biSizeImage | bi.bmiHeader.biClrUsed | bi.bmiHeader.biClrImportant, 0u);
        EXPECT_EQ(std::memcmp(&bi.bmiColors[0], "\0\0\0\0", 4), 0);
    }

    host::Plugin plugin;
    const PluginExportTable& exports = plugin.exports;
    host::TempDir dir;
};

TEST_P(ImagePlugin, IsSupportedLooksAtTheSignatureOnly)
{
    EXPECT_EQ(exports.IsSupported(dir.Write("good.dat", Signature() + "garbage").c_str(), 0), 1);
    EXPECT_EQ(exports.IsSupported(dir.Write("exact.dat", Signature()).c_str(), 0), 1);
    EXPECT_EQ(exports.IsSupported(dir.Write("three.dat", Signature().substr(0, 3)).c_str(), 0), 0);
    EXPECT_EQ(exports.IsSupported(dir.Write("empty.dat", "").c_str(), 0), 0);
    EXPECT_EQ(exports.IsSupported(dir.Write("other.dat", Foreign() + "rest").c_str(), 0), 0);
    // Another game's shot is not this plug-in's.
    for (const Game& other : games::Pictures()) {
        if (other.Magic() == Signature()) continue;
        EXPECT_EQ(exports.IsSupported(dir.Write("theirs.dat", other.Magic() + "rest").c_str(), 0), 0) << other;
    }
    // The signature's letters in the other case.
    Bytes otherCase = Signature();
    for (char& c : otherCase) c = char(std::islower(uint8_t(c)) ? std::toupper(uint8_t(c)) : std::tolower(uint8_t(c)));
    if (otherCase != Signature()) {
        EXPECT_EQ(exports.IsSupported(dir.Write("case.dat", otherCase + "xxxx").c_str(), 0), 0);
    }
    EXPECT_EQ(exports.IsSupported(dir.Root().c_str(), 0), 0);
    EXPECT_EQ(exports.IsSupported(dir.Path("missing.dat").c_str(), 0), 0);
    EXPECT_EQ(exports.IsSupported(nullptr, 0), 4);
    EXPECT_EQ(exports.IsSupported(nullptr, 10), 4);
    host::GuardedBytes four(Signature());
    EXPECT_EQ(exports.IsSupported(four.Data(), four.Size()), 1);
    EXPECT_EQ(exports.IsSupported(four.Data(), 3), 0);
    EXPECT_EQ(exports.IsSupported(Foreign().c_str(), 4), 0);
}

TEST_P(ImagePlugin, ListRowInPathAndMemoryMode)
{
    const Bytes file = Shot(640, -480, "\x01\x02\x03");
    const std::string path = dir.Write("shot.dat", file);
    Block row;
    ASSERT_EQ(exports.GetFileInfoList(path.c_str(), 0, &row.handle), 0);
    ASSERT_EQ(row.Size(), RowBytes());
    const std::map<ShotField, Bytes> shown = ShotFields();
    for (int i = 0; i < Columns(); ++i) {
        const auto field = shown.find(Profile().columns[i].field);
        EXPECT_EQ(std::string(row.Field(i)), field == shown.end() ? "" : field->second) << "column " << i;
    }

    Block memory;
    host::GuardedBytes bytes(file);
    ASSERT_EQ(exports.GetFileInfoList(bytes.Data(), bytes.Size(), &memory.handle), 0);
    ASSERT_EQ(memory.Size(), RowBytes());
    EXPECT_EQ(std::memcmp(memory.Bytes(), row.Bytes(), RowBytes()), 0);
}

TEST_P(ImagePlugin, ListRowRefusals)
{
    const Bytes file = Shot(1, 1, "");
    HLOCAL untouched = nullptr;
    EXPECT_EQ(exports.GetFileInfoList(dir.Path("missing.dat").c_str(), 0, &untouched), 1);
    EXPECT_EQ(exports.GetFileInfoList(dir.Write("short.dat", "BS").c_str(), 0, &untouched), 1);
    EXPECT_EQ(exports.GetFileInfoList(dir.Write("other.dat", Foreign() + "....").c_str(), 0, &untouched), 1);
    EXPECT_EQ(exports.GetFileInfoList(Signature().c_str(), 3, &untouched), 1);
    EXPECT_EQ(exports.GetFileInfoList(nullptr, 0, &untouched), 2);
    EXPECT_EQ(exports.GetFileInfoList(nullptr, 10, &untouched), 5);
    EXPECT_EQ(exports.GetFileInfoList(file.data(), DWORD(file.size()), nullptr), 5);
    EXPECT_EQ(exports.GetFileInfoList(dir.Write("good.dat", file).c_str(), 0, nullptr), 5);
    EXPECT_EQ(untouched, nullptr);
}

// Nothing but the signature: this game's file. Its row shows the all-zero
// header, and no picture has that size.
TEST_P(ImagePlugin, FileOfNothingButTheSignature)
{
    const std::string path = dir.Write("magic.dat", Signature());
    EXPECT_EQ(exports.IsSupported(path.c_str(), 0), 1);
    Block row, bits, header;
    ASSERT_EQ(exports.GetFileInfoList(path.c_str(), 0, &row.handle), 0);
    ASSERT_EQ(row.Size(), RowBytes());
    ASSERT_GE(ColumnOf(ShotField::Width), 0);
    EXPECT_STREQ(row.Field(ColumnOf(ShotField::Width)), "0");
    EXPECT_EQ(exports.GetFileInfoImage2(path.c_str(), 0, &bits.handle, &header.handle), 4);
    EXPECT_EQ(bits.handle, nullptr);
    EXPECT_EQ(header.handle, nullptr);
}

// Encoded pictures come back bit for bit, bottom row first, in both modes.
TEST_P(ImagePlugin, PictureRoundTrip)
{
    for (int16_t width : {1, 2, 3, 5, 7}) {
        for (int16_t height : {1, 2, 3}) {
            Bytes picture;
            const Bytes file = PictureShot(width, height, picture);
            const std::string path = dir.Write("shot.dat", file);
            Block bits, header;
            ASSERT_EQ(exports.GetFileInfoImage2(path.c_str(), 0, &bits.handle, &header.handle), 0) << width << "x" << height;
            ExpectBitmap(bits, header, picture, width, height);

            Block memoryBits, memoryHeader;
            host::GuardedBytes bytes(file);
            ASSERT_EQ(exports.GetFileInfoImage2(bytes.Data(), bytes.Size(), &memoryBits.handle, &memoryHeader.handle), 0);
            ExpectBitmap(memoryBits, memoryHeader, picture, width, height);
        }
    }
    Bytes picture;
    const std::string path = dir.Write("large.dat", PictureShot(640, 480, picture));
    Block bits, header;
    ASSERT_EQ(exports.GetFileInfoImage2(path.c_str(), 0, &bits.handle, &header.handle), 0);
    ExpectBitmap(bits, header, picture, 640, 480);
}

TEST_P(ImagePlugin, PictureRefusals)
{
    const Bytes file = Shot(2, 2, "");
    const std::string path = dir.Write("good.dat", file);
    HLOCAL bits = nullptr, header = nullptr;
    EXPECT_EQ(exports.GetFileInfoImage2(dir.Path("missing.dat").c_str(), 0, &bits, &header), 1);
    EXPECT_EQ(exports.GetFileInfoImage2(Foreign().c_str(), 4, &bits, &header), 1);
    EXPECT_EQ(exports.GetFileInfoImage2(Signature().c_str(), 3, &bits, &header), 1);
    EXPECT_EQ(exports.GetFileInfoImage2(nullptr, 0, &bits, &header), 2);
    EXPECT_EQ(exports.GetFileInfoImage2(nullptr, 10, &bits, &header), 5);
    EXPECT_EQ(exports.GetFileInfoImage2(file.data(), DWORD(file.size()), nullptr, &header), 5);
    EXPECT_EQ(exports.GetFileInfoImage2(file.data(), DWORD(file.size()), &bits, nullptr), 5);
    EXPECT_EQ(exports.GetFileInfoImage2(path.c_str(), 0, nullptr, &header), 5);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(header, nullptr);

    // No bitmap can have these sizes, and none is decoded past 16384 pixels a
    // side or 256 MiB of bits: 4, and nothing handed over.
    const int16_t rowsPastTheBlock = int16_t((256 << 20) / Stride(16384) + 1);
    for (auto [width, height] : {std::pair<int16_t, int16_t>{0, 5}, {5, 0}, {-3, 4}, {4, -3}, {32767, 32767},
                                 {16385, 1}, {1, 16385}, {16384, rowsPastTheBlock}}) {
        HLOCAL b = reinterpret_cast<HLOCAL>(1), h = reinterpret_cast<HLOCAL>(1);
        const std::string hostile = dir.Write("hostile.dat", Shot(width, height, "\xFF\xFF"));
        EXPECT_EQ(exports.GetFileInfoImage2(hostile.c_str(), 0, &b, &h), 4) << width << "x" << height;
        EXPECT_EQ(b, nullptr);
        EXPECT_EQ(h, nullptr);
    }
}

// The largest picture decoded: 16384 pixels wide and as many rows as fit in
// 256 MiB of bits.
TEST_P(ImagePlugin, PictureAtTheSizeBound)
{
    const int16_t rows = int16_t((256 << 20) / Stride(16384));
    const std::string path = dir.Write("largest.dat", Shot(16384, rows, ""));
    Block bits, header;
    ASSERT_EQ(exports.GetFileInfoImage2(path.c_str(), 0, &bits.handle, &header.handle), 0);
    EXPECT_EQ(bits.Size(), Stride(16384) * rows);
    EXPECT_LE(bits.Size(), size_t(256) << 20);
    EXPECT_EQ(bits.Bytes()[bits.Size() - 1], '\xFF');   // an empty stream decodes to 0xFF
}

// Every length of a file, in memory right before a no-access page: a read
// past the end would crash.
TEST_P(ImagePlugin, CutFilesNeverReadPastTheEnd)
{
    Bytes picture;
    const Bytes file = PictureShot(3, 2, picture);
    for (size_t n = 1; n <= file.size(); ++n) {
        host::GuardedBytes bytes(file.substr(0, n));
        Block row, bits, header;
        const int listed = exports.GetFileInfoList(bytes.Data(), bytes.Size(), &row.handle);
        const int pictured = exports.GetFileInfoImage2(bytes.Data(), bytes.Size(), &bits.handle, &header.handle);
        if (n < 4) {
            EXPECT_EQ(listed, 1) << n;
            EXPECT_EQ(pictured, 1) << n;
        } else if (n < HeaderSize()) {
            EXPECT_EQ(listed, 0) << n;  // the all-zero header
            ASSERT_GE(ColumnOf(ShotField::Width), 0);
            EXPECT_EQ(std::string(row.Field(ColumnOf(ShotField::Width))), "0") << n;
            EXPECT_EQ(pictured, 4) << n;
            EXPECT_EQ(bits.handle, nullptr);
        } else {
            EXPECT_EQ(listed, 0) << n;
            ASSERT_EQ(pictured, 0) << n;
            EXPECT_EQ(bits.Size(), Stride(3) * 2) << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Games, ImagePlugin, ::testing::ValuesIn(games::Pictures()),
                         [](const auto& info) { return std::string(info.param.plugin); });

}  // namespace
