// The two picture plug-ins, loaded and called as the host does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/PluginExports.h"
#include "support/ShotBuilder.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"
#include "wine/PluginHost.h"

using namespace shot_support;
using host::Block;

namespace {

struct Game {
    const char* plugin;
    const char* signature;
    const char* otherSignature;
    uint32_t bytesPerPixel;
    int columns;
    uint32_t headerSize;
    const char* description;  // string 0 up to the author notice
    const char* kind;         // string 1
    const char* pattern;      // string 2
    const char* filter;       // string 3
};

std::ostream& operator<<(std::ostream& out, const Game& game) { return out << game.plugin; }

const Game kGames[] = {
    {"brysspic", "BST3", "BSTS", 4, 11, 116,
     // "KARVO Plug-in For Bryssdan スクリーンショット Ver1.00"
     "KARVO Plug-in For Bryssdan \x83X\x83N\x83\x8A\x81[\x83\x93\x83V\x83\x87\x83" "b\x83g Ver1.00",
     "Bryssdan \x83X\x83N\x83\x8A\x81[\x83\x93\x83V\x83\x87\x83" "b\x83g", "sc*.dat",
     // "Bryssdan スクリーンファイル(sc*.dat)"
     "Bryssdan \x83X\x83N\x83\x8A\x81[\x83\x93\x83t\x83@\x83" "C\x83\x8B(sc*.dat)"},
    {"zoltepic", "BSTS", "BST3", 3, 10, 104,
     // "KARVO Plug-in For Zoltedan ベストショット Ver1.01"
     "KARVO Plug-in For Zoltedan \x83x\x83X\x83g\x83V\x83\x87\x83" "b\x83g Ver1.01",
     "Zoltedan \x83x\x83X\x83g\x83V\x83\x87\x83" "b\x83g", "bs_*.dat",
     // "Zoltedan ベストショットファイル(bs_*.dat)"
     "Zoltedan \x83x\x83X\x83g\x83V\x83\x87\x83" "b\x83g\x83t\x83@\x83" "C\x83\x8B(bs_*.dat)"},
};

class ImagePlugin : public ::testing::TestWithParam<Game> {
protected:
    ImagePlugin() : plugin(GetParam().plugin) {}

    void SetUp() override
    {
        ASSERT_TRUE(plugin.Loaded()) << host::PluginPath(GetParam().plugin);
        revision = plugin.Export<GetPluginRevisionFn>("GetPluginRevision");
        info = plugin.Export<GetPluginInfoFn>("GetPluginInfo");
        isSupported = plugin.Export<IsSupportedFn>("IsSupported");
        columns = plugin.Export<GetColumnInfoFn>("GetColumnInfo");
        list = plugin.Export<FileInfoFn>("GetFileInfoList");
        image = plugin.Export<GetFileInfoImage2Fn>("GetFileInfoImage2");
        ASSERT_TRUE(revision && info && isSupported && columns && list && image);
        EXPECT_EQ(plugin.Export<void*>("GetFileInfoText1"), nullptr);
        EXPECT_EQ(plugin.Export<void*>("EditDialog"), nullptr);
    }

    void TearDown() override { EXPECT_TRUE(host::HeapIsIntact()); }

    const Game& game() const { return GetParam(); }
    bool Screen() const { return game().bytesPerPixel == 4; }
    DWORD RowBytes() const { return DWORD(game().columns) * 512; }
    size_t Stride(int width) const { return (size_t(width) * game().bytesPerPixel + 3) / 4 * 4; }

    // A shot of this game with the given size and stream, its other fields
    // set to recognisable values.
    Bytes Shot(int16_t width, int16_t height, const Bytes& stream) const
    {
        if (Screen()) {
            ScreenShot s;
            s.day = 9;
            s.scene = 4;
            s.width = width;
            s.height = height;
            s.timestamp = 0;
            s.slow_rate = 0.5f;
            return ScreenShotFile(s, stream);
        }
        BestShot b;
        b.level = 11;
        b.scene = 3;
        b.width = width;
        b.height = height;
        b.score = 9001;
        b.slow_rate = 0.5f;
        b.spell_card_name = Bytes(80, 'n');
        return BestShotFile(b, stream);
    }

