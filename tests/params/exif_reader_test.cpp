#include "params/exif_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "params/io_params.h"
#include "params/stream.h"
#include "tests/support/byte_writer.h"
#include "tests/support/exif_fixtures.h"
#include "tests/support/jpeg_fixtures.h"
#include "tests/support/tiff_builder.h"

namespace velmora {
namespace {

using test::TiffBuilder;

struct Rgb {
    uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

Rgb PixelAt(const TImageBitmap& bitmap, int x, int y) {
    const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

std::string Describe(const Rgb& c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

bool LoadBlock(const std::vector<uint8_t>& block, TIOParamsVals& params) {
    return LoadEXIFFromStandardBuffer(block.data(), block.size(), params);
}

// An EXIF block whose IFD1 is an uncompressed strip thumbnail of the given samples.
std::vector<uint8_t> StripThumbnailBlock(bool littleEndian, uint16_t orientation, uint16_t width, uint16_t height,
                                         uint16_t samples, uint16_t photometric, const std::vector<uint8_t>& strip,
                                         uint16_t bits = 8) {
    TiffBuilder b(littleEndian);
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 274, {orientation});
    const int ifd1 = b.AddDirectory();
    const int data = b.AddBlob(strip);
    b.Short(ifd1, 256, {width}).Short(ifd1, 257, {height});
    b.Short(ifd1, 258, std::vector<uint16_t>(samples, bits)).Short(ifd1, 259, {1}).Short(ifd1, 262, {photometric});
    b.PointToBlob(ifd1, 273, data).Short(ifd1, 277, {samples}).Long(ifd1, 279, {uint32_t(strip.size())});
    return b.Build(/*exifPrefix=*/true);
}

// An EXIF block whose IFD1 holds a JPEG thumbnail in the usual EXIF form (513 and 514).
std::vector<uint8_t> JpegThumbnailBlock(bool littleEndian, const std::vector<uint8_t>& jpeg,
                                        std::optional<uint16_t> width, bool compressionTag,
                                        std::optional<uint32_t> lengthOverride = std::nullopt) {
    TiffBuilder b(littleEndian);
    const int ifd0 = b.AddDirectory();
    b.Ascii(ifd0, 271, "Velmora Cam");
    const int ifd1 = b.AddDirectory();
    const int data = b.AddBlob(jpeg);
    if (width) b.Short(ifd1, 256, {*width}).Short(ifd1, 257, {*width});
    if (compressionTag) b.Short(ifd1, 259, {6});
    b.PointToBlob(ifd1, 513, data).Long(ifd1, 514, {lengthOverride.value_or(uint32_t(jpeg.size()))});
    return b.Build(/*exifPrefix=*/true);
}

class ExifReaderTest : public testing::TestWithParam<bool> {
protected:
    bool LittleEndian() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(ByteOrder, ExifReaderTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "LittleEndian" : "BigEndian";
                         });

TEST_P(ExifReaderTest, CopiesTheExifFieldsAndKeepsTheRest) {
    TIOParamsVals p;
    p.Width = 777;
    p.XMP_Info = "kept xmp";
    p.TIFF_ImageDescription = "kept description";
    p.TIFF_Compression = ioTIFF_LZW;
    p.IPTC_Info.AddStringItem(2, 5, "kept title");
    ASSERT_TRUE(LoadBlock(test::CameraTiff(LittleEndian(), 8, /*exifPrefix=*/true), p));

    EXPECT_TRUE(p.EXIF_HasEXIF);
    EXPECT_EQ(p.EXIF_Make, "Velmora Cam");
    EXPECT_EQ(p.EXIF_Model, "VC-1");
    EXPECT_EQ(p.EXIF_Software, "Fw 1.0");
    EXPECT_EQ(p.EXIF_Artist, "Ann Lee");
    EXPECT_EQ(p.EXIF_Copyright, "(c) Ann Lee");
    EXPECT_EQ(p.EXIF_DateTime, "2024:05:06 07:08:09");
    EXPECT_EQ(p.EXIF_XPTitle, u"Titel");
    EXPECT_EQ(p.EXIF_ImageDescription, "A test scene");
    EXPECT_EQ(p.EXIF_Orientation, 8);
    EXPECT_EQ(p.TIFF_Orientation, 8);
    EXPECT_EQ(p.DpiX, 72);
    EXPECT_DOUBLE_EQ(p.EXIF_YResolution, 72.0);
    EXPECT_EQ(p.EXIF_ResolutionUnit, 2);

    EXPECT_DOUBLE_EQ(p.EXIF_ExposureTime, 0.004);
    EXPECT_EQ(p.EXIF_ISOSpeedRatings[0], 200);
    EXPECT_EQ(p.EXIF_ExifVersion, "0220");
    EXPECT_DOUBLE_EQ(p.EXIF_FocalLength, 50.0);
    EXPECT_EQ(p.EXIF_UserCommentCode, std::string("ASCII\0\0\0", 8));
    EXPECT_EQ(p.EXIF_UserComment, "Hello");
    EXPECT_EQ(p.EXIF_FileSource, LittleEndian() ? 3 : 50331648);
    EXPECT_EQ(p.EXIF_ExposureMode, 1);
    EXPECT_EQ(p.EXIF_WhiteBalance, 0) << "absent EXIF 2.2 tags read as 0, not -1";
    EXPECT_EQ(p.EXIF_GPSVersionID, "2.2.0.0");
    EXPECT_EQ(p.EXIF_GPSLatitudeRef, std::string("N\0", 2));
    EXPECT_DOUBLE_EQ(p.EXIF_GPSLatitudeSeconds, 24.06);
    ASSERT_GT(p.EXIF_MakerNote.DataSize(), 0);
    EXPECT_EQ(p.EXIF_MakerNote.GetString(6), "Canon EOS");

    // Not part of the EXIF copy.
    EXPECT_EQ(p.Width, 777);
    EXPECT_EQ(p.XMP_Info, "kept xmp");
    EXPECT_EQ(p.TIFF_ImageDescription, "kept description");
    EXPECT_EQ(p.TIFF_Compression, ioTIFF_LZW);
    EXPECT_EQ(p.IPTC_Info.GetCount(), 1);

    // The 2 x 1 thumbnail (red, green), turned by orientation 8 (counter-clockwise).
    ASSERT_TRUE(p.EXIF_Bitmap);
    ASSERT_EQ(p.EXIF_Bitmap->Width(), 1);
    ASSERT_EQ(p.EXIF_Bitmap->Height(), 2);
    EXPECT_EQ(PixelAt(*p.EXIF_Bitmap, 0, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelAt(*p.EXIF_Bitmap, 0, 1), (Rgb{255, 0, 0}));
}

TEST(ExifReader, ResolutionsComeFromTheBlockEvenWhenItHasNone) {
    TIOParamsVals p;
    p.SetDpi(96);
    TiffBuilder b;
    const int ifd0 = b.AddDirectory();
    b.Ascii(ifd0, 271, "Velmora Cam");
    ASSERT_TRUE(LoadBlock(b.Build(true), p));
    EXPECT_EQ(p.DpiX, 0);
    EXPECT_EQ(p.DpiY, 0);
    EXPECT_EQ(p.EXIF_XResolution, 0.0);
}

TEST(ExifReader, RejectsBuffersThatAreNoExifBlock) {
    TIOParamsVals p;
    p.EXIF_Make = "kept";
    const std::vector<uint8_t> fourBytes = {'E', 'x', 'i', 'f'};
    EXPECT_FALSE(CheckEXIFFromStandardBuffer(fourBytes.data(), fourBytes.size()));
    EXPECT_FALSE(LoadBlock(fourBytes, p));
    const std::vector<uint8_t> xmp = {'h', 't', 't', 'p', ':', '/', '/'};
    EXPECT_FALSE(LoadBlock(xmp, p));
    EXPECT_FALSE(LoadEXIFFromStandardBuffer(nullptr, 10, p));
    EXPECT_EQ(p.EXIF_Make, "kept");
    EXPECT_FALSE(p.EXIF_HasEXIF);
    EXPECT_FALSE(p.EXIF_Bitmap);

    // "Exif" and a zero byte is enough; an empty structure leaves an empty thumbnail.
    const std::vector<uint8_t> bare = {'E', 'x', 'i', 'f', 0};
    EXPECT_TRUE(LoadBlock(bare, p));
    EXPECT_TRUE(p.EXIF_HasEXIF);
    ASSERT_TRUE(p.EXIF_Bitmap);
    EXPECT_TRUE(p.EXIF_Bitmap->IsEmpty());
}

TEST_P(ExifReaderTest, DecodesJpegThumbnailsWithoutSizeTags) {
    const std::vector<uint8_t> jpeg = test::EncodeJpeg({.width = 16, .height = 8, .kind = test::JpegKind::YCbCr});
    struct Case {
        const char* name;
        std::optional<uint16_t> sizeTags;
        bool compressionTag;
        std::optional<uint32_t> length;
        int expectWidth;  // 0: no thumbnail
    };
    const Case cases[] = {
        {"usual EXIF form", std::nullopt, true, std::nullopt, 16},
        {"interchange tags only", std::nullopt, false, std::nullopt, 16},
        {"size tags within 400", 16, true, std::nullopt, 16},
        {"size tags above 400", 500, true, std::nullopt, 0},
        {"length past the end", std::nullopt, true, 0x7FFFFFF0, 16},
        {"length too short for a picture", std::nullopt, true, 4, 0},
    };
    for (const Case& c : cases) {
        TIOParamsVals p;
        ASSERT_TRUE(LoadBlock(JpegThumbnailBlock(LittleEndian(), jpeg, c.sizeTags, c.compressionTag, c.length), p));
        ASSERT_TRUE(p.EXIF_Bitmap) << c.name;
        EXPECT_EQ(p.EXIF_Bitmap->Width(), c.expectWidth) << c.name;
        EXPECT_EQ(p.EXIF_Make, "Velmora Cam") << c.name;
    }

    // Without size tags a JPEG thumbnail is decoded whatever its size, a very large one at a
    // reduced scale: here a few bytes announce 16000 x 16000 pixels, decoded at 1/8.
    const std::vector<uint8_t> wide = test::EncodeJpeg({.width = 480, .height = 8});
    TIOParamsVals p;
    ASSERT_TRUE(LoadBlock(JpegThumbnailBlock(LittleEndian(), wide, std::nullopt, true), p));
    EXPECT_EQ(p.EXIF_Bitmap->Width(), 480);

    std::vector<uint8_t> giant = jpeg;
    for (size_t at = 2; at + 9 < giant.size(); at += 2 + (giant[at + 2] << 8 | giant[at + 3])) {
        if (giant[at + 1] == 0xC0) {
            giant[at + 5] = giant[at + 7] = 0x3E;  // 0x3E80 = 16000
            giant[at + 6] = giant[at + 8] = 0x80;
            break;
        }
    }
    ASSERT_TRUE(LoadBlock(JpegThumbnailBlock(LittleEndian(), giant, std::nullopt, true), p));
    EXPECT_EQ(p.EXIF_Bitmap->Width(), 2000);
}

TEST_P(ExifReaderTest, DecodesUncompressedStripThumbnails) {
    struct Case {
        const char* name;
        uint16_t width, height, samples, photometric, bits;
        std::vector<uint8_t> strip;
        std::vector<Rgb> expect;  // row by row; empty: no thumbnail
    };
    const Case cases[] = {
        {"rgb", 2, 1, 3, 2, 8, {10, 20, 30, 40, 50, 60}, {{10, 20, 30}, {40, 50, 60}}},
        {"grey", 2, 1, 1, 1, 8, {0, 200}, {{0, 0, 0}, {200, 200, 200}}},
        {"white is zero", 2, 1, 1, 0, 8, {0, 200}, {{255, 255, 255}, {55, 55, 55}}},
        {"short strip leaves black", 2, 2, 3, 2, 8, {9, 9, 9, 8, 8, 8, 7}, {{9, 9, 9}, {8, 8, 8}, {7, 0, 0}, {0, 0, 0}}},
        {"16-bit samples", 1, 1, 3, 2, 16, {1, 2, 3, 4, 5, 6}, {}},
        {"palette", 1, 1, 1, 3, 8, {1}, {}},
        {"wider than 400", 401, 1, 1, 1, 8, std::vector<uint8_t>(401, 50), {}},
    };
    for (const Case& c : cases) {
        TIOParamsVals p;
        ASSERT_TRUE(LoadBlock(StripThumbnailBlock(LittleEndian(), 1, c.width, c.height, c.samples, c.photometric,
                                                  c.strip, c.bits),
                              p));
        const TImageBitmap& bitmap = *p.EXIF_Bitmap;
        if (c.expect.empty()) {
            EXPECT_TRUE(bitmap.IsEmpty()) << c.name;
            continue;
        }
        ASSERT_EQ(bitmap.Width(), c.width) << c.name;
        ASSERT_EQ(bitmap.Height(), c.height) << c.name;
        for (size_t i = 0; i < c.expect.size(); ++i) {
            EXPECT_EQ(PixelAt(bitmap, int(i % c.width), int(i / c.width)), c.expect[i])
                << c.name << " pixel " << i << " is " << Describe(PixelAt(bitmap, int(i % c.width), int(i / c.width)));
        }
    }
}

TEST_P(ExifReaderTest, TurnsTheThumbnailUpright) {
    // Stored picture:  A B      A red, B green, C blue, D white
    //                  C D
    const Rgb a{255, 0, 0}, b{0, 255, 0}, c{0, 0, 255}, d{255, 255, 255};
    const std::vector<uint8_t> strip = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const std::vector<Rgb> expected[9] = {
        {}, {a, b, c, d}, {b, a, d, c}, {d, c, b, a}, {c, d, a, b},
        {a, c, b, d},  // 5: transposed
        {c, a, d, b},  // 6: turned clockwise
        {d, b, c, a},  // 7: transversed
        {b, d, a, c},  // 8: turned counter-clockwise
    };
    for (uint16_t orientation = 1; orientation <= 8; ++orientation) {
        TIOParamsVals p;
        ASSERT_TRUE(LoadBlock(StripThumbnailBlock(LittleEndian(), orientation, 2, 2, 3, 2, strip), p));
        ASSERT_EQ(p.EXIF_Bitmap->Width(), 2);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(PixelAt(*p.EXIF_Bitmap, i % 2, i / 2), expected[orientation][size_t(i)])
                << "orientation " << orientation << " pixel " << i;
        }
    }

    // Orientation 6 turns a 2 x 1 thumbnail into 1 x 2.
    TIOParamsVals p;
    ASSERT_TRUE(LoadBlock(StripThumbnailBlock(LittleEndian(), 6, 2, 1, 3, 2, {255, 0, 0, 0, 255, 0}), p));
    ASSERT_EQ(p.EXIF_Bitmap->Width(), 1);
    ASSERT_EQ(p.EXIF_Bitmap->Height(), 2);
    EXPECT_EQ(PixelAt(*p.EXIF_Bitmap, 0, 0), a);
    EXPECT_EQ(PixelAt(*p.EXIF_Bitmap, 0, 1), b);
}

TEST(ExifReaderSearch, FindsTheFirstTiffHeaderInTheWindow) {
    const auto header = [](const char* order, uint16_t magic, uint32_t first) {
        const bool le = order[0] == 'I';
        std::vector<uint8_t> h = {uint8_t(order[0]), uint8_t(order[1])};
        test::AppendU16(h, magic, le);
        test::AppendU32(h, first, le);
        return h;
    };
    struct Case {
        const char* name;
        std::vector<std::vector<uint8_t>> pieces;
        int64_t expect;
    };
    const std::vector<uint8_t> gap(100, 'x');
    const Case cases[] = {
        {"big-endian 42", {gap, header("MM", 42, 8)}, 100},
        {"little-endian ORF magic", {gap, header("II", 20306, 8)}, 100},
        {"magic 21330", {header("II", 21330, 0)}, 0},
        {"offset past the data skipped", {header("II", 42, 5000), gap, header("MM", 42, 8)}, 108},
        {"other magic", {header("II", 43, 8), gap}, -1},
        {"header too close to the end", {gap, std::vector<uint8_t>{'I', 'I', 42, 0, 8, 0, 0}}, -1},
        {"beyond 128 KiB", {std::vector<uint8_t>(0x20000, 'x'), header("II", 42, 8)}, -1},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = {'p', 'r', 'e'};
        for (const auto& piece : c.pieces) bytes.insert(bytes.end(), piece.begin(), piece.end());
        TMemoryStream stream(bytes);
        stream.Seek(3);
        EXPECT_EQ(SearchEXIFInfo(stream), c.expect) << c.name;
        EXPECT_EQ(stream.Position(), 3) << c.name;
    }
}

TEST_P(ExifReaderTest, LoadsTheExifOfTiffStructuredData) {
    std::vector<uint8_t> bytes(5, 0xAA);
    const std::vector<uint8_t> tiff = test::CameraTiff(LittleEndian(), 1);
    bytes.insert(bytes.end(), tiff.begin(), tiff.end());
    TMemoryStream stream(bytes);
    stream.Seek(5);
    TIOParamsVals p;
    EXPECT_TRUE(LoadEXIFFromTIFF(stream, p));
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_TRUE(p.EXIF_HasEXIF);
    EXPECT_EQ(p.EXIF_Make, "Velmora Cam");
    EXPECT_EQ(p.EXIF_MakerNote.GetString(6), "Canon EOS");
    // Directory 0 has no pixels of its own, so the thumbnail comes from directory 1.
    ASSERT_TRUE(p.EXIF_Bitmap);
    EXPECT_EQ(p.EXIF_Bitmap->Width(), 2);

    // An all-black thumbnail counts as none.
    const std::vector<uint8_t> black = StripThumbnailBlock(LittleEndian(), 1, 2, 1, 3, 2, std::vector<uint8_t>(6, 0));
    TMemoryStream blackStream(std::vector<uint8_t>(black.begin() + 6, black.end()));
    EXPECT_TRUE(LoadEXIFFromTIFF(blackStream, p));
    EXPECT_TRUE(p.EXIF_Bitmap->IsEmpty());
}

TEST_P(ExifReaderTest, TruncatedOrCorruptedBlocksNeverCrash) {
    const std::vector<uint8_t> jpeg = test::EncodeJpeg({.width = 8, .height = 8});
    for (const std::vector<uint8_t>& full :
         {test::CameraTiff(LittleEndian(), 6, true), JpegThumbnailBlock(LittleEndian(), jpeg, std::nullopt, true)}) {
        for (size_t length = 0; length <= full.size(); ++length) {
            TIOParamsVals p;
            LoadEXIFFromStandardBuffer(full.data(), length, p);
        }
        for (size_t at = 6; at < full.size(); ++at) {
            std::vector<uint8_t> broken = full;
            broken[at] ^= 0xFF;
            TIOParamsVals p;
            LoadBlock(broken, p);
            TMemoryStream stream(std::vector<uint8_t>(broken.begin() + 6, broken.end()));
            LoadEXIFFromTIFF(stream, p);
        }
    }
}

}  // namespace
}  // namespace velmora
