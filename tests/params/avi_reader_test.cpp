#include "params/avi_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/header_fixtures.h"

namespace velmora {
namespace {

using test::LeBytes;
using test::ReadHeader;
using Bytes = std::vector<uint8_t>;

Bytes Chunk(const std::string& id, const Bytes& data) {
    LeBytes b;
    b.Text(id).U32(uint32_t(data.size())).Bytes(data);
    if (data.size() % 2 != 0) b.U8(0);
    return b;
}

Bytes List(const std::string& type, std::initializer_list<Bytes> chunks) {
    LeBytes body;
    body.Text(type);
    for (const Bytes& c : chunks) body.Bytes(c);
    return Chunk("LIST", body);
}

Bytes StreamHeader(const std::string& type, uint32_t scale, uint32_t rate, uint32_t length) {
    LeBytes b;
    b.Text(type).Text("mjpg").U32(0).U16(0).U16(0).U32(0).U32(scale).U32(rate).U32(0).U32(length);
    b.U32(0).U32(0).U32(0).U16(0).U16(0).U16(0).U16(0);
    return Chunk("strh", b);
}

Bytes BitmapFormat(int32_t width, int32_t height, uint16_t bitCount) {
    LeBytes b;
    b.U32(40).U32(uint32_t(width)).U32(uint32_t(height)).U16(1).U16(bitCount).Text("MJPG").Fill(20, 0);
    return Chunk("strf", b);
}

struct VideoSpec {
    uint32_t scale = 66666;
    uint32_t rate = 1000000;  // 15 frames per second
    uint32_t length = 233;
    int32_t width = 320;
    int32_t height = 240;
    uint16_t bitCount = 24;
};

// An AVI whose first stream is audio and second video, with a JUNK chunk and an odd-sized
// chunk on the way, and a movie list after the headers.
Bytes Avi(const VideoSpec& v) {
    const Bytes mainHeader = Chunk("avih", LeBytes().U32(66666).Fill(12, 0).U32(v.length).Fill(36, 0));
    const Bytes audio = List("strl", {StreamHeader("auds", 1, 11025, 4000), Chunk("strf", Bytes(16, 0))});
    const Bytes video = List("strl", {Chunk("JUNK", Bytes(3, 0)), StreamHeader("vids", v.scale, v.rate, v.length),
                                      BitmapFormat(v.width, v.height, v.bitCount)});
    LeBytes body;
    body.Text("AVI ").Bytes(List("hdrl", {mainHeader, audio, video})).Bytes(List("movi", {Chunk("00dc", Bytes(9, 1))}));
    return Chunk("RIFF", body);
}

TEST(AviReader, ReadsFrameCountDelayAndFrameFormatOfTheFirstVideoStream) {
    TIOParamsVals params;
    params.SetColorMap({TRGB{1, 2, 3}});
    VideoSpec spec;
    spec.height = -240;  // top-down frames
    ASSERT_TRUE(ReadHeader(ReadAVIStream, Avi(spec), params));
    EXPECT_EQ(params.AVI_FrameCount, 233);
    EXPECT_EQ(params.AVI_FrameDelayTime, 66);
    EXPECT_EQ(params.Width, 320);
    EXPECT_EQ(params.Height, 240);
    EXPECT_EQ(params.BitsPerSample, 8);
    EXPECT_EQ(params.SamplesPerPixel, 3);
    EXPECT_EQ(params.DpiX, 300);
    EXPECT_EQ(params.DpiY, 300);
    EXPECT_EQ(params.ColorMapCount, 0);
}

TEST(AviReader, FrameDelayIsTruncatedAndZeroWithoutARate) {
    struct Case {
        uint32_t scale;
        uint32_t rate;
        int delay;
    };
    const Case cases[] = {{1, 25, 40}, {21, 500, 42}, {1001, 30000, 33}, {1, 0, 0}, {0, 25, 0}};
    for (const Case& c : cases) {
        VideoSpec spec;
        spec.scale = c.scale;
        spec.rate = c.rate;
        TIOParamsVals params;
        ASSERT_TRUE(ReadHeader(ReadAVIStream, Avi(spec), params));
        EXPECT_EQ(params.AVI_FrameDelayTime, c.delay) << c.scale << "/" << c.rate;
    }
}

TEST(AviReader, BitsAndSamplesFollowTheFrameBitCount) {
    const int table[][3] = {{1, 1, 1}, {4, 4, 1}, {8, 8, 1}, {15, 5, 3}, {16, 8, 3}, {32, 8, 3}};
    for (const auto& row : table) {
        VideoSpec spec;
        spec.bitCount = uint16_t(row[0]);
        TIOParamsVals params;
        ASSERT_TRUE(ReadHeader(ReadAVIStream, Avi(spec), params));
        EXPECT_EQ(params.BitsPerSample, row[1]) << row[0];
        EXPECT_EQ(params.SamplesPerPixel, row[2]) << row[0];
    }
}

TEST(AviReader, FrameIndexBeyondTheStreamGivesOnlyTheFrameCount) {
    TIOParamsVals params;
    params.ImageIndex = 233;
    params.Width = 7;
    params.AVI_FrameDelayTime = 99;
    ASSERT_TRUE(ReadHeader(ReadAVIStream, Avi(VideoSpec{}), params));
    EXPECT_EQ(params.AVI_FrameCount, 233);
    EXPECT_EQ(params.AVI_FrameDelayTime, 0);
    EXPECT_EQ(params.Width, 7);
}

TEST(AviReader, RefusesFilesWithoutAReadableVideoStream) {
    Bytes notAvi = Avi(VideoSpec{});
    notAvi[8] = 'W';
    const Bytes audioOnly = Chunk(
        "RIFF", LeBytes().Text("AVI ").Bytes(List("hdrl", {List("strl", {StreamHeader("auds", 1, 8000, 1)})})));
    const Bytes videoWithoutFormat = Chunk(
        "RIFF", LeBytes().Text("AVI ").Bytes(List("hdrl", {List("strl", {StreamHeader("vids", 1, 25, 10)})})));
    Bytes cut = Avi(VideoSpec{});
    cut.resize(150);

    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"not AVI", notAvi},
        {"not RIFF", Bytes(64, 'x')},
        {"no header list", Chunk("RIFF", LeBytes().Text("AVI ").Bytes(List("movi", {})))},
        {"audio only", audioOnly},
        {"video without format", videoWithoutFormat},
        {"cut before the video stream", cut},
        {"empty", {}},
    };
    for (const auto& [name, bytes] : cases) {
        TIOParamsVals params;
        params.AVI_FrameCount = 5;
        EXPECT_FALSE(ReadHeader(ReadAVIStream, bytes, params)) << name;
        EXPECT_EQ(params.AVI_FrameCount, 0) << name;
    }
}

}  // namespace
}  // namespace velmora