    // An encoded sample picture and its shot file.
    Bytes PictureShot(int16_t width, int16_t height, Bytes& picture) const
    {
        picture = MakeSamplePicture(width, height, game().bytesPerPixel, width * 31u + height);
        return Shot(width, height, EncodeLzss(picture.data(), picture.size()));
    }

    // Checks a handed-over bitmap against the picture it must show.
    void ExpectBitmap(const Block& bits, const Block& header, const Bytes& picture, int width, int height) const
    {
        ASSERT_EQ(bits.Size(), Stride(width) * height);
        ASSERT_EQ(header.Size(), 44u);
        EXPECT_EQ(Bytes(bits.Bytes(), bits.Size()), BottomUp(picture, width, height, game().bytesPerPixel));
        BITMAPINFO bi;
        std::memcpy(&bi, header.Bytes(), sizeof bi);
        EXPECT_EQ(bi.bmiHeader.biSize, 40u);
        EXPECT_EQ(bi.bmiHeader.biWidth, width);
        EXPECT_EQ(bi.bmiHeader.biHeight, height);
        EXPECT_EQ(bi.bmiHeader.biPlanes, 1);
        EXPECT_EQ(bi.bmiHeader.biBitCount, game().bytesPerPixel * 8);
        EXPECT_EQ(bi.bmiHeader.biCompression, DWORD(BI_RGB));
        EXPECT_EQ(bi.bmiHeader.biSizeImage | bi.bmiHeader.biClrUsed | bi.bmiHeader.biClrImportant, 0u);
        EXPECT_EQ(std::memcmp(&bi.bmiColors[0], "\0\0\0\0", 4), 0);
    }

    host::Plugin plugin;
    GetPluginRevisionFn revision = nullptr;
    GetPluginInfoFn info = nullptr;
    IsSupportedFn isSupported = nullptr;
    GetColumnInfoFn columns = nullptr;
    FileInfoFn list = nullptr;
    GetFileInfoImage2Fn image = nullptr;
    host::TempDir dir;
};

TEST_P(ImagePlugin, DescribesItself)
{
    EXPECT_EQ(revision(), 2);
    char buffer[256];
    const std::string head = std::string(game().description) + " ";
    ASSERT_GT(info(0, buffer, sizeof buffer), int(head.size()));
    EXPECT_EQ(std::string(buffer).substr(0, head.size()), head);
    for (int i = 1; i <= 3; ++i) {
        const char* expected = i == 1 ? game().kind : i == 2 ? game().pattern : game().filter;
        EXPECT_EQ(info(i, nullptr, 0), int(std::strlen(expected))) << i;
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(info(i, buffer, int(std::strlen(expected))), 0) << i;  // no room for the NUL
        EXPECT_EQ(buffer[0], 'x');
        EXPECT_EQ(info(i, buffer, sizeof buffer), int(std::strlen(expected))) << i;
        EXPECT_STREQ(buffer, expected);
    }
    EXPECT_EQ(info(4, buffer, sizeof buffer), 0);
    EXPECT_EQ(info(-1, buffer, sizeof buffer), 0);
}

TEST_P(ImagePlugin, ColumnTable)
{
    Block table;
    ASSERT_EQ(columns(&table.handle), 0);
    const int n = game().columns;
    ASSERT_EQ(table.Size(), size_t(n + 1) * 128);
    const char* records = table.Bytes();
    auto values = [&](int i) {
        int v[3];
        std::memcpy(v, records + 128 * i + 116, 12);
        return std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]);
    };
    EXPECT_EQ(std::string(records + 128 * n, 128), std::string(128, '\0')) << "end record";
    EXPECT_STREQ(records, "\x83t\x83@\x83" "C\x83\x8B\x96\xBC");  // ファイル名
    EXPECT_EQ(values(0), "0,0,3");
    EXPECT_EQ(values(1), "0,0,7");
    EXPECT_EQ(values(n - 2), "1,1,8");
    EXPECT_EQ(values(n - 1), "0,0,2");
    EXPECT_EQ(values(n - 3), "1,2,0");  // slowdown rate
    EXPECT_STREQ(records + 128 * (n - 3), "\x8F\x88\x97\x9D\x97\x8E\x82\xBF\x97\xA6");  // 処理落ち率
    if (Screen()) {
        EXPECT_STREQ(records + 128 * 2, "\x93\xFA\x95t");  // 日付
        EXPECT_EQ(values(3), "0,1,0");
        EXPECT_EQ(values(5), "1,1,0");
    } else {
        EXPECT_STREQ(records + 128 * 3, "\x83X\x83y\x83\x8B\x83J\x81[\x83h\x96\xBC");  // スペルカード名
        EXPECT_EQ(values(2), "0,0,0");
        EXPECT_EQ(values(6), "1,1,0");  // score
    }
    EXPECT_EQ(columns(nullptr), 5);
}

