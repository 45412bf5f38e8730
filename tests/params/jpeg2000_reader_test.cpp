#include "params/jpeg2000_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/byte_writer.h"
#include "tests/support/header_fixtures.h"

namespace velmora {
namespace {

using test::BeBytes;
using test::ReadHeader;
using Bytes = std::vector<uint8_t>;

struct ComponentSpec {
    uint8_t ssiz;  // precision - 1, bit 7 for signed samples
    uint8_t xr = 1;
    uint8_t yr = 1;
};

// SOC and SIZ for an image area from (x0, y0) to (width, height), one tile, then SOD-less filler.
Bytes CodeStream(uint32_t width, uint32_t height, const std::vector<ComponentSpec>& components, uint32_t x0 = 0,
                 uint32_t y0 = 0) {
    BeBytes b;
    b.U16(0xFF4F).U16(0xFF51).U16(uint16_t(38 + 3 * components.size())).U16(0);
    b.U32(width).U32(height).U32(x0).U32(y0).U32(width).U32(height).U32(0).U32(0);
    b.U16(uint16_t(components.size()));
    for (const ComponentSpec& c : components) b.U8(c.ssiz).U8(c.xr).U8(c.yr);
    b.U16(0xFF52).Fill(12, 0).U16(0xFFD9);
    return b;
}

Bytes Box(const char* type, const Bytes& payload) {
    return BeBytes().U32(uint32_t(8 + payload.size())).Text(type).Bytes(payload);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes kSignature = BeBytes().U32(12).U32(0x6A502020).U32(0x0D0A870A);
const Bytes kFileType = Box("ftyp", BeBytes().Text("jp2 ").U32(0).Text("jp2 "));

Bytes ImageHeader(uint32_t width, uint32_t height, uint16_t components, uint8_t bpc = 7, uint8_t compression = 7) {
    return Box("ihdr", BeBytes().U32(height).U32(width).U16(components).U8(bpc).U8(compression).U8(0).U8(0));
}
Bytes EnumeratedColour(uint32_t colourSpace) {
    return Box("colr", BeBytes().U8(1).U8(0).U8(0).U32(colourSpace));
}
Bytes IccColour(const char* space) {
    BeBytes profile;
    profile.U32(128).Text("none").U32(0).Text("mntr").Text(space).Text("XYZ ").Fill(128 - 24, 0);
    return Box("colr", BeBytes().U8(2).U8(0).U8(0).Bytes(profile));
}

// A JP2 file: signature, file type, a jp2h box holding the given boxes, and the code stream.
Bytes Jp2(const std::vector<Bytes>& headerBoxes, const Bytes& codeStream) {
    Bytes header;
    for (const Bytes& box : headerBoxes) header.insert(header.end(), box.begin(), box.end());
    return Concat({kSignature, kFileType, Box("jp2h", header), Box("jp2c", codeStream)});
}

const std::vector<ComponentSpec> kRgb8 = {{7}, {7}, {7}};

TEST(Jpeg2000Reader, Jp2OfThreeEightBitComponentsInRgb) {
    TIOParamsVals params;
    params.J2000_ColorSpace = ioJ2000_YCbCr;
    params.J2000_Rate = 0.25;
    params.J2000_ScalableBy = ioJ2000_Resolution;
    params.SetColorMap({TRGB{1, 2, 3}});
    const Bytes file = Jp2({ImageHeader(40, 30, 3), EnumeratedColour(16)}, CodeStream(50, 40, kRgb8, 10, 10));

    ASSERT_TRUE(ReadHeader(J2KReadStream, file, params));
    EXPECT_EQ(params.Width, 40);
    EXPECT_EQ(params.Height, 30);
    EXPECT_EQ(params.SamplesPerPixel, 3);
    EXPECT_EQ(params.BitsPerSample, 8);
    EXPECT_EQ(params.DpiX, 300);
    EXPECT_EQ(params.DpiY, 300);
    EXPECT_EQ(params.ColorMapCount, 0);
    EXPECT_EQ(params.J2000_ColorSpace, ioJ2000_YCbCr);
    EXPECT_EQ(params.J2000_Rate, 0.25);
    EXPECT_EQ(params.J2000_ScalableBy, ioJ2000_Resolution);
}

TEST(Jpeg2000Reader, BareCodeStreamTakesColourFromItsComponentCount) {
    struct Case {
        std::vector<ComponentSpec> components;
        int samples;
        int bits;
    };
    const Case cases[] = {{{{15}}, 1, 16}, {{{7}, {7}}, 1, 8}, {kRgb8, 3, 8}, {{{11}, {7}, {7}, {7}}, 3, 12}};
    for (const Case& c : cases) {
        TIOParamsVals params;
        ASSERT_TRUE(ReadHeader(J2KReadStream, CodeStream(64, 48, c.components), params));
        EXPECT_EQ(params.Width, 64);
        EXPECT_EQ(params.Height, 48);
        EXPECT_EQ(params.SamplesPerPixel, c.samples) << c.components.size();
        EXPECT_EQ(params.BitsPerSample, c.bits) << c.components.size();
    }
}

TEST(Jpeg2000Reader, ColourSpecificationDecidesTheSamples) {
    struct Case {
        const char* name;
        Bytes colour;
        std::vector<ComponentSpec> components;
        int samples;  // 0: refused
    };
    const Case cases[] = {
        {"greyscale", EnumeratedColour(17), {{7}}, 1},
        {"sYCC", EnumeratedColour(18), kRgb8, 3},
        {"CMYK enumerated", EnumeratedColour(12), {{7}, {7}, {7}, {7}}, 0},
        {"ICC grey", IccColour("GRAY"), {{7}}, 1},
        {"ICC RGB", IccColour("RGB "), kRgb8, 3},
        {"ICC CMYK", IccColour("CMYK"), kRgb8, 0},
        {"ICC shorter than its header", Box("colr", BeBytes().U8(2).U8(0).U8(0).Fill(20, 0)), kRgb8, 0},
        {"other method: by component count", Box("colr", BeBytes().U8(3).U8(0).U8(0)), {{7}}, 1},
    };
    for (const Case& c : cases) {
        TIOParamsVals params;
        const Bytes file =
            Jp2({ImageHeader(8, 8, uint16_t(c.components.size())), c.colour}, CodeStream(8, 8, c.components));
        const bool read = ReadHeader(J2KReadStream, file, params);
        EXPECT_EQ(read, c.samples != 0) << c.name;
        if (read) {
            EXPECT_EQ(params.SamplesPerPixel, c.samples) << c.name;
        }
    }
}

TEST(Jpeg2000Reader, BitsComeFromTheFirstColourChannel) {
    // Component 0 is an 8-bit alpha channel; the channel definitions put red on component 1.
    BeBytes channels;
    channels.U16(4).U16(0).U16(1).U16(0);  // channel, type (1 opacity), association
    for (uint16_t i = 1; i <= 3; ++i) channels.U16(i).U16(0).U16(i);
    const Bytes definitions = Box("cdef", channels);
    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(J2KReadStream,
                           Jp2({ImageHeader(8, 8, 4, 255), EnumeratedColour(16), definitions},
                               CodeStream(8, 8, {{7}, {11}, {11}, {11}})),
                           params));
    EXPECT_EQ(params.BitsPerSample, 12);

    // A 4-bit index component through a palette of 8-bit columns.
    const Bytes palette = Box("pclr", BeBytes().U16(2).U8(3).U8(7).U8(7).U8(7).Fill(6, 0x80));
    const Bytes mapping = Box("cmap", BeBytes().U16(0).U8(1).U8(0).U16(0).U8(1).U8(1).U16(0).U8(1).U8(2));
    ASSERT_TRUE(ReadHeader(J2KReadStream,
                           Jp2({ImageHeader(8, 8, 1), EnumeratedColour(16), palette, mapping},
                               CodeStream(8, 8, {{3}})),
                           params));
    EXPECT_EQ(params.SamplesPerPixel, 3);
    EXPECT_EQ(params.BitsPerSample, 8);
}

TEST(Jpeg2000Reader, BoxLengthsZeroAndOneAreUnderstood) {
    // The code stream box with a 64-bit length, the colour box running to the end of jp2h, and a
    // code stream box whose length 0 runs to the end of the file.
    const Bytes codeStream = CodeStream(20, 10, kRgb8);
    const Bytes colourToEnd = BeBytes().U32(0).Text("colr").U8(1).U8(0).U8(0).U32(16);
    const Bytes header = Concat({ImageHeader(20, 10, 3), colourToEnd});
    const Bytes longBox = BeBytes().U32(1).Text("jp2c").U64(16 + codeStream.size()).Bytes(codeStream);
    const Bytes toEnd = BeBytes().U32(0).Text("jp2c").Bytes(codeStream);

    for (const Bytes& last : {longBox, toEnd}) {
        TIOParamsVals params;
        ASSERT_TRUE(ReadHeader(J2KReadStream, Concat({kSignature, kFileType, Box("jp2h", header), last}), params));
        EXPECT_EQ(params.Width, 20);
        EXPECT_EQ(params.SamplesPerPixel, 3);
    }
}

TEST(Jpeg2000Reader, CodeStreamBoxCutShortStillGivesItsHeader) {
    Bytes file = Jp2({ImageHeader(20, 10, 3), EnumeratedColour(16)}, CodeStream(20, 10, kRgb8));
    file.resize(file.size() - 10);
    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(J2KReadStream, file, params));
    EXPECT_EQ(params.Width, 20);
}

TEST(Jpeg2000Reader, RefusesBrokenFiles) {
    const Bytes header = Concat({ImageHeader(8, 8, 3), EnumeratedColour(16)});
    const Bytes codeStream = CodeStream(8, 8, kRgb8);
    const Bytes good = Jp2({ImageHeader(8, 8, 3), EnumeratedColour(16)}, codeStream);
    Bytes jp2hPastEnd = Concat({kSignature, kFileType, BeBytes().U32(4000).Text("jp2h").Bytes(header)});
    Bytes cutInHeader = good;
    cutInHeader.resize(kSignature.size() + kFileType.size() + 8 + 10);
    Bytes cutInComponents = codeStream;
    cutInComponents.resize(46);

    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"no signature", Box("jP  ", Bytes(20, 0))},
        {"no file type box", Concat({kSignature, Box("jp2h", header), Box("jp2c", codeStream)})},
        {"no code stream", Concat({kSignature, kFileType, Box("jp2h", header)})},
        {"no image header", Jp2({EnumeratedColour(16)}, codeStream)},
        {"other compression", Jp2({ImageHeader(8, 8, 3, 7, 6), EnumeratedColour(16)}, codeStream)},
        {"jp2h past the end", jp2hPastEnd},
        {"cut inside jp2h", cutInHeader},
        {"box length below its header", Concat({kSignature, kFileType, BeBytes().U32(5).Text("jp2h").Bytes(header)})},
        {"code stream without SIZ", Jp2({header}, BeBytes().U16(0xFF4F).U16(0xFF52).Fill(50, 0))},
        {"bare: empty image area", CodeStream(8, 8, kRgb8, 8, 0)},
        {"bare: no components", CodeStream(8, 8, {})},
        {"bare: cut in the component table", cutInComponents},
        {"bare: zero sampling", CodeStream(8, 8, {{7, 0, 1}})},
        {"empty", {}},
    };
    for (const auto& [name, bytes] : cases) {
        TIOParamsVals params;
        EXPECT_FALSE(ReadHeader(J2KReadStream, bytes, params)) << name;
    }
}

}  // namespace
}  // namespace velmora
