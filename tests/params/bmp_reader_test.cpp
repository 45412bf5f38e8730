#include "params/bmp_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/header_fixtures.h"

namespace velmora {
namespace {

using test::LeBytes;
using test::ReadHeader;

struct InfoHeader {
    uint32_t size = 40;
    int32_t width = 127;
    int32_t height = 64;
    uint16_t bitCount = 8;
    uint32_t compression = 0;
    int32_t ppmX = 2835;
    int32_t ppmY = 2835;
    uint32_t colors = 0;
};

// A file header, an information header of h.size bytes (fields beyond it cut off), then
// palette entries of four bytes: entry i is blue i, green i+1, red i+2.
LeBytes Bmp(const InfoHeader& h, int paletteEntries = 0) {
    LeBytes info;
    info.U32(h.size).U32(uint32_t(h.width)).U32(uint32_t(h.height)).U16(1).U16(h.bitCount).U32(h.compression);
    info.U32(0).U32(uint32_t(h.ppmX)).U32(uint32_t(h.ppmY)).U32(h.colors).U32(0).PadTo(std::clamp<size_t>(h.size, 40, 124));
    std::vector<uint8_t> header(info.Data().begin(), info.Data().begin() + std::min<size_t>(h.size, info.Size()));
    LeBytes b;
    b.Text("BM").U32(0).U32(0).U32(0).Bytes(header);
    for (int i = 0; i < paletteEntries; ++i) b.U8(uint8_t(i)).U8(uint8_t(i + 1)).U8(uint8_t(i + 2)).U8(0);
    return b.Fill(64);
}

TEST(BmpReader, HeaderSizeGivesTheVersion) {
    const struct {
        uint32_t size;
        TIOBMPVersion version;
    } cases[] = {{40, ioBMP_BM3}, {64, ioBMP_BMOS2V2}, {108, ioBMP_BM}, {124, ioBMP_BM}, {56, ioBMP_BM}, {16, ioBMP_BM}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        InfoHeader h;
        h.size = c.size;
        TIOParamsVals p;
        ASSERT_TRUE(ReadHeader(BMPReadStream, Bmp(h), p));
        EXPECT_EQ(p.BMP_Version, c.version);
        EXPECT_EQ(p.Width, 127);
        EXPECT_EQ(p.Height, 64);
        // A 16-byte header ends before the resolution fields.
        EXPECT_EQ(p.DpiX, c.size == 16 ? 300 : 72);
    }
}

TEST(BmpReader, TopDownBitmapReportsAPositiveHeight) {
    InfoHeader h;
    h.height = -64;
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(BMPReadStream, Bmp(h), p));
    EXPECT_EQ(p.Height, 64);
}

TEST(BmpReader, BitCountGivesTheSampleLayout) {
    const struct {
        uint16_t bitCount;
        int32_t bits, samples, colors;
    } cases[] = {{1, 1, 1, 2}, {4, 4, 1, 16}, {8, 8, 1, 256}, {16, 5, 3, 0}, {24, 8, 3, 0}, {32, 8, 4, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bitCount);
        InfoHeader h;
        h.bitCount = c.bitCount;
        TIOParamsVals p;
        p.SetColorMap(std::vector<TRGB>(7));  // a previous file's palette
        ASSERT_TRUE(ReadHeader(BMPReadStream, Bmp(h, 256), p));
        EXPECT_EQ(p.BitsPerSample, c.bits);
        EXPECT_EQ(p.SamplesPerPixel, c.samples);
        EXPECT_EQ(p.ColorMapCount, c.colors);
    }
}

TEST(BmpReader, PaletteCountResolutionAndCompression) {
    InfoHeader h;
    h.colors = 3;
    h.ppmX = 0;
    h.ppmY = 3937;
    h.compression = 1;
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(BMPReadStream, Bmp(h, 3), p));
    ASSERT_EQ(p.ColorMapCount, 3);
    EXPECT_EQ(p.ColorMap[2], (TRGB{2, 3, 4}));
    EXPECT_EQ(p.DpiX, 300);
    EXPECT_EQ(p.DpiY, 100);
    EXPECT_EQ(p.BMP_Compression, ioBMP_RLE);

    // More than 256 colours counts as "all of them"; bit fields are uncompressed, and their
    // three masks come before the palette.
    h.colors = 300;
    h.compression = 3;
    h.bitCount = 4;
    LeBytes b = Bmp(h);
    std::vector<uint8_t> bytes(b.Data().begin(), b.Data().begin() + 54);
    LeBytes withMasks;
    withMasks.Bytes(bytes).U32(0xF800).U32(0x07E0).U32(0x001F).U8(9).U8(8).U8(7).U8(0).Fill(64);
    ASSERT_TRUE(ReadHeader(BMPReadStream, withMasks, p));
    EXPECT_EQ(p.BMP_Compression, ioBMP_UNCOMPRESSED);
    ASSERT_EQ(p.ColorMapCount, 16);
    EXPECT_EQ(p.ColorMap[0], (TRGB{9, 8, 7}));
}

TEST(BmpReader, Os2CoreHeaderHasShortSizesAndThreeBytePalette) {
    LeBytes b;
    b.Text("BM").U32(0).U32(0).U32(0).U32(12).U16(300).U16(200).U16(1).U16(4);
    for (int i = 0; i < 16; ++i) b.U8(uint8_t(i)).U8(uint8_t(i * 2)).U8(uint8_t(i * 3));
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(BMPReadStream, b, p));
    EXPECT_EQ(p.BMP_Version, ioBMP_BMOS2V1);
    EXPECT_EQ(p.Width, 300);
    EXPECT_EQ(p.Height, 200);
    EXPECT_EQ(p.BitsPerSample, 4);
    EXPECT_EQ(p.DpiX, 300);
    ASSERT_EQ(p.ColorMapCount, 16);
    EXPECT_EQ(p.ColorMap[15], (TRGB{15, 30, 45}));
}

TEST(BmpReader, RefusesBadSignaturesAndHeaders) {
    InfoHeader valid;
    LeBytes ba = Bmp(valid);
    ba.PatchU16(0, 'B' | ('A' << 8));
    InfoHeader tiny = valid;
    tiny.size = 8;
    InfoHeader noDepth = valid;
    noDepth.bitCount = 0;
    InfoHeader noWidth = valid;
    noWidth.width = 0;
    InfoHeader hugeHeader = valid;
    hugeHeader.size = 0xFFFFFFF0u;
    LeBytes truncated;
    truncated.Text("BM").U32(0).U32(0).U32(0).U32(40).U32(10);
    const std::vector<uint8_t> cases[] = {ba, Bmp(tiny), Bmp(noDepth), Bmp(noWidth), truncated, std::vector<uint8_t>{'B', 'M'}};
    for (const auto& bytes : cases) {
        TIOParamsVals p;
        EXPECT_FALSE(ReadHeader(BMPReadStream, bytes, p));
    }
    // A header claiming four gigabytes reads the fields it has and allocates nothing for the rest.
    TIOParamsVals p;
    EXPECT_TRUE(ReadHeader(BMPReadStream, Bmp(hugeHeader), p));
    EXPECT_EQ(p.ColorMapCount, 0);
}

}  // namespace
}  // namespace velmora
