#include "params/psd_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/byte_writer.h"
#include "tests/support/header_fixtures.h"
#include "tests/support/jpeg_fixtures.h"

namespace velmora {
namespace {

using test::BeBytes;
using test::ReadHeader;
using Bytes = std::vector<uint8_t>;

struct Resource {
    uint16_t id;
    Bytes data;
    std::string name;
};

// One image resource: "8BIM", id, the name as a length byte and characters padded to an even
// size, the data size and the data padded to an even size.
Bytes ResourceBytes(const Resource& r) {
    BeBytes b;
    b.Text("8BIM").U16(r.id).U8(uint8_t(r.name.size())).Text(r.name);
    if (r.name.size() % 2 == 0) b.U8(0);
    b.U32(uint32_t(r.data.size())).Bytes(r.data);
    if (r.data.size() % 2 != 0) b.U8(0);
    return b;
}

struct PsdSpec {
    uint16_t version = 1;
    uint16_t channels = 3;
    uint32_t rows = 30;
    uint32_t columns = 40;
    uint16_t depth = 8;
    uint16_t mode = 3;
    Bytes colourModeData;
    std::vector<Resource> resources;
};

Bytes Psd(const PsdSpec& s) {
    BeBytes b;
    b.Text("8BPS").U16(s.version).Fill(6, 0).U16(s.channels).U32(s.rows).U32(s.columns).U16(s.depth).U16(s.mode);
    b.U32(uint32_t(s.colourModeData.size())).Bytes(s.colourModeData);
    Bytes section;
    for (const Resource& r : s.resources) {
        const Bytes bytes = ResourceBytes(r);
        section.insert(section.end(), bytes.begin(), bytes.end());
    }
    b.U32(uint32_t(section.size())).Bytes(section);
    b.U32(0).U16(0).Fill(16, 0);  // no layers, raw image data
    return b;
}

Bytes Resolution(uint32_t horizontal16_16, uint32_t vertical16_16) {
    return BeBytes().U32(horizontal16_16).U16(1).U16(1).U32(vertical16_16).U16(1).U16(1);
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(PsdReader, ReadsHeaderAndResolution) {
    PsdSpec spec;
    spec.channels = 4;
    spec.depth = 16;
    spec.resources = {{1005, Resolution(0x00488000, 0x012C0000)}};  // 72.5 and 300 pixels per inch
    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(ReadPSD, Psd(spec), params));
    EXPECT_EQ(params.Width, 40);
    EXPECT_EQ(params.Height, 30);
    EXPECT_EQ(params.BitsPerSample, 16);
    EXPECT_EQ(params.SamplesPerPixel, 4);
    EXPECT_EQ(params.DpiX, 72);
    EXPECT_EQ(params.DpiY, 300);
    EXPECT_EQ(params.EXIF_XResolution, 72);
}

TEST(PsdReader, WithoutResolutionResourceReportsScreenResolution) {
    PsdSpec spec;
    spec.colourModeData = Bytes(768, 7);  // an indexed image's palette is skipped
    spec.mode = 2;
    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(ReadPSD, Psd(spec), params));
    EXPECT_EQ(params.DpiX, 96);
    EXPECT_EQ(params.DpiY, 96);
    EXPECT_EQ(params.ColorMapCount, 0);
}

TEST(PsdReader, MetadataResourcesFillIptcThumbnailIccAndXmp) {
    const Bytes jpeg = test::MakeJpeg({.width = 24, .height = 16});
    Bytes thumbnail = BeBytes().U32(1).U32(24).U32(16).U32(72).U32(1152).U32(uint32_t(jpeg.size())).U16(24).U16(1);
    thumbnail.insert(thumbnail.end(), jpeg.begin(), jpeg.end());
    const Bytes iptc = {0x1C, 2, 5, 0, 5, 'T', 'i', 't', 'l', 'e', 0x1C, 2, 120, 0, 3, 'c', 'a', 'p'};

    PsdSpec spec;
    spec.resources = {
        {1000, Bytes(3, 1), "odd"},  // odd data size and a named resource are stepped over
        {1028, iptc},
        {1036, thumbnail},
        {1039, Text("icc-profile")},
        {1050, {}},  // an empty resource does not end the walk
        {1060, Text("<x:xmpmeta/>")},
        {1005, Resolution(150 << 16, 150 << 16), "x"},
    };
    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(ReadPSD, Psd(spec), params));

