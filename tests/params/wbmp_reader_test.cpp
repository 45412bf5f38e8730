#include "params/wbmp_reader.h"

#include <gtest/gtest.h>

#include "params/format_detection.h"
#include "params/format_registry.h"
#include "params/image_io.h"
#include "tests/support/header_fixtures.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::ReadHeader;

// A type 0 image of 300 x 225: the size as two-byte multi-byte integers, 38 bytes a row.
std::vector<uint8_t> Wbmp300x225(size_t extraBytes = 0, bool dropLast = false) {
    std::vector<uint8_t> b = {0x00, 0x00, 0x82, 0x2C, 0x81, 0x61};
    b.resize(b.size() + 38 * 225 + extraBytes, 0xFF);
    if (dropLast) b.pop_back();
    return b;
}

TEST(WbmpReader, ReadsMultiByteSizes) {
    TIOParamsVals p;
    p.SetColorMap(std::vector<TRGB>(2));
    ASSERT_TRUE(ReadHeader(WBMPReadStream, Wbmp300x225(), p));
    EXPECT_EQ(p.Width, 300);
    EXPECT_EQ(p.Height, 225);
    EXPECT_EQ(p.BitsPerSample, 1);
    EXPECT_EQ(p.SamplesPerPixel, 1);
    EXPECT_EQ(p.DpiX, 300);
    EXPECT_EQ(p.ColorMapCount, 0);
}

TEST(WbmpReader, RefusesOtherTypesHeadersEmptySizesAndOverlongIntegers) {
    const std::vector<uint8_t> cases[] = {
        {0x01, 0x00, 0x08, 0x08},              // type 1
        {0x00, 0x01, 0x08, 0x08},              // a fixed header with extension bits
        {0x00, 0x00, 0x00, 0x08},              // width 0
        {0x00, 0x00, 0x08},                    // no height
        {0x00, 0x00, 0x81, 0x81, 0x81, 0x81, 0x01, 0x08},  // a five-byte width
    };
    for (const auto& bytes : cases) {
        TIOParamsVals p;
        EXPECT_FALSE(ReadHeader(WBMPReadStream, bytes, p));
    }
}

TEST(WbmpContentTest, AcceptsOnlyAFileOfExactlyThePackedSize) {
    const struct {
        std::vector<uint8_t> bytes;
        bool accepted;
    } cases[] = {
        {Wbmp300x225(), true},
        {Wbmp300x225(1), false},
        {Wbmp300x225(0, true), false},
        {{0x00, 0x00, 0x01, 0x01, 0x80}, true},  // 1 x 1
        {{0x01, 0x00, 0x01, 0x01, 0x80}, false},
        {{0x00, 0x00, 0x00, 0x01}, false},
    };
    for (const auto& c : cases) {
        TMemoryStream stream(c.bytes);
        stream.Seek(0);
        EXPECT_EQ(WBMPTryStream(stream, ioWBMP), c.accepted);
        EXPECT_EQ(stream.Position(), 0);
        EXPECT_EQ(FindStreamFormat(stream), c.accepted ? ioWBMP : ioUnknown);
    }
}

TEST(WbmpContentTest, AWbmpFileIsRecognisedAndRead) {
    test::TempDir dir;
    const std::string path = dir.WriteFile("picture.wbmp", Wbmp300x225());
    EXPECT_EQ(FindFileFormat(path, true), ioWBMP);
    TImageIO io;
    io.ParamsFromFile(path);
    EXPECT_EQ(io.Params.FileType, ioWBMP);
    EXPECT_EQ(io.Params.Width, 300);
    EXPECT_EQ(io.Params.Height, 225);
}

}  // namespace
}  // namespace velmora
