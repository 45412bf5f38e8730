#include "params/tga_reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "params/user_locale.h"
#include "tests/support/header_fixtures.h"

namespace velmora {
namespace {

using test::LeBytes;
using test::ReadHeader;

struct TgaHeader {
    std::string id;
    uint8_t mapType = 0;
    uint8_t type = 2;
    uint16_t mapLength = 0;
    uint8_t mapEntrySize = 0;
    uint16_t x = 0, y = 0, width = 200, height = 32;
    uint8_t depth = 24;
};

// Header, identification field, colour map (entry i: blue i, green 2i, red 3i for 24 and 32
// bits; 15/16-bit entries hold i in each 5-bit channel) and 64 bytes of image data.
LeBytes Tga(const TgaHeader& h) {
    LeBytes b;
    b.U8(uint8_t(h.id.size())).U8(h.mapType).U8(h.type).U16(0).U16(h.mapLength).U8(h.mapEntrySize);
    b.U16(h.x).U16(h.y).U16(h.width).U16(h.height).U8(h.depth).U8(0x20).Text(h.id);
    for (int i = 0; i < h.mapLength; ++i) {
        if (h.mapEntrySize <= 16) {
            b.U16(uint16_t((i & 0x1F) << 10 | (i & 0x1F) << 5 | (i & 0x1F)));
        } else {
            b.U8(uint8_t(i)).U8(uint8_t(2 * i)).U8(uint8_t(3 * i));
            if (h.mapEntrySize == 32) b.U8(255);
        }
    }
    return b.Fill(64, 0x11);
}

struct Extension {
    std::string author = "A. Author";
    uint16_t month = 8, day = 2, year = 2020, hour = 23, minute = 5, second = 30;
    std::string job = "Job name";
    uint8_t keyA = 0, keyR = 10, keyG = 20, keyB = 30;
    uint16_t aspectNum = 4, aspectDen = 3, gammaNum = 18, gammaDen = 10;
};

// Appends a TGA 2.0 extension area and the footer that points to it.
LeBytes WithExtension(LeBytes b, const Extension& e) {
    const uint32_t offset = uint32_t(b.Size());
    LeBytes area;
    area.U16(495).Text(e.author).PadTo(43).PadTo(367);
    area.U16(e.month).U16(e.day).U16(e.year).U16(e.hour).U16(e.minute).U16(e.second);
    area.Text(e.job).PadTo(470).U8(e.keyA).U8(e.keyR).U8(e.keyG).U8(e.keyB);
    area.U16(e.aspectNum).U16(e.aspectDen).U16(e.gammaNum).U16(e.gammaDen).PadTo(495);
    b.Bytes(area);
    b.U32(offset).U32(0).Text("TRUEVISION-XFILE.").U8(0);
    return b;
}

TEST(TgaReader, ReadsTheExtensionAreaOfATga2File) {
    TgaHeader h;
    h.id = "foobar";
    h.x = 3;
    h.y = 4;
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(ReadTGAStream, WithExtension(Tga(h), Extension{}), p));
    EXPECT_EQ(p.TGA_Author, "A. Author");
    EXPECT_EQ(p.TGA_ImageName, "Job name");
    int year, month, day, hour, minute, second;
    ASSERT_TRUE(DecodeDateTime(p.TGA_Date, year, month, day, hour, minute, second));
    EXPECT_EQ((std::vector<int>{year, month, day, hour, minute, second}), (std::vector<int>{2020, 8, 2, 23, 5, 30}));
    EXPECT_EQ(p.TGA_Background, (TRGB{30, 20, 10}));
    EXPECT_DOUBLE_EQ(p.TGA_AspectRatio, 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(p.TGA_Gamma, 1.8);
    EXPECT_EQ(p.TGA_Descriptor, "foobar");
    EXPECT_EQ(p.TGA_XPos, 3);
    EXPECT_EQ(p.TGA_YPos, 4);
    EXPECT_EQ(p.Width, 200);
    EXPECT_EQ(p.Height, 32);
    EXPECT_EQ(p.BitsPerSample, 8);
    EXPECT_EQ(p.SamplesPerPixel, 3);
    EXPECT_EQ(p.DpiX, 300);
    EXPECT_FALSE(p.TGA_Compressed);
}

TEST(TgaReader, WithoutFooterOrUsableValuesTheDefaultsStay) {
    Extension badDate;
    badDate.month = 2;
    badDate.day = 31;  // no such day
    badDate.aspectDen = 0;
    badDate.gammaNum = 0;
    Extension badTime;
    badTime.minute = 60;
    LeBytes farOffset = WithExtension(Tga(TgaHeader{}), Extension{});
    farOffset.PatchU32(farOffset.Size() - 26, uint32_t(farOffset.Size() - 100));  // area would overlap the footer
    const std::vector<uint8_t> cases[] = {Tga(TgaHeader{}), WithExtension(Tga(TgaHeader{}), badDate),
                                          WithExtension(Tga(TgaHeader{}), badTime), farOffset};
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        TIOParamsVals p;
        p.TGA_Date = 1.5;
        p.TGA_Gamma = 7;
        p.TGA_AspectRatio = 7;
        p.TGA_Author = "earlier";
        ASSERT_TRUE(ReadHeader(ReadTGAStream, cases[i], p));
        EXPECT_EQ(p.TGA_Date, TodayDate());
        if (i != 2) {
            EXPECT_EQ(p.TGA_Gamma, 2.2);
            EXPECT_EQ(p.TGA_AspectRatio, 1.0);
        }
        EXPECT_EQ(p.TGA_Author, (i == 1 || i == 2) ? "A. Author" : "");
    }
}

TEST(TgaReader, LayoutByTypeDepthAndColourMap) {
    const struct {
        uint8_t type, depth, mapType, mapEntrySize;
        int32_t bits, samples, colors;
        bool grey, compressed;
    } cases[] = {
        {1, 8, 1, 24, 8, 1, 256, false, false}, {9, 8, 1, 16, 8, 1, 256, false, true},
        {9, 8, 1, 32, 8, 1, 256, false, true},  {3, 8, 0, 0, 8, 1, 0, true, false},
        {11, 16, 0, 0, 8, 2, 0, true, true},    {2, 16, 0, 0, 5, 3, 0, false, false},
        {10, 32, 0, 0, 8, 4, 0, false, true},   {3, 1, 0, 0, 1, 1, 0, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.type) << "/" << int(c.depth) << "/" << int(c.mapEntrySize));
        TgaHeader h;
        h.type = c.type;
        h.depth = c.depth;
        h.mapType = c.mapType;
        h.mapEntrySize = c.mapEntrySize;
        h.mapLength = c.mapType ? 256 : 0;
        TIOParamsVals p;
        p.TGA_GrayLevel = !c.grey;
        p.SetColorMap(std::vector<TRGB>(3));
        ASSERT_TRUE(ReadHeader(ReadTGAStream, Tga(h), p));
        EXPECT_EQ(p.BitsPerSample, c.bits);
        EXPECT_EQ(p.SamplesPerPixel, c.samples);
        EXPECT_EQ(p.ColorMapCount, c.colors);
        EXPECT_EQ(p.TGA_GrayLevel, c.grey);
        EXPECT_EQ(p.TGA_Compressed, c.compressed);
    }
}

