#include "params/gif_reader.h"

#include <gtest/gtest.h>

#include "tests/support/header_fixtures.h"

namespace velmora {
namespace {

using test::LeBytes;
using test::ReadHeader;

// Header of a GIF89a screen of 40 x 30 with a global table of 4 colours (2 bits): entry i is
// red i*10, green i*10+1, blue i*10+2; background index 2, aspect byte 49.
LeBytes GifHeader(bool globalTable = true) {
    LeBytes b;
    b.Text("GIF89a").U16(40).U16(30).U8(globalTable ? 0x81 : 0x01).U8(2).U8(49);
    if (globalTable) {
        for (int i = 0; i < 4; ++i) b.U8(uint8_t(i * 10)).U8(uint8_t(i * 10 + 1)).U8(uint8_t(i * 10 + 2));
    }
    return b;
}

void GraphicControl(LeBytes& b, uint8_t packed, uint16_t delay, uint8_t transparent) {
    b.U8('!').U8(0xF9).U8(4).U8(packed).U16(delay).U8(transparent).U8(0);
}

// An image descriptor with two data sub-blocks; localBits > 0 adds a local table of 2^bits
// colours whose entry i is red 200+i, green 100+i, blue i.
void Frame(LeBytes& b, uint16_t x, uint16_t y, uint16_t w, uint16_t h, int localBits, bool interlaced) {
    uint8_t flags = interlaced ? 0x40 : 0;
    if (localBits > 0) flags |= uint8_t(0x80 | (localBits - 1));
    b.U8(',').U16(x).U16(y).U16(w).U16(h).U8(flags);
    for (int i = 0; localBits > 0 && i < (1 << localBits); ++i) b.U8(uint8_t(200 + i)).U8(uint8_t(100 + i)).U8(uint8_t(i));
    b.U8(2).U8(3).Fill(3, 0xAA).U8(1).U8(0x55).U8(0);
}

void Comment(LeBytes& b, std::initializer_list<std::string> blocks) {
    b.U8('!').U8(0xFE);
    for (const std::string& s : blocks) b.U8(uint8_t(s.size())).Text(s);
    b.U8(0);
}

// Twelve frames; frame i waits 10 + i, has transparent index i % 4, disposal i % 4 and the
// transparency flag on odd frames. Frame 3 has a local table of 8 colours and is interlaced.
// Comments sit before frame 0 and before frame 7; an application extension before frame 5.
LeBytes AnimatedGif() {
    LeBytes b = GifHeader();
    Comment(b, {"first"});
    for (int i = 0; i < 12; ++i) {
        if (i == 5) b.U8('!').U8(0xFF).U8(11).Text("NETSCAPE2.0").U8(3).U8(1).U16(0).U8(0);
        if (i == 7) Comment(b, {"second", "third"});
        GraphicControl(b, uint8_t(((i % 4) << 2) | (i % 2)), uint16_t(10 + i), uint8_t(i % 4));
        Frame(b, uint16_t(i), uint16_t(2 * i), uint16_t(4 + i), uint16_t(5 + i), i == 3 ? 3 : 0, i == 3);
    }
    b.U8(';');
    return b;
}

TEST(GifReader, ReadsTheSelectedFrameOfAnAnimationAndCountsEveryFrame) {
    TIOParamsVals p;
    p.SetImageIndex(3);
    ASSERT_TRUE(ReadHeader(ReadGIFStream, AnimatedGif(), p));

    EXPECT_EQ(p.ImageCount, 12);
    EXPECT_EQ(p.GIF_ImageCount, 12);
    EXPECT_EQ(p.GIF_Version, "GIF89a");
    EXPECT_EQ(p.GIF_WinWidth, 40);
    EXPECT_EQ(p.GIF_WinHeight, 30);
    EXPECT_EQ(p.GIF_Ratio, 49);
    EXPECT_EQ(p.GIF_Background, (TRGB{22, 21, 20}));
    EXPECT_EQ(p.GIF_XPos, 3);
    EXPECT_EQ(p.GIF_YPos, 6);
    EXPECT_EQ(p.Width, 7);
    EXPECT_EQ(p.Height, 8);
    EXPECT_EQ(p.GIF_DelayTime, 13);
    EXPECT_TRUE(p.GIF_FlagTranspColor);
    EXPECT_EQ(p.GIF_Action, ioGIF_RestorePrev);
    EXPECT_TRUE(p.GIF_Interlaced);
    // The frame's own table: 8 colours, transparent index 3.
    EXPECT_EQ(p.BitsPerSample, 3);
    EXPECT_EQ(p.SamplesPerPixel, 1);
    ASSERT_EQ(p.ColorMapCount, 8);
    EXPECT_EQ(p.ColorMap[7], (TRGB{7, 107, 207}));
    EXPECT_EQ(p.GIF_TranspColor, (TRGB{3, 103, 203}));
    EXPECT_EQ(p.DpiX, 300);
    EXPECT_EQ(p.DpiY, 300);
    EXPECT_EQ(p.GIF_Comments, (std::vector<std::string>{"first", "second", "third"}));
}

TEST(GifReader, FrameWithoutLocalTableUsesTheGlobalOne) {
    TIOParamsVals p;
    p.SetImageIndex(2);
    ASSERT_TRUE(ReadHeader(ReadGIFStream, AnimatedGif(), p));
    EXPECT_EQ(p.BitsPerSample, 2);
    EXPECT_EQ(p.ColorMapCount, 4);
    EXPECT_EQ(p.GIF_TranspColor, (TRGB{22, 21, 20}));
    EXPECT_FALSE(p.GIF_FlagTranspColor);
    EXPECT_EQ(p.GIF_Action, ioGIF_DrawBackground);
    EXPECT_FALSE(p.GIF_Interlaced);
}

TEST(GifReader, MissingFrameReportsTheLogicalScreenInsteadOfStaleValues) {
    TIOParamsVals p;
    p.Width = p.Height = 999;
    p.SetImageIndex(12);
    ASSERT_TRUE(ReadHeader(ReadGIFStream, AnimatedGif(), p));
    EXPECT_EQ(p.ImageCount, 12);
    EXPECT_EQ(p.Width, 40);
    EXPECT_EQ(p.Height, 30);
    EXPECT_EQ(p.BitsPerSample, 2);
}

TEST(GifReader, RefusesBadSignatureAndStreamsEndingAfterTheHeader) {
    LeBytes notGif;
    notGif.Text("GIT89a").Fill(20);
    LeBytes headerOnly = GifHeader();
    // A table of 256 colours announced, the file ends after 10 of them.
    LeBytes truncatedTable;
    truncatedTable.Text("GIF89a").U16(1).U16(1).U8(0x87).U8(0).U8(0).Fill(30, 7);
    LeBytes shortHeader;
    shortHeader.Text("GIF89a").U16(1);
    for (const LeBytes* bytes : {&notGif, &headerOnly, &truncatedTable, &shortHeader}) {
        TIOParamsVals p;
        EXPECT_FALSE(ReadHeader(ReadGIFStream, *bytes, p));
    }
}

TEST(GifReader, DamagedBlockWalksEndWithoutHangingAndKeepWhatWasRead) {
    struct Case {
        const char* what;
        LeBytes bytes;
        int32_t frames;
    };
    std::vector<Case> cases;
    {
        LeBytes b = GifHeader();
        Frame(b, 0, 0, 5, 6, 0, false);
        b.U8(',').U16(0).U16(0).U16(1).U16(1).U8(0).U8(2).U8(200).Fill(10);  // data runs past the end
        cases.push_back({"sub-block past the end", b, 2});
    }
    {
        LeBytes b = GifHeader();
        Frame(b, 0, 0, 5, 6, 0, false);
        b.Fill(5000, 0);  // no trailer, only bytes that are no block
        cases.push_back({"garbage after a frame", b, 1});
    }
    {
        LeBytes b = GifHeader();
        b.U8('!').U8(0xFE);
        for (int i = 0; i < 20000; ++i) b.U8(1).U8('x');  // 20000 one-byte comment lines, no end
        cases.push_back({"endless comment", b, 0});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TIOParamsVals p;
        EXPECT_TRUE(ReadHeader(ReadGIFStream, c.bytes, p));
        EXPECT_EQ(p.ImageCount, c.frames);
        EXPECT_LE(p.GIF_Comments.size(), 10000u);
    }
}

TEST(GifReader, WithoutGlobalTableTheBackgroundIsBlack) {
    LeBytes b = GifHeader(/*globalTable=*/false);
    Frame(b, 0, 0, 2, 2, 1, false);
    b.U8(';');
    TIOParamsVals p;
    p.GIF_Background = TRGB{1, 2, 3};
    ASSERT_TRUE(ReadHeader(ReadGIFStream, b, p));
    EXPECT_EQ(p.GIF_Background, kBlack);
    EXPECT_EQ(p.BitsPerSample, 1);
    EXPECT_EQ(p.ColorMapCount, 2);
}

}  // namespace
}  // namespace velmora
