#include "params/png_reader.h"

#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/byte_writer.h"
#include "tests/support/header_fixtures.h"

namespace velmora {
namespace {

using test::BeBytes;
using test::ReadHeader;

struct PngText {
    int compression;  // PNG_TEXT_COMPRESSION_NONE, _zTXt, PNG_ITXT_COMPRESSION_NONE
    std::string key;
    std::string text;
};

struct PngPicture {
    uint32_t width = 5;
    uint32_t height = 3;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    // Pixels per unit and the unit; no pHYs chunk when unit < 0.
    uint32_t physX = 0;
    uint32_t physY = 0;
    int physUnit = -1;
    std::vector<png_color> palette;
    std::vector<PngText> textsBeforeImage;
    std::vector<PngText> textsAfterImage;
};

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

void SetTexts(png_structp png, png_infop info, const std::vector<PngText>& texts) {
    std::vector<png_text> entries(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        entries[i].compression = texts[i].compression;
        entries[i].key = const_cast<char*>(texts[i].key.c_str());
        entries[i].text = const_cast<char*>(texts[i].text.c_str());
        entries[i].text_length = texts[i].text.size();
    }
    if (!entries.empty()) png_set_text(png, info, entries.data(), int(entries.size()));
}

// libpng jumps back here on an error; the fixtures are valid, so that does not happen.
bool WritePng(png_structp png, png_infop info, const PngPicture& p, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, p.width, p.height, p.bitDepth, p.colorType,
                 p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!p.palette.empty()) png_set_PLTE(png, info, p.palette.data(), int(p.palette.size()));
    if (p.physUnit >= 0) png_set_pHYs(png, info, p.physX, p.physY, p.physUnit);
    SetTexts(png, info, p.textsBeforeImage);
    png_write_info(png, info);
    png_write_image(png, rows);
    // Texts set now are written after the image data.
    SetTexts(png, info, p.textsAfterImage);
    png_write_end(png, info);
    return true;
}

std::vector<uint8_t> MakePng(const PngPicture& picture) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, WriteToVector, FlushNothing);
    const size_t channels = picture.colorType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                            : picture.colorType == PNG_COLOR_TYPE_RGB    ? 3
                            : picture.colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                             : 1;
    const size_t rowBytes = (picture.width * channels * size_t(picture.bitDepth) + 7) / 8;
    std::vector<std::vector<uint8_t>> rows(picture.height, std::vector<uint8_t>(rowBytes, 0));
    std::vector<png_bytep> rowPointers;
    for (auto& row : rows) rowPointers.push_back(row.data());
    const bool written = WritePng(png, info, picture, rowPointers.data());
    png_destroy_write_struct(&png, &info);
    EXPECT_TRUE(written);
    return out;
}

// Offset of the first chunk of the given type (at its length field), or npos.
size_t FindChunk(const std::vector<uint8_t>& png, const char* type) {
    for (size_t pos = 8; pos + 12 <= png.size();) {
        const uint32_t length = uint32_t(png[pos]) << 24 | uint32_t(png[pos + 1]) << 16 |
                                uint32_t(png[pos + 2]) << 8 | png[pos + 3];
        if (std::string(png.begin() + long(pos) + 4, png.begin() + long(pos) + 8) == type) return pos;
        pos += 12 + length;
    }
    return std::string::npos;
}

std::vector<uint8_t> Chunk(const char* type, const std::vector<uint8_t>& data) {
    BeBytes chunk;
    chunk.U32(uint32_t(data.size())).Text(type).Bytes(data);
    const uint32_t crc = uint32_t(crc32(0, chunk.Data().data() + 4, uInt(chunk.Size() - 4)));
    chunk.U32(crc);
    return chunk;
}

void Insert(std::vector<uint8_t>& png, size_t at, const std::vector<uint8_t>& bytes) {
    png.insert(png.begin() + long(at), bytes.begin(), bytes.end());
}

TEST(PngReader, ReadsHeaderResolutionAndEveryTextChunkInFileOrder) {
    PngPicture picture;
    picture.width = 7;
    picture.height = 4;
    picture.physX = 3779;  // 96 dpi
    picture.physY = 11811;  // 300 dpi
    picture.physUnit = PNG_RESOLUTION_METER;
    picture.textsBeforeImage = {{PNG_TEXT_COMPRESSION_NONE, "Title", "plain text"},
                                {PNG_TEXT_COMPRESSION_zTXt, "Comment", std::string(300, 'z')}};
    picture.textsAfterImage = {{PNG_ITXT_COMPRESSION_NONE, "XML:com.adobe.xmp", "<x:xmpmeta>\xC3\xA9</x:xmpmeta>"}};

    TIOParamsVals params;
    params.PNG_TextKeys = {"stale"};
    params.PNG_TextValues = {"stale"};
    ASSERT_TRUE(ReadHeader(ReadPNGStream, MakePng(picture), params));

    EXPECT_EQ(params.Width, 7);
    EXPECT_EQ(params.Height, 4);
    EXPECT_EQ(params.BitsPerSample, 8);
    EXPECT_EQ(params.SamplesPerPixel, 3);
    EXPECT_EQ(params.DpiX, 96);
    EXPECT_EQ(params.DpiY, 300);
    EXPECT_EQ(params.EXIF_XResolution, 96);
    EXPECT_FALSE(params.PNG_Interlaced);
    EXPECT_EQ(params.PNG_TextKeys, (std::vector<std::string>{"Title", "Comment", "XML:com.adobe.xmp"}));
    EXPECT_EQ(params.PNG_TextValues, (std::vector<std::string>{"plain text", std::string(300, 'z'),
                                                                "<x:xmpmeta>\xC3\xA9</x:xmpmeta>"}));
}

