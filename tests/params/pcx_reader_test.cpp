#include "params/pcx_reader.h"

#include <gtest/gtest.h>

#include "tests/support/header_fixtures.h"

namespace velmora {
namespace {

using test::LeBytes;
using test::ReadHeader;

struct PcxHeader {
    uint8_t version = 5;
    uint8_t encoding = 1;
    uint8_t bits = 8;
    uint16_t xmin = 0, ymin = 0, xmax = 99, ymax = 49;
    uint16_t dpiX = 72, dpiY = 72;
    uint8_t planes = 1;
};

// A 128-byte header whose 16-colour palette has entry i = red i, green 16+i, blue 32+i.
LeBytes Pcx(const PcxHeader& h) {
    LeBytes b;
    b.U8(10).U8(h.version).U8(h.encoding).U8(h.bits).U16(h.xmin).U16(h.ymin).U16(h.xmax).U16(h.ymax);
    b.U16(h.dpiX).U16(h.dpiY);
    for (int i = 0; i < 16; ++i) b.U8(uint8_t(i)).U8(uint8_t(16 + i)).U8(uint8_t(32 + i));
    b.U8(0).U8(h.planes);
    return b.PadTo(128);
}

// Image data, then the marker byte and a 256-colour palette whose entry i is (i, 255-i, shade).
LeBytes WithTrailingPalette(LeBytes b, uint8_t shade) {
    b.Fill(40, 0xC1).U8(12);
    for (int i = 0; i < 256; ++i) b.U8(uint8_t(i)).U8(uint8_t(255 - i)).U8(shade);
    return b;
}

TEST(PcxReader, ReadsSizeResolutionVersionAndLayout) {
    PcxHeader h;
    h.xmin = 10;
    h.ymin = 20;
    h.xmax = 109;
    h.ymax = 69;
    h.version = 3;
    h.bits = 8;
    h.planes = 3;
    TIOParamsVals p;
    p.SetColorMap(std::vector<TRGB>(5));
    ASSERT_TRUE(ReadHeader(ReadPcxStream, Pcx(h).Fill(10), p));
    EXPECT_EQ(p.Width, 100);
    EXPECT_EQ(p.Height, 50);
    EXPECT_EQ(p.DpiX, 72);
    EXPECT_EQ(p.DpiY, 72);
    EXPECT_EQ(p.PCX_Version, 3);
    EXPECT_EQ(p.BitsPerSample, 8);
    EXPECT_EQ(p.SamplesPerPixel, 3);
    EXPECT_EQ(p.ColorMapCount, 0);
}

TEST(PcxReader, ResolutionWithAZeroTakesTheDefaultForBoth) {
    PcxHeader h;
    h.dpiX = 0;
    h.dpiY = 150;
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(ReadPcxStream, Pcx(h), p));
    EXPECT_EQ(p.DpiX, 300);
    EXPECT_EQ(p.DpiY, 300);
}

TEST(PcxReader, PaletteByDepthAndPlanes) {
    const struct {
        uint8_t bits, planes;
        int32_t outBits, outSamples, colors;
        TRGB last;
    } cases[] = {
        {1, 4, 4, 1, 16, TRGB{47, 31, 15}},
        {1, 1, 1, 1, 2, TRGB{33, 17, 1}},
        {2, 1, 2, 1, 4, TRGB{35, 19, 3}},
        {4, 1, 4, 1, 16, TRGB{47, 31, 15}},
        {8, 1, 8, 1, 256, TRGB{9, 0, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.bits) << "x" << int(c.planes));
        PcxHeader h;
        h.bits = c.bits;
        h.planes = c.planes;
        TIOParamsVals p;
        ASSERT_TRUE(ReadHeader(ReadPcxStream, WithTrailingPalette(Pcx(h), 9), p));
        EXPECT_EQ(p.BitsPerSample, c.outBits);
        EXPECT_EQ(p.SamplesPerPixel, c.outSamples);
        ASSERT_EQ(p.ColorMapCount, c.colors);
        EXPECT_EQ(p.ColorMap.back(), c.last);
    }
}

TEST(PcxReader, EightBitImageWithoutPaletteMarkerHasNoPalette) {
    PcxHeader h;
    LeBytes b = Pcx(h).Fill(900, 0x33);
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(ReadPcxStream, b, p));
    EXPECT_EQ(p.ColorMapCount, 0);
}

