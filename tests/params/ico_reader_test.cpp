#include "params/ico_reader.h"

#include <gtest/gtest.h>

#include "tests/support/header_fixtures.h"

namespace velmora {
namespace {

using test::LeBytes;
using test::ReadHeader;

struct Entry {
    uint8_t width, height, colors;
    uint16_t planesOrHotX, bitCountOrHotY;
    std::vector<uint8_t> image;  // placed after the directory
};

// The BITMAPINFOHEADER of an icon image (height counts the mask too), then palette entries
// (by default 2^bits for depths up to 8): entry i is blue i, green 2i, red 3i.
std::vector<uint8_t> DibImage(int32_t width, int32_t height, uint16_t bits, int32_t ppm = 0, int entries = -1) {
    if (entries < 0) entries = (bits != 0 && bits <= 8) ? 1 << bits : 0;
    LeBytes b;
    b.U32(40).U32(uint32_t(width)).U32(uint32_t(height)).U16(1).U16(bits).U32(0).U32(0);
    b.U32(uint32_t(ppm)).U32(uint32_t(ppm)).U32(0).U32(0);
    for (int i = 0; i < entries; ++i) b.U8(uint8_t(i)).U8(uint8_t(2 * i)).U8(uint8_t(3 * i)).U8(0);
    return b.Fill(16).Data();
}

std::vector<uint8_t> PngImage(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType) {
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> b(signature, signature + 8);
    const auto be32 = [&b](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
    };
    be32(13);
    b.insert(b.end(), {'I', 'H', 'D', 'R'});
    be32(width);
    be32(height);
    b.insert(b.end(), {depth, colorType, 0, 0, 0, 0, 0, 0, 0});
    return b;
}

LeBytes IconFile(uint16_t type, const std::vector<Entry>& entries, uint16_t count = 0) {
    LeBytes b;
    b.U16(0).U16(type).U16(count != 0 ? count : uint16_t(entries.size()));
    uint32_t offset = uint32_t(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        b.U8(e.width).U8(e.height).U8(e.colors).U8(0).U16(e.planesOrHotX).U16(e.bitCountOrHotY);
        b.U32(uint32_t(e.image.size())).U32(offset);
        offset += uint32_t(e.image.size());
    }
    for (const Entry& e : entries) b.Bytes(e.image);
    return b;
}

// A 256-pixel PNG image first, then 32 x 32 at 4 bits and 16 x 16 with 16 colours and no bit count.
LeBytes ThreeIcons() {
    return IconFile(1, {{0, 0, 0, 1, 32, PngImage(256, 256, 8, 6)},
                        {32, 32, 16, 1, 4, DibImage(32, 64, 4, 3780)},
                        {16, 16, 16, 1, 0, DibImage(16, 32, 4)}});
}

TEST(IcoReader, ListsTheSizesBelow256AndReadsTheSelectedImage) {
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(ICOReadStream, ThreeIcons(), p));
    EXPECT_EQ(p.ICO_Sizes[0], (TICOSize{32, 32}));
    EXPECT_EQ(p.ICO_Sizes[1], (TICOSize{16, 16}));
    EXPECT_EQ(p.ICO_Sizes[2], (TICOSize{0, 0}));
    EXPECT_EQ(p.ICO_BitCount[0], 4);
    EXPECT_EQ(p.ICO_BitCount[1], 4);
    EXPECT_EQ(p.ICO_BitCount[2], 0);
    // Index 0 counts the listed images: the 32 x 32 one.
    EXPECT_EQ(p.Width, 32);
    EXPECT_EQ(p.Height, 32);
    EXPECT_EQ(p.BitsPerSample, 4);
    EXPECT_EQ(p.SamplesPerPixel, 1);
    EXPECT_EQ(p.DpiX, 96);
    ASSERT_EQ(p.ColorMapCount, 16);
    EXPECT_EQ(p.ColorMap[15], (TRGB{15, 30, 45}));

    p.SetImageIndex(1);
    ASSERT_TRUE(ReadHeader(ICOReadStream, ThreeIcons(), p));
    EXPECT_EQ(p.Width, 16);
    EXPECT_EQ(p.DpiX, 300);
}

TEST(IcoReader, OnlyA256PixelPngImageIsReadFromItsOwnHeader) {
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(ICOReadStream, IconFile(1, {{0, 0, 0, 1, 32, PngImage(256, 256, 8, 6)}}), p));
    EXPECT_EQ(p.ICO_Sizes[0], (TICOSize{0, 0}));
    EXPECT_EQ(p.Width, 256);
    EXPECT_EQ(p.Height, 256);
    EXPECT_EQ(p.BitsPerSample, 8);
    EXPECT_EQ(p.SamplesPerPixel, 4);
    EXPECT_EQ(p.DpiX, 300);
}