TEST(PngReader, SamplesAndBitsFollowTheColourType) {
    struct Case {
        int colorType;
        int bitDepth;
        int samples;
    };
    const Case cases[] = {{PNG_COLOR_TYPE_GRAY, 1, 1},  {PNG_COLOR_TYPE_GRAY_ALPHA, 8, 2},
                          {PNG_COLOR_TYPE_RGB, 16, 3},  {PNG_COLOR_TYPE_RGB_ALPHA, 8, 4},
                          {PNG_COLOR_TYPE_PALETTE, 4, 1}};
    for (const Case& c : cases) {
        PngPicture picture;
        picture.colorType = c.colorType;
        picture.bitDepth = c.bitDepth;
        if (c.colorType == PNG_COLOR_TYPE_PALETTE) picture.palette = {{1, 2, 3}};
        TIOParamsVals params;
        ASSERT_TRUE(ReadHeader(ReadPNGStream, MakePng(picture), params)) << c.colorType;
        EXPECT_EQ(params.SamplesPerPixel, c.samples) << c.colorType;
        EXPECT_EQ(params.BitsPerSample, c.bitDepth) << c.colorType;
    }
}

TEST(PngReader, InterlacedPaletteImageWithoutPhysicalSizeGivesPaletteAndDefaultResolution) {
    PngPicture picture;
    picture.colorType = PNG_COLOR_TYPE_PALETTE;
    picture.interlaced = true;
    picture.palette = {{10, 20, 30}, {40, 50, 60}, {255, 0, 128}};

    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(ReadPNGStream, MakePng(picture), params));
    EXPECT_TRUE(params.PNG_Interlaced);
    EXPECT_EQ(params.DpiX, 300);
    EXPECT_EQ(params.DpiY, 300);
    ASSERT_EQ(params.ColorMapCount, 3);
    ASSERT_EQ(params.ColorMap.size(), 3u);
    EXPECT_EQ(params.ColorMap[0], (TRGB{30, 20, 10}));
    EXPECT_EQ(params.ColorMap[2], (TRGB{128, 0, 255}));
}

TEST(PngReader, PhysicalSizeWithoutTheMetreUnitGivesTheDefaultResolution) {
    PngPicture picture;
    picture.physX = 2;
    picture.physY = 1;
    picture.physUnit = PNG_RESOLUTION_UNKNOWN;
    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(ReadPNGStream, MakePng(picture), params));
    EXPECT_EQ(params.DpiX, 300);
    EXPECT_EQ(params.DpiY, 300);
}

TEST(PngReader, ImageDataIsNeverInflated) {
    // Parameters come out of a file whose compressed image data is garbage.
    std::vector<uint8_t> png = MakePng(PngPicture{});
    const size_t idat = FindChunk(png, "IDAT");
    ASSERT_NE(idat, std::string::npos);
    const uint32_t length = uint32_t(png[idat]) << 24 | uint32_t(png[idat + 1]) << 16 |
                            uint32_t(png[idat + 2]) << 8 | png[idat + 3];
    png.erase(png.begin() + long(idat), png.begin() + long(idat + 12 + length));
    Insert(png, idat, Chunk("IDAT", std::vector<uint8_t>(40, 0xEE)));

    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(ReadPNGStream, png, params));
    EXPECT_EQ(params.Width, 5);
}

TEST(PngReader, RefusesBrokenHeaders) {
    const std::vector<uint8_t> good = MakePng(PngPicture{});
    const size_t ihdrEnd = 8 + 12 + 13;

    std::vector<uint8_t> badSignature = good;
    badSignature[1] = 'Q';
    std::vector<uint8_t> firstChunkNotHeader = good;
    Insert(firstChunkNotHeader, 8, Chunk("eXIf", {'M', 'M', 0, 42}));
    std::vector<uint8_t> cutInHeader(good.begin(), good.begin() + 20);
    std::vector<uint8_t> endsBeforeImageData(good.begin(), good.begin() + long(ihdrEnd));
    std::vector<uint8_t> headerCrcWrong = good;
    headerCrcWrong[ihdrEnd - 1] ^= 0xFF;
    // A text chunk before the image data that claims far more bytes than the file holds.
    std::vector<uint8_t> hugeClaim = good;
    Insert(hugeClaim, ihdrEnd, BeBytes().U32(0x7FFFFFF0).Text("tEXt").Text("k\0v"));

    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"bad signature", badSignature},         {"first chunk not IHDR", firstChunkNotHeader},
        {"cut in IHDR", cutInHeader},           {"ends before image data", endsBeforeImageData},
        {"IHDR CRC wrong", headerCrcWrong},      {"huge claim before image data", hugeClaim},
        {"empty", {}},
    };
    for (const auto& [name, bytes] : cases) {
        TIOParamsVals params;
        EXPECT_FALSE(ReadHeader(ReadPNGStream, bytes, params)) << name;
    }
}

TEST(PngReader, FileCutAfterTheImageDataKeepsItsHeaderAndEarlierTexts) {
    PngPicture picture;
    picture.textsBeforeImage = {{PNG_TEXT_COMPRESSION_NONE, "Before", "1"}};
    picture.textsAfterImage = {{PNG_TEXT_COMPRESSION_NONE, "After", "2"}};
    std::vector<uint8_t> png = MakePng(picture);
    const size_t after = FindChunk(png, "IEND");
    // The last text chunk claims to run past the end of the file.
    const size_t text = after - (12 + 7);
    png[text] = 0x10;
    png.resize(after);

    TIOParamsVals params;
    ASSERT_TRUE(ReadHeader(ReadPNGStream, png, params));
    EXPECT_EQ(params.Width, 5);
    EXPECT_EQ(params.PNG_TextKeys, std::vector<std::string>{"Before"});
}

}  // namespace
}  // namespace velmora
