#include "params/pxm_reader.h"

#include <gtest/gtest.h>

#include "tests/support/header_fixtures.h"

namespace velmora {
namespace {

using test::ReadHeader;

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

TEST(PxmReader, MagicAndMaximumGiveTheSampleLayout) {
    const struct {
        const char* header;
        int32_t bits, samples;
    } cases[] = {
        {"P1 4 3\n0101", 1, 1},       {"P4\n4 3\n\x0f", 1, 1},      {"P2 4 3 255\n", 8, 1},
        {"P5 4 3 255\n", 8, 1},       {"P3 4 3 255\n", 8, 3},       {"P6 4 3 255\n", 8, 3},
        {"P6 4 3 65535\n", 16, 3},    {"P5 4 3 1023\n", 16, 1},     {"P6 4 3 256\n", 16, 3},
        {"P6 4 3\n", 8, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        TIOParamsVals p;
        p.SetColorMap(std::vector<TRGB>(4));
        ASSERT_TRUE(ReadHeader(PXMReadStream, Bytes(c.header), p));
        EXPECT_EQ(p.Width, 4);
        EXPECT_EQ(p.Height, 3);
        EXPECT_EQ(p.BitsPerSample, c.bits);
        EXPECT_EQ(p.SamplesPerPixel, c.samples);
        EXPECT_EQ(p.ColorMapCount, 0);
        EXPECT_EQ(p.DpiX, 300);
    }
}

TEST(PxmReader, CollectsTrimmedCommentsBetweenHeaderTokens) {
    TIOParamsVals p;
    p.PXM_Comments = {"from an earlier file"};
    const std::string text = "# first line  \nP6\n#second\r\n640 #  third\t\n480\n255\n#not header\xff\xfe";
    ASSERT_TRUE(ReadHeader(PXMReadStream, Bytes(text), p));
    EXPECT_EQ(p.PXM_Comments, (std::vector<std::string>{"first line", "second", "third"}));
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.Height, 480);
}

TEST(PxmReader, RefusesBadMagicSizeOrMaximum) {
    const std::string long_number(100, '9');
    const std::string cases[] = {
        "P7 4 3 255\n", "P 4 3 255", "p6 4 3 255\n", "P6 0 3 255\n", "P6 4 x 255\n", "P6 4",
        "P6 4 3 65536\n", "P5 4 3 99999999\n", "P6 " + long_number + " 3 255\n", "P6 4294967296 3 255\n", "",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.substr(0, 20));
        TIOParamsVals p;
        EXPECT_FALSE(ReadHeader(PXMReadStream, Bytes(text), p));
    }
}

TEST(PxmReader, LongCommentsAndEndlessSeparatorsAreBounded) {
    std::string text = "P5\n#" + std::string(100000, 'c') + "\n2 2 255\n";
    TIOParamsVals p;
    ASSERT_TRUE(ReadHeader(PXMReadStream, Bytes(text), p));
    ASSERT_EQ(p.PXM_Comments.size(), 1u);
    EXPECT_LE(p.PXM_Comments[0].size(), 4096u);

    // Two megabytes of blanks before the size: the header is not looked for that far.
    text = "P5 " + std::string(2 << 20, ' ') + "2 2 255\n";
    EXPECT_FALSE(ReadHeader(PXMReadStream, Bytes(text), p));
    // More than 500 comment lines before the size.
    text = "P5\n";
    for (int i = 0; i < 600; ++i) text += "#c\n";
    EXPECT_FALSE(ReadHeader(PXMReadStream, Bytes(text + "2 2 255\n"), p));
}

}  // namespace
}  // namespace velmora