TEST(TgaReader, ColourMapEntriesBecomeBlueGreenRed) {
    TgaHeader h;
    h.type = 1;
    h.depth = 8;
    h.mapType = 1;
    h.mapLength = 32;
    for (uint8_t size : {15, 24}) {
        h.mapEntrySize = size;
        TIOParamsVals p;
        ASSERT_TRUE(ReadHeader(ReadTGAStream, Tga(h), p));
        ASSERT_EQ(p.ColorMapCount, 32);
        EXPECT_EQ(p.ColorMap[31], size == 15 ? (TRGB{255, 255, 255}) : (TRGB{31, 62, 93}));
        EXPECT_EQ(p.ColorMap[1], size == 15 ? (TRGB{8, 8, 8}) : (TRGB{1, 2, 3}));
    }
    // A map longer than the file holds keeps the entries that are there.
    h.mapEntrySize = 24;
    LeBytes b = Tga(h);
    b.PatchU16(5, 65535);
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(ReadTGAStream, b, p));
    EXPECT_EQ(p.ColorMapCount, 32 + 64 / 3);
}

TEST(TgaReader, RefusesUnknownTypesAndDepths) {
    TgaHeader type4;
    type4.type = 4;
    TgaHeader depth15;
    depth15.depth = 15;
    TgaHeader noWidth;
    noWidth.width = 0;
    const std::vector<uint8_t> cases[] = {Tga(type4), Tga(depth15), Tga(noWidth), std::vector<uint8_t>(10, 2)};
    for (const auto& bytes : cases) {
        TIOParamsVals p;
        EXPECT_FALSE(ReadHeader(ReadTGAStream, bytes, p));
    }
}

}  // namespace
}  // namespace velmora