    ASSERT_EQ(params.IPTC_Info.GetCount(), 2);
    EXPECT_EQ(params.IPTC_Info.GetDataSet(0), 5);
    EXPECT_EQ(params.IPTC_Info.GetStrings(0), "Title");
    EXPECT_EQ(params.IPTC_Info.GetStrings(1), "cap");
    ASSERT_TRUE(params.EXIF_Bitmap);
    EXPECT_EQ(params.EXIF_Bitmap->Width(), 24);
    EXPECT_EQ(params.EXIF_Bitmap->Height(), 16);
    EXPECT_FALSE(params.EXIF_HasEXIF);
    EXPECT_EQ(params.InputICC, Text("icc-profile"));
    EXPECT_EQ(params.XMP_Info, "<x:xmpmeta/>");
    EXPECT_EQ(params.DpiX, 150);
}

TEST(PsdReader, ThumbnailThatIsNoJpegLeavesNoBitmap) {
    PsdSpec spec;
    spec.resources = {{1036, Bytes(60, 0x11)}};
    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(ReadPSD, Psd(spec), params));
    EXPECT_TRUE(!params.EXIF_Bitmap || params.EXIF_Bitmap->IsEmpty());
}

TEST(PsdReader, ResourceWalkStopsAtABadLengthKeepingWhatCameBefore) {
    PsdSpec spec;
    spec.resources = {{1005, Resolution(200 << 16, 200 << 16)}, {1060, Text("<xmp/>")}};
    Bytes file = Psd(spec);
    // The XMP resource's data size now runs past its section (and the file).
    const size_t xmpSize = 26 + 4 + 4 + ResourceBytes(spec.resources[0]).size() + 8;
    file[xmpSize] = 0x7F;

    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(ReadPSD, file, params));
    EXPECT_EQ(params.DpiX, 200);
    EXPECT_EQ(params.XMP_Info, "");

    // A section length beyond the end of the file: the resources that are there are read.
    Bytes cut = Psd(spec);
    cut.resize(26 + 4 + 4 + ResourceBytes(spec.resources[0]).size());
    TIOParamsVals cutParams;
    ASSERT_TRUE(ReadHeader(ReadPSD, cut, cutParams));
    EXPECT_EQ(cutParams.DpiX, 200);
}

TEST(PsdReader, RefusesBadHeaders) {
    const auto variant = [](auto change) {
        PsdSpec spec;
        change(spec);
        return Psd(spec);
    };
    Bytes badSignature = Psd(PsdSpec{});
    badSignature[3] = 'B';
    Bytes colourDataPastEnd = Psd(PsdSpec{});
    colourDataPastEnd[26] = 0x10;
    Bytes headerOnly = Psd(PsdSpec{});
    headerOnly.resize(26);
    Bytes cutInHeader = headerOnly;
    cutInHeader.resize(20);

    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"signature", badSignature},
        {"version 2", variant([](PsdSpec& s) { s.version = 2; })},
        {"25 channels", variant([](PsdSpec& s) { s.channels = 25; })},
        {"no channels", variant([](PsdSpec& s) { s.channels = 0; })},
        {"depth 17", variant([](PsdSpec& s) { s.depth = 17; })},
        {"colour mode 10", variant([](PsdSpec& s) { s.mode = 10; })},
        {"header only", headerOnly},
        {"cut in the header", cutInHeader},
        {"colour mode data past the end", colourDataPastEnd},
    };
    for (const auto& [name, bytes] : cases) {
        TIOParamsVals params;
        EXPECT_FALSE(ReadHeader(ReadPSD, bytes, params)) << name;
    }
}

}  // namespace
}  // namespace velmora