TEST(PcxReader, RefusesBadHeaders) {
    PcxHeader encoding2;
    encoding2.encoding = 2;
    PcxHeader nineBits;
    nineBits.bits = 9;
    PcxHeader emptyWindow;
    emptyWindow.xmin = 5;
    emptyWindow.xmax = 4;
    LeBytes notPcx = Pcx(PcxHeader{});
    notPcx.PatchU16(0, 11 | (5 << 8));
    std::vector<uint8_t> shortHeader = Pcx(PcxHeader{});
    shortHeader.resize(100);
    const std::vector<uint8_t> cases[] = {Pcx(encoding2), Pcx(nineBits), Pcx(emptyWindow), notPcx, shortHeader};
    for (const auto& bytes : cases) {
        TIOParamsVals p;
        EXPECT_FALSE(ReadHeader(ReadPcxStream, bytes, p));
    }
}

// Three pages: 10 x 10 at 1 bit, 20 x 20 at 8 bits with a palette at the end of the page,
// 30 x 30 at 24 bits.
LeBytes ThreePageDcx() {
    PcxHeader first, second, third;
    first.bits = 1;
    first.xmax = first.ymax = 9;
    second.xmax = second.ymax = 19;
    third.planes = 3;
    third.xmax = third.ymax = 29;
    const LeBytes pages[] = {Pcx(first).Fill(30), WithTrailingPalette(Pcx(second), 77), Pcx(third).Fill(30)};
    LeBytes b;
    b.U32(987654321u);
    uint32_t offset = 4 + 4 * 4;
    for (const LeBytes& page : pages) {
        b.U32(offset);
        offset += uint32_t(page.Size());
    }
    b.U32(0);
    for (const LeBytes& page : pages) b.Bytes(page);
    return b;
}

TEST(DcxReader, ReadsThePageAtTheIndexHeldWithinTheTable) {
    const struct {
        int32_t asked, page, width;
    } cases[] = {{0, 0, 10}, {1, 1, 20}, {2, 2, 30}, {7, 2, 30}, {-1, 0, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        TIOParamsVals p;
        p.SetImageCount(42);
        p.DCX_ImageIndex = c.asked;
        ASSERT_TRUE(ReadHeader(DCXReadStream, ThreePageDcx(), p));
        EXPECT_EQ(p.Width, c.width);
        for (int32_t index : {p.ImageIndex, p.TIFF_ImageIndex, p.DCX_ImageIndex, p.GIF_ImageIndex,
                              p.ICO_ImageIndex, p.CUR_ImageIndex}) {
            EXPECT_EQ(index, c.page);
        }
        EXPECT_EQ(p.ImageCount, 42);
    }
}

TEST(DcxReader, PaletteComesFromTheEndOfThePage) {
    TIOParamsVals p;
    p.DCX_ImageIndex = 1;
    ASSERT_TRUE(ReadHeader(DCXReadStream, ThreePageDcx(), p));
    ASSERT_EQ(p.ColorMapCount, 256);
    EXPECT_EQ(p.ColorMap[1], (TRGB{77, 254, 1}));
}

TEST(DcxReader, RefusesBadMagicEmptyTablesAndOffsetsOutsideTheFile) {
    LeBytes badMagic = ThreePageDcx();
    badMagic.PatchU32(0, 123456789u);
    LeBytes empty;
    empty.U32(987654321u).U32(0).Fill(200);
    LeBytes outside = ThreePageDcx();
    outside.PatchU32(8, uint32_t(outside.Size()));
    LeBytes unterminated;
    unterminated.U32(987654321u).U32(8);
    for (const LeBytes* bytes : {&badMagic, &empty, &outside, &unterminated}) {
        TIOParamsVals p;
        EXPECT_FALSE(ReadHeader(DCXReadStream, *bytes, p));
    }
}

TEST(DcxReader, TableEndsAfter1024Entries) {
    PcxHeader h;
    LeBytes b;
    b.U32(987654321u);
    const uint32_t first = 4 + 1025 * 4;
    for (int i = 0; i < 1025; ++i) b.U32(first);  // no zero entry within the table's limit
    b.Bytes(Pcx(h));
    TIOParamsVals p;
    p.DCX_ImageIndex = 5000;
    ASSERT_TRUE(ReadHeader(DCXReadStream, b, p));
    EXPECT_EQ(p.DCX_ImageIndex, 1023);
    EXPECT_EQ(p.Width, 100);
}

}  // namespace
}  // namespace velmora