TEST_P(ImagePlugin, IsSupportedLooksAtTheSignatureOnly)
{
    EXPECT_EQ(isSupported(dir.Write("good.dat", Bytes(game().signature) + "garbage").c_str(), 0), 1);
    EXPECT_EQ(isSupported(dir.Write("exact.dat", game().signature).c_str(), 0), 1);
    EXPECT_EQ(isSupported(dir.Write("three.dat", Bytes(game().signature, 3)).c_str(), 0), 0);
    EXPECT_EQ(isSupported(dir.Write("empty.dat", "").c_str(), 0), 0);
    EXPECT_EQ(isSupported(dir.Write("other.dat", Bytes(game().otherSignature) + "rest").c_str(), 0), 0);
    EXPECT_EQ(isSupported(dir.Write("lower.dat", Screen() ? "bst3xxxx" : "bstsxxxx").c_str(), 0), 0);
    EXPECT_EQ(isSupported(dir.Root().c_str(), 0), 0);
    EXPECT_EQ(isSupported(dir.Path("missing.dat").c_str(), 0), 0);
    EXPECT_EQ(isSupported(nullptr, 0), 4);
    EXPECT_EQ(isSupported(nullptr, 10), 4);
    host::GuardedBytes four(game().signature);
    EXPECT_EQ(isSupported(four.Data(), four.Size()), 1);
    EXPECT_EQ(isSupported(four.Data(), 3), 0);
    EXPECT_EQ(isSupported(game().otherSignature, 4), 0);
}

TEST_P(ImagePlugin, ListRowInPathAndMemoryMode)
{
    const Bytes file = Shot(640, -480, "\x01\x02\x03");
    const std::string path = dir.Write("shot.dat", file);
    Block row;
    ASSERT_EQ(list(path.c_str(), 0, &row.handle), 0);
    ASSERT_EQ(row.Size(), RowBytes());
    if (Screen()) {
        const char* expected[11] = {"", "", "\x8D\xC5\x8FI\x93\xFA", "5", "10-5", "640", "-480",  // 最終日
                                    "1970/01/01 09:00:00", "0.500000", "", ""};
        for (int i = 0; i < 11; ++i) EXPECT_STREQ(row.Field(i), expected[i]) << i;
    } else {
        const std::string name(80, 'n');
        const char* expected[10] = {"", "", "EX-3", name.c_str(), "640", "-480", "9001", "0.500000", "", ""};
        for (int i = 0; i < 10; ++i) EXPECT_STREQ(row.Field(i), expected[i]) << i;
    }

    Block memory;
    host::GuardedBytes bytes(file);
    ASSERT_EQ(list(bytes.Data(), bytes.Size(), &memory.handle), 0);
    ASSERT_EQ(memory.Size(), RowBytes());
    EXPECT_EQ(std::memcmp(memory.Bytes(), row.Bytes(), RowBytes()), 0);
}

TEST_P(ImagePlugin, ListRowRefusals)
{
    const Bytes file = Shot(1, 1, "");
    HLOCAL untouched = nullptr;
    EXPECT_EQ(list(dir.Path("missing.dat").c_str(), 0, &untouched), 1);
    EXPECT_EQ(list(dir.Write("short.dat", "BS").c_str(), 0, &untouched), 1);
    EXPECT_EQ(list(dir.Write("other.dat", Bytes(game().otherSignature) + "....").c_str(), 0, &untouched), 1);
    EXPECT_EQ(list(game().signature, 3, &untouched), 1);
    EXPECT_EQ(list(nullptr, 0, &untouched), 2);
    EXPECT_EQ(list(nullptr, 10, &untouched), 5);
    EXPECT_EQ(list(file.data(), DWORD(file.size()), nullptr), 5);
    EXPECT_EQ(list(dir.Write("good.dat", file).c_str(), 0, nullptr), 5);
    EXPECT_EQ(untouched, nullptr);
}