TEST(IcoReader, DepthFromHeaderEntryOrColourCount) {
    const struct {
        uint16_t headerBits, entryBits;
        uint8_t colors;
        int32_t bits, samples, palette;
    } cases[] = {
        {32, 4, 0, 8, 4, 0}, {24, 0, 0, 8, 3, 0}, {0, 8, 0, 8, 1, 256}, {0, 0, 2, 1, 1, 2}, {0, 0, 4, 2, 1, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.headerBits << "/" << c.entryBits << "/" << int(c.colors));
        TIOParamsVals p;
        const auto file = IconFile(1, {{8, 8, c.colors, 1, c.entryBits, DibImage(8, 16, c.headerBits, 0, 256)}});
        ASSERT_TRUE(ReadHeader(ICOReadStream, file, p));
        EXPECT_EQ(p.BitsPerSample, c.bits);
        EXPECT_EQ(p.SamplesPerPixel, c.samples);
        EXPECT_EQ(p.ColorMapCount, c.palette);
    }
    TIOParamsVals p;
    EXPECT_FALSE(ReadHeader(ICOReadStream, IconFile(1, {{8, 8, 0, 1, 0, DibImage(8, 16, 0)}}), p));
}

TEST(IcoReader, HeaderSizeReplacesADifferingEntrySize) {
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(ICOReadStream, IconFile(1, {{16, 16, 0, 1, 32, DibImage(20, 40, 32)}}), p));
    EXPECT_EQ(p.Width, 20);
    EXPECT_EQ(p.Height, 20);
}

TEST(IcoReader, IndexOutsideTheDirectoryLeavesTheRecordUntouched) {
    for (int32_t index : {-1, 3}) {
        TIOParamsVals p;
        p.Width = 777;
        p.ICO_ImageIndex = index;
        EXPECT_TRUE(ReadHeader(ICOReadStream, ThreeIcons(), p));
        EXPECT_EQ(p.Width, 777);
        EXPECT_EQ(p.ICO_Sizes[0], (TICOSize{64, 64}));
    }
}

TEST(IcoReader, DirectoryCountIsBoundedByTheFile) {
    // 65535 entries announced, one present: the first image still reads, a later one is refused.
    LeBytes file = IconFile(1, {{8, 8, 0, 1, 24, DibImage(8, 16, 24)}}, 65535);
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(ICOReadStream, file, p));
    EXPECT_EQ(p.Width, 8);
    p.ICO_ImageIndex = 60000;
    EXPECT_FALSE(ReadHeader(ICOReadStream, file, p));
    // An image offset past the end is refused.
    LeBytes badOffset = IconFile(1, {{8, 8, 0, 1, 24, DibImage(8, 16, 24)}});
    badOffset.PatchU32(18, 0xFFFFFF00u);
    TIOParamsVals q;
    EXPECT_FALSE(ReadHeader(ICOReadStream, badOffset, q));
}

TEST(IcoReader, BitmapContentIsReadAsBitmap) {
    LeBytes bmp;
    bmp.Text("BM").U32(0).U32(0).U32(0).U32(40).U32(5).U32(6).U16(1).U16(24).Fill(40);
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(ICOReadStream, bmp, p));
    EXPECT_EQ(p.Width, 5);
    EXPECT_EQ(p.Height, 6);
    EXPECT_EQ(p.BMP_Version, ioBMP_BM3);
}

TEST(CurReader, ReadsHotSpotAndTheEntryAtTheIndexCountingEveryEntry) {
    const LeBytes file = IconFile(2, {{0, 0, 0, 1, 2, DibImage(256, 512, 1)},
                                      {32, 32, 0, 5, 7, DibImage(32, 64, 1, 2835)},
                                      {16, 16, 255, 0, 0, DibImage(16, 32, 8)}});
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(CURReadStream, file, p));
    EXPECT_EQ(p.Width, 256);
    EXPECT_EQ(p.Height, 256);
    EXPECT_EQ(p.CUR_XHotSpot, 1);
    EXPECT_EQ(p.CUR_YHotSpot, 2);

    p.SetImageIndex(1);
    ASSERT_TRUE(ReadHeader(CURReadStream, file, p));
    EXPECT_EQ(p.Width, 32);
    EXPECT_EQ(p.CUR_XHotSpot, 5);
    EXPECT_EQ(p.CUR_YHotSpot, 7);
    EXPECT_EQ(p.BitsPerSample, 1);
    EXPECT_EQ(p.SamplesPerPixel, 1);
    EXPECT_EQ(p.DpiX, 72);
    EXPECT_EQ(p.ColorMapCount, 2);

    // A colour count of 255 stands for 256 palette entries.
    p.SetImageIndex(2);
    ASSERT_TRUE(ReadHeader(CURReadStream, file, p));
    EXPECT_EQ(p.BitsPerSample, 8);
    EXPECT_EQ(p.ColorMapCount, 256);
}

TEST(CurReader, DepthFromColourCountOrRefused) {
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(CURReadStream, IconFile(2, {{8, 8, 16, 0, 0, DibImage(8, 16, 0, 0, 16)}}), p));
    EXPECT_EQ(p.BitsPerSample, 4);
    EXPECT_EQ(p.ColorMapCount, 16);
    EXPECT_FALSE(ReadHeader(CURReadStream, IconFile(2, {{8, 8, 0, 0, 0, DibImage(8, 16, 0)}}), p));

    TIOParamsVals untouched;
    untouched.CUR_ImageIndex = 1;
    untouched.Width = 777;
    EXPECT_TRUE(ReadHeader(CURReadStream, IconFile(2, {{8, 8, 16, 0, 0, DibImage(8, 16, 0)}}), untouched));
    EXPECT_EQ(untouched.Width, 777);
}

}  // namespace
}  // namespace velmora