// Nothing but the signature: this game's file. Its row shows the all-zero
// header, and no picture has that size.
TEST_P(ImagePlugin, FileOfNothingButTheSignature)
{
    const std::string path = dir.Write("magic.dat", game().signature);
    EXPECT_EQ(isSupported(path.c_str(), 0), 1);
    Block row, bits, header;
    ASSERT_EQ(list(path.c_str(), 0, &row.handle), 0);
    ASSERT_EQ(row.Size(), RowBytes());
    EXPECT_STREQ(row.Field(Screen() ? 5 : 4), "0");
    EXPECT_EQ(image(path.c_str(), 0, &bits.handle, &header.handle), 4);
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
            ASSERT_EQ(image(path.c_str(), 0, &bits.handle, &header.handle), 0) << width << "x" << height;
            ExpectBitmap(bits, header, picture, width, height);

            Block memoryBits, memoryHeader;
            host::GuardedBytes bytes(file);
            ASSERT_EQ(image(bytes.Data(), bytes.Size(), &memoryBits.handle, &memoryHeader.handle), 0);
            ExpectBitmap(memoryBits, memoryHeader, picture, width, height);
        }
    }
    Bytes picture;
    const std::string path = dir.Write("large.dat", PictureShot(640, 480, picture));
    Block bits, header;
    ASSERT_EQ(image(path.c_str(), 0, &bits.handle, &header.handle), 0);
    ExpectBitmap(bits, header, picture, 640, 480);
}

TEST_P(ImagePlugin, PictureRefusals)
{
    const Bytes file = Shot(2, 2, "");
    const std::string path = dir.Write("good.dat", file);
    HLOCAL bits = nullptr, header = nullptr;
    EXPECT_EQ(image(dir.Path("missing.dat").c_str(), 0, &bits, &header), 1);
    EXPECT_EQ(image(game().otherSignature, 4, &bits, &header), 1);
    EXPECT_EQ(image(game().signature, 3, &bits, &header), 1);
    EXPECT_EQ(image(nullptr, 0, &bits, &header), 2);
    EXPECT_EQ(image(nullptr, 10, &bits, &header), 5);
    EXPECT_EQ(image(file.data(), DWORD(file.size()), nullptr, &header), 5);
    EXPECT_EQ(image(file.data(), DWORD(file.size()), &bits, nullptr), 5);
    EXPECT_EQ(image(path.c_str(), 0, nullptr, &header), 5);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(header, nullptr);

    // No bitmap can have these sizes, and none is decoded past 16384 pixels a
    // side or 256 MiB of bits: 4, and nothing handed over.
    const int16_t rowsPastTheBlock = int16_t((256 << 20) / Stride(16384) + 1);
    for (auto [width, height] : {std::pair<int16_t, int16_t>{0, 5}, {5, 0}, {-3, 4}, {4, -3}, {32767, 32767},
                                 {16385, 1}, {1, 16385}, {16384, rowsPastTheBlock}}) {
        HLOCAL b = reinterpret_cast<HLOCAL>(1), h = reinterpret_cast<HLOCAL>(1);
        const std::string hostile = dir.Write("hostile.dat", Shot(width, height, "\xFF\xFF"));
        EXPECT_EQ(image(hostile.c_str(), 0, &b, &h), 4) << width << "x" << height;
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
    ASSERT_EQ(image(path.c_str(), 0, &bits.handle, &header.handle), 0);
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
        const int listed = list(bytes.Data(), bytes.Size(), &row.handle);
        const int pictured = image(bytes.Data(), bytes.Size(), &bits.handle, &header.handle);
        if (n < 4) {
            EXPECT_EQ(listed, 1) << n;
            EXPECT_EQ(pictured, 1) << n;
        } else if (n < game().headerSize) {
            EXPECT_EQ(listed, 0) << n;  // the all-zero header
            EXPECT_EQ(std::string(row.Field(Screen() ? 5 : 4)), "0") << n;
            EXPECT_EQ(pictured, 4) << n;
            EXPECT_EQ(bits.handle, nullptr);
        } else {
            EXPECT_EQ(listed, 0) << n;
            ASSERT_EQ(pictured, 0) << n;
            EXPECT_EQ(bits.Size(), Stride(3) * 2) << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Games, ImagePlugin, ::testing::ValuesIn(kGames),
                         [](const auto& info) { return std::string(info.param.plugin); });

}  // namespace
