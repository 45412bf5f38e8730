#include "params/tiff_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/io_params.h"
#include "params/stream.h"
#include "tests/support/exif_fixtures.h"
#include "tests/support/tiff_builder.h"

namespace velmora {
namespace {

using test::TiffBuilder;

struct ReadOutcome {
    bool aborted = false;
    int imageCount = 0;
};

ReadOutcome ReadTiff(const std::vector<uint8_t>& bytes, TIOParamsVals& params) {
    TMemoryStream stream(bytes);
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    ReadOutcome outcome;
    TIFFReadStream(nullptr, stream, outcome.imageCount, /*thumbnailMode=*/false, /*headerAtCurrentPosition=*/false,
                   /*parametersOnly=*/true, progress, &params);
    outcome.aborted = aborting;
    return outcome;
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

class TiffReaderTest : public testing::TestWithParam<bool> {
protected:
    bool LittleEndian() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(ByteOrder, TiffReaderTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "LittleEndian" : "BigEndian";
                         });

TEST_P(TiffReaderTest, ReadsTheFieldsOfTheImageDirectory) {
    TiffBuilder b(LittleEndian());
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 256, {640}).Long(ifd0, 257, {480}).Short(ifd0, 258, {8, 8, 8}).Short(ifd0, 259, {5});
    b.Short(ifd0, 262, {2}).Ascii(ifd0, 269, "document").Ascii(ifd0, 270, "desc").Ascii(ifd0, 271, "Maker");
    b.Ascii(ifd0, 272, "Model X").Short(ifd0, 274, {6}).Short(ifd0, 277, {3}).Short(ifd0, 284, {2});
    b.Ascii(ifd0, 285, "page").Short(ifd0, 297, {1, 3}).Ascii(ifd0, 305, "Soft");
    b.Ascii(ifd0, 306, "2024:01:02 03:04:05").Ascii(ifd0, 315, "Ann").Rational(ifd0, 318, {{3127, 10000}, {3290, 10000}});
    b.Short(ifd0, 531, {2}).Undefined(ifd0, 700, Bytes("<x:xmpmeta/>")).Ascii(ifd0, 33432, "(c) Ann");
    b.Byte(ifd0, 40091, test::Utf16LeBytes(u"Title")).Byte(ifd0, 40095, test::Utf16LeBytes(u"Sub"));
    const int ifd1 = b.AddDirectory();
    b.Short(ifd1, 256, {1});

    TIOParamsVals p;
    const ReadOutcome outcome = ReadTiff(b.Build(), p);
    EXPECT_FALSE(outcome.aborted);
    EXPECT_EQ(outcome.imageCount, 2);
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.Height, 480);
    EXPECT_EQ(p.BitsPerSample, 8);
    EXPECT_EQ(p.SamplesPerPixel, 3);
    EXPECT_EQ(p.TIFF_Compression, ioTIFF_LZW);
    EXPECT_EQ(p.TIFF_PhotometInterpret, ioTIFF_RGB);
    EXPECT_EQ(p.TIFF_PlanarConf, 2);
    EXPECT_EQ(p.TIFF_FillOrder, 1);
    EXPECT_EQ(p.TIFF_DocumentName, "document");
    EXPECT_EQ(p.TIFF_ImageDescription, "desc");
    EXPECT_EQ(p.TIFF_PageName, "page");
    EXPECT_EQ(p.TIFF_PageNumber, 1);
    EXPECT_EQ(p.TIFF_PageCount, 3);
    EXPECT_EQ(p.EXIF_Make, "Maker");
    EXPECT_EQ(p.EXIF_Model, "Model X");
    EXPECT_EQ(p.TIFF_Orientation, 6);
    EXPECT_EQ(p.EXIF_Orientation, 6);
    EXPECT_EQ(p.EXIF_Software, "Soft");
    EXPECT_EQ(p.EXIF_DateTime, "2024:01:02 03:04:05");
    // Texts of at most 4 bytes follow the short-text rule and keep their zero byte.
    EXPECT_EQ(p.EXIF_Artist, std::string("Ann\0", 4));
    EXPECT_DOUBLE_EQ(p.EXIF_WhitePoint[0], 0.3127);
    EXPECT_DOUBLE_EQ(p.EXIF_WhitePoint[1], 0.329);
    EXPECT_EQ(p.EXIF_YCbCrPositioning, 2);
    EXPECT_EQ(p.EXIF_Copyright, "(c) Ann");
    EXPECT_EQ(p.XMP_Info, "<x:xmpmeta/>");
    EXPECT_EQ(p.EXIF_XPTitle, u"Title");
    EXPECT_EQ(p.EXIF_XPSubject, u"Sub");
    EXPECT_EQ(p.EXIF_XPAuthor, u"");
    EXPECT_EQ(p.ImageCount, 2);
    EXPECT_EQ(p.TIFF_ImageCount, 2);
    EXPECT_EQ(p.TIFF_ByteOrder, LittleEndian() ? ioLittleEndian : ioBigEndian);
    EXPECT_FALSE(p.EXIF_HasEXIF);
    EXPECT_EQ(p.ColorMapCount, 0);
}

TEST_P(TiffReaderTest, ReadsTheExifDirectory) {
    TiffBuilder b(LittleEndian());
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3});
    const int exif = b.AddSubDirectory(ifd0, 34665);
    b.Rational(exif, 33434, {{1, 250}}).Rational(exif, 33437, {{28, 10}}).Short(exif, 34850, {2});
    b.Short(exif, 34855, {400}).Undefined(exif, 36864, Bytes("0230")).Ascii(exif, 36867, "2020:02:02 02:02:02");
    b.SRational(exif, 37380, {{-1, 3}}).Short(exif, 37385, {16}).Rational(exif, 37386, {{50, 0}});
    b.Undefined(exif, 40960, Bytes("0100")).Short(exif, 40961, {1}).Long(exif, 40962, {4000});
    b.Short(exif, 40963, {3000}).Undefined(exif, 41728, {3}).Undefined(exif, 41729, {1});
    b.Short(exif, 41986, {1}).Ascii(exif, 42016, "0123456789abcdef");

    TIOParamsVals p;
    ASSERT_FALSE(ReadTiff(b.Build(), p).aborted);
    EXPECT_TRUE(p.EXIF_HasEXIF);
    EXPECT_DOUBLE_EQ(p.EXIF_ExposureTime, 1.0 / 250);
    EXPECT_DOUBLE_EQ(p.EXIF_FNumber, 2.8);
    EXPECT_EQ(p.EXIF_ExposureProgram, 2);
    // A single SHORT answers both indexes.
    EXPECT_EQ(p.EXIF_ISOSpeedRatings[0], 400);
    EXPECT_EQ(p.EXIF_ISOSpeedRatings[1], 400);
    EXPECT_EQ(p.EXIF_ExifVersion, "0230");
    EXPECT_EQ(p.EXIF_FlashPixVersion, "0100");
    EXPECT_EQ(p.EXIF_DateTimeOriginal, "2020:02:02 02:02:02");
    EXPECT_DOUBLE_EQ(p.EXIF_ExposureBiasValue, -1.0 / 3);
    EXPECT_EQ(p.EXIF_Flash, 16);
    EXPECT_DOUBLE_EQ(p.EXIF_FocalLength, 50.0) << "a zero denominator counts as 1";
    EXPECT_EQ(p.EXIF_ColorSpace, 1);
    EXPECT_EQ(p.EXIF_ExifImageWidth, 4000);
    EXPECT_EQ(p.EXIF_ExifImageHeight, 3000);
    // One UNDEFINED byte is read as the whole value field, so big-endian files give byte << 24.
    EXPECT_EQ(p.EXIF_FileSource, LittleEndian() ? 3 : 50331648);
    EXPECT_EQ(p.EXIF_SceneType, LittleEndian() ? 1 : 16777216);
    EXPECT_EQ(p.EXIF_ExposureMode, 1);
    EXPECT_EQ(p.EXIF_ImageUniqueID, "0123456789abcdef");
    // Absent EXIF 2.2 tags give 0, not the reset value -1.
    EXPECT_EQ(p.EXIF_WhiteBalance, 0);
    EXPECT_EQ(p.EXIF_DigitalZoomRatio, 0.0);
    EXPECT_EQ(p.EXIF_SubjectDistanceRange, 0);
    EXPECT_EQ(p.EXIF_MakerNote.DataSize(), 0);
}

TEST_P(TiffReaderTest, AFileWithoutExifDirectoryGivesEveryExifFieldItsFallback) {
    TIOParamsVals p;
    ReadTiff(test::CameraTiff(LittleEndian()), p);  // aborts for want of a size, after the fields
    ASSERT_EQ(p.EXIF_GPSLatitudeRef, std::string("N\0", 2));

    TiffBuilder b(LittleEndian());
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3});
    p.EXIF_HasEXIF = false;
    ASSERT_FALSE(ReadTiff(b.Build(), p).aborted);
    EXPECT_FALSE(p.EXIF_HasEXIF);
    EXPECT_EQ(p.EXIF_ExposureTime, 0.0);
    EXPECT_EQ(p.EXIF_ExposureMode, 0);
    EXPECT_EQ(p.EXIF_UserComment, "");
    EXPECT_EQ(p.EXIF_MakerNote.DataSize(), 0);
    EXPECT_EQ(p.EXIF_GPSLatitudeRef, "");
    EXPECT_EQ(p.EXIF_GPSVersionID, "");
    EXPECT_EQ(p.EXIF_GPSLatitudeDegrees, 0.0);
}

TEST_P(TiffReaderTest, ReadsTheGpsDirectory) {
    TiffBuilder b(LittleEndian());
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3});
    const int gps = b.AddSubDirectory(ifd0, 34853);
    b.Byte(gps, 0, {2, 2, 0, 0}).Ascii(gps, 1, "N").Rational(gps, 2, {{48, 1}, {51, 1}, {2406, 100}});
    b.Ascii(gps, 3, "W").Rational(gps, 4, {{2, 1}, {21, 1}, {0, 0}}).Byte(gps, 5, {1});
    b.Rational(gps, 6, {{1234, 10}}).Rational(gps, 7, {{12, 1}, {30, 1}, {15, 1}}).Ascii(gps, 12, "K");
    b.Ascii(gps, 18, "WGS-84").Ascii(gps, 29, "2024:01:02");

    TIOParamsVals p;
    ASSERT_FALSE(ReadTiff(b.Build(), p).aborted);
    EXPECT_FALSE(p.EXIF_HasEXIF);
    EXPECT_EQ(p.EXIF_GPSVersionID, "2.2.0.0");
    // Short texts keep the zero byte of the value.
    EXPECT_EQ(p.EXIF_GPSLatitudeRef, std::string("N\0", 2));
    EXPECT_EQ(p.EXIF_GPSLongitudeRef, std::string("W\0", 2));
    EXPECT_EQ(p.EXIF_GPSSpeedRef, std::string("K\0", 2));
    EXPECT_EQ(p.EXIF_GPSAltitudeRef, std::string(1, '\1'));
    EXPECT_DOUBLE_EQ(p.EXIF_GPSLatitudeDegrees, 48.0);
    EXPECT_DOUBLE_EQ(p.EXIF_GPSLatitudeMinutes, 51.0);
    EXPECT_DOUBLE_EQ(p.EXIF_GPSLatitudeSeconds, 24.06);
    EXPECT_DOUBLE_EQ(p.EXIF_GPSLongitudeMinutes, 21.0);
    EXPECT_DOUBLE_EQ(p.EXIF_GPSLongitudeSeconds, 0.0);
    EXPECT_DOUBLE_EQ(p.EXIF_GPSAltitude, 123.4);
    EXPECT_DOUBLE_EQ(p.EXIF_GPSTimeStampSecond, 15.0);
    EXPECT_EQ(p.EXIF_GPSMapDatum, "WGS-84");
    EXPECT_EQ(p.EXIF_GPSDateStamp, "2024:01:02");
    EXPECT_EQ(p.EXIF_GPSStatus, "");
}

TEST_P(TiffReaderTest, SplitsTheUserCommentAfterItsCharacterCode) {
    struct Case {
        std::string stored;  // UNDEFINED bytes; empty: no tag
        std::string code;
        std::string comment;
    };
    const Case cases[] = {
        {std::string("ASCII\0\0\0Hello", 13), std::string("ASCII\0\0\0", 8), "Hello"},
        {std::string("ASCII\0\0\0", 8), std::string("ASCII\0\0", 7), ""},  // one trailing zero dropped
        {std::string("UNIC", 4), "UNIC", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        TiffBuilder b(LittleEndian());
        const int ifd0 = b.AddDirectory();
        b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3});
        const int exif = b.AddSubDirectory(ifd0, 34665);
        b.Short(exif, 34850, {1});
        if (!c.stored.empty()) b.Undefined(exif, 37510, Bytes(c.stored));
        TIOParamsVals p;
        p.EXIF_UserComment = "stale";
        ReadTiff(b.Build(), p);
        EXPECT_EQ(p.EXIF_UserCommentCode, c.code) << c.stored.size();
        EXPECT_EQ(p.EXIF_UserComment, c.comment) << c.stored.size();
    }
}

TEST(TiffReaderResolution, ConvertsCentimetresToInchesAndKeepsTheUnit) {
    struct Case {
        uint16_t unit;  // 0: no ResolutionUnit tag
        uint32_t numerator, denominator;
        int dpi;
        double exifResolution;
        int exifUnit;
    };
    const Case cases[] = {
        {2, 2997, 10, 299, 299.7, 2},
        {3, 11811, 100, 299, 299.9994, 3},
        {0, 72, 1, 72, 72.0, 2},
        {2, 0, 1, 0, 0.0, 2},
    };
    for (const Case& c : cases) {
        TiffBuilder b;
        const int ifd0 = b.AddDirectory();
        b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3});
        b.Rational(ifd0, 282, {{c.numerator, c.denominator}}).Rational(ifd0, 283, {{c.numerator, c.denominator}});
        b.Rational(ifd0, 286, {{1, 1}});
        if (c.unit) b.Short(ifd0, 296, {c.unit});
        TIOParamsVals p;
        ReadTiff(b.Build(), p);
        EXPECT_EQ(p.DpiX, c.dpi) << c.numerator;
        EXPECT_EQ(p.DpiY, c.dpi) << c.numerator;
        EXPECT_NEAR(p.EXIF_XResolution, c.exifResolution, 1e-9) << c.numerator;
        EXPECT_EQ(p.EXIF_ResolutionUnit, c.exifUnit) << c.numerator;
        EXPECT_EQ(p.TIFF_XPos, c.unit == 3 ? 2 : 1) << c.numerator;
    }
}

TEST(TiffReaderResolution, HugeResolutionsDoNotOverflow) {
    TiffBuilder b;
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3}).Rational(ifd0, 282, {{0x7FFFFFFF, 1}});
    b.Rational(ifd0, 286, {{0x7FFFFFFF, 1}}).Short(ifd0, 296, {3});
    TIOParamsVals p;
    ReadTiff(b.Build(), p);
    EXPECT_NEAR(p.EXIF_XResolution, 2147483647.0 * 2.54, 1.0);
    EXPECT_EQ(p.TIFF_XPos, 2147483647);
}

TEST(TiffReaderMappings, MapsCompressionAndPhotometricInterpretation) {
    struct Case {
        int compression;      // 0: no tag
        int photometric;      // 0xFFFF: no tag
        uint16_t bits;
        uint16_t t4Options;
        TIOTIFFCompression expectCompression;
        TIOTIFFPhotometInterpret expectPhotometric;
    };
    const Case cases[] = {
        {0, 0xFFFF, 8, 0, ioTIFF_UNCOMPRESSED, ioTIFF_RGB},
        {2, 0xFFFF, 1, 0, ioTIFF_CCITT1D, ioTIFF_WHITEISZERO},  // bilevel: fallback 2 taken as 0
        {3, 2, 1, 0, ioTIFF_G3FAX1D, ioTIFF_WHITEISZERO},
        {3, 1, 1, 1, ioTIFF_G3FAX2D, ioTIFF_BLACKISZERO},
        {4, 0, 1, 0, ioTIFF_G4FAX, ioTIFF_WHITEISZERO},
        {5, 2, 1, 0, ioTIFF_LZW, ioTIFF_RGB},  // not bilevel: compression above 4
        {6, 6, 8, 0, ioTIFF_OLDJPEG, ioTIFF_YCBCR},
        {7, 5, 8, 0, ioTIFF_JPEG, ioTIFF_CMYK},
        {8, 3, 8, 0, ioTIFF_DEFLATE, ioTIFF_RGBPALETTE},
        {32773, 4, 8, 0, ioTIFF_PACKBITS, ioTIFF_TRANSPMASK},
        {32946, 8, 8, 0, ioTIFF_ZIP, ioTIFF_CIELAB},
        {34712, 32844, 8, 0, ioTIFF_UNKNOWN, ioTIFF_CMYK},  // unknown photometric keeps the old value
    };
    for (const Case& c : cases) {
        TiffBuilder b;
        const int ifd0 = b.AddDirectory();
        b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3}).Short(ifd0, 258, {c.bits});
        if (c.compression) b.Short(ifd0, 259, {uint16_t(c.compression)});
        if (c.photometric != 0xFFFF) b.Short(ifd0, 262, {uint16_t(c.photometric)});
        b.Short(ifd0, 277, {1});
        if (c.t4Options) b.Long(ifd0, 292, {c.t4Options});
        TIOParamsVals p;
        p.TIFF_PhotometInterpret = ioTIFF_CMYK;
        ReadTiff(b.Build(), p);
        EXPECT_EQ(p.TIFF_Compression, c.expectCompression) << c.compression;
        EXPECT_EQ(p.TIFF_PhotometInterpret, c.expectPhotometric) << c.compression;
    }
}

TEST_P(TiffReaderTest, ReadsThePalette) {
    // Two bits per sample: four entries, 16-bit values taken by their upper byte.
    TiffBuilder b(LittleEndian());
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3}).Short(ifd0, 258, {2}).Short(ifd0, 262, {3});
    b.Short(ifd0, 320, {0x0000, 0x1100, 0x2200, 0xFF00, 0x0100, 0x1200, 0x2300, 0xFE00, 0x0200, 0x1300, 0x2400,
                        0xFD00});
    TIOParamsVals p;
    ASSERT_FALSE(ReadTiff(b.Build(), p).aborted);
    ASSERT_EQ(p.ColorMapCount, 4);
    ASSERT_EQ(p.ColorMap.size(), 4u);
    EXPECT_EQ(p.ColorMap[1], (TRGB{0x13, 0x12, 0x11}));
    EXPECT_EQ(p.ColorMap[3], (TRGB{0xFD, 0xFE, 0xFF}));

    // A tag holding fewer values than 2^bits entries: read with the entries it has. 8-bit
    // values (all at most 255) are taken as they are.
    TiffBuilder shortMap(LittleEndian());
    const int d = shortMap.AddDirectory();
    shortMap.Short(d, 256, {4}).Short(d, 257, {3}).Short(d, 258, {8}).Short(d, 320, {1, 2, 3, 4, 5, 6});
    ReadTiff(shortMap.Build(), p);
    ASSERT_EQ(p.ColorMapCount, 2);
    EXPECT_EQ(p.ColorMap[0], (TRGB{5, 3, 1}));
    EXPECT_EQ(p.ColorMap[1], (TRGB{6, 4, 2}));

    // More than 16 bits per sample carries no palette, and no tag frees the old one.
    TiffBuilder deep(LittleEndian());
    const int e = deep.AddDirectory();
    deep.Short(e, 256, {4}).Short(e, 257, {3}).Short(e, 258, {24}).Short(e, 320, {1, 2, 3, 4, 5, 6});
    ReadTiff(deep.Build(), p);
    EXPECT_EQ(p.ColorMapCount, 0);
    EXPECT_TRUE(p.ColorMap.empty());
}

TEST_P(TiffReaderTest, DecodesIptcStoredAsLongValues) {
    // Dataset 2:5 "Title", padded to whole LONG values as writers do.
    std::vector<uint8_t> iptc = {0x1C, 2, 5, 0, 5, 'T', 'i', 't', 'l', 'e', 0, 0};
    TiffBuilder b(LittleEndian());
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3}).Entry(ifd0, 33723, 4, uint32_t(iptc.size() / 4), iptc);
    TIOParamsVals p;
    ReadTiff(b.Build(), p);
    ASSERT_EQ(p.IPTC_Info.GetCount(), 1);
    EXPECT_EQ(p.IPTC_Info.GetRecordNumber(0), 2);
    EXPECT_EQ(p.IPTC_Info.GetDataSet(0), 5);
    EXPECT_EQ(p.IPTC_Info.GetStrings(0), "Title");

    TiffBuilder none(LittleEndian());
    const int d = none.AddDirectory();
    none.Short(d, 256, {4}).Short(d, 257, {3});
    ReadTiff(none.Build(), p);
    EXPECT_EQ(p.IPTC_Info.GetCount(), 0);
}

TEST_P(TiffReaderTest, DirectoryChainsEndAtSelfLinksAndCycles) {
    TiffBuilder selfLinked(LittleEndian());
    const int only = selfLinked.AddDirectory();
    selfLinked.Short(only, 256, {4}).Short(only, 257, {3}).LinkNext(only, only);
    TIOParamsVals p;
    EXPECT_EQ(ReadTiff(selfLinked.Build(), p).imageCount, 1);
    EXPECT_EQ(p.ImageCount, 1);

    TiffBuilder cyclic(LittleEndian());
    const int a = cyclic.AddDirectory();
    const int c = cyclic.AddDirectory();
    const int d = cyclic.AddDirectory();
    for (int dir : {a, c, d}) cyclic.Short(dir, 256, {uint16_t(10 + dir)}).Short(dir, 257, {3});
    cyclic.LinkNext(d, a);
    p.SetImageIndex(2);
    EXPECT_EQ(ReadTiff(cyclic.Build(), p).imageCount, 3);
    EXPECT_EQ(p.Width, 12);
    EXPECT_EQ(p.ImageCount, 3);
}

TEST_P(TiffReaderTest, EndsQuietlyWithoutTheWantedDirectory) {
    TiffBuilder b(LittleEndian());
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3}).Ascii(ifd0, 271, "Maker");
    TIOParamsVals p;
    p.Width = 1234;
    p.SetImageIndex(5);
    const ReadOutcome beyond = ReadTiff(b.Build(), p);
    EXPECT_FALSE(beyond.aborted);
    EXPECT_EQ(beyond.imageCount, 1);
    EXPECT_EQ(p.Width, 1234);
    EXPECT_EQ(p.EXIF_Make, "");

    b.SetFirstOffset(0);
    p.SetImageIndex(0);
    EXPECT_FALSE(ReadTiff(b.Build(), p).aborted);
    EXPECT_EQ(p.Width, 1234);
}

TEST_P(TiffReaderTest, FailuresSetTheAbortFlag) {
    TIOParamsVals p;
    for (const std::vector<uint8_t>& header : {std::vector<uint8_t>{'X', 'X', 42, 0, 8, 0, 0, 0},
                                               std::vector<uint8_t>{'I', 'M', 42, 0, 8, 0, 0, 0},
                                               std::vector<uint8_t>{'I', 'I', 42, 0, 8}}) {
        EXPECT_TRUE(ReadTiff(header, p).aborted) << header.size();
    }

    // Unequal BitsPerSample: nothing from the tag tables is stored.
    TiffBuilder mixed(LittleEndian());
    const int m = mixed.AddDirectory();
    mixed.Short(m, 256, {4}).Short(m, 257, {3}).Short(m, 258, {8, 8, 16}).Ascii(m, 271, "Maker");
    p.Width = 1234;
    EXPECT_TRUE(ReadTiff(mixed.Build(), p).aborted);
    EXPECT_EQ(p.Width, 1234);
    EXPECT_EQ(p.EXIF_Make, "");

    // A zero size fails after the fields were stored.
    TiffBuilder sizeless(LittleEndian());
    const int s = sizeless.AddDirectory();
    sizeless.Short(s, 256, {4}).Ascii(s, 271, "Maker");
    EXPECT_TRUE(ReadTiff(sizeless.Build(), p).aborted);
    EXPECT_EQ(p.Width, 4);
    EXPECT_EQ(p.Height, 0);
    EXPECT_EQ(p.EXIF_Make, "Maker");
}

TEST_P(TiffReaderTest, ReadsTheWantedSubImage) {
    TiffBuilder b(LittleEndian());
    const int ifd0 = b.AddDirectory();
    b.Short(ifd0, 256, {400}).Short(ifd0, 257, {300});
    const int first = b.AddDetachedDirectory();
    const int second = b.AddDetachedDirectory();
    b.Short(first, 256, {200}).Short(first, 257, {150}).Short(second, 256, {100}).Short(second, 257, {75});
    b.PointTo(ifd0, 330, {first, second});
    TIOParamsVals p;
    p.TIFF_SubIndex = 1;
    ReadTiff(b.Build(), p);
    EXPECT_EQ(p.Width, 100);
    p.TIFF_SubIndex = 2;  // beyond the SubIFDs entry: the image directory itself
    ReadTiff(b.Build(), p);
    EXPECT_EQ(p.Width, 400);

    TiffBuilder outside(LittleEndian());
    const int d = outside.AddDirectory();
    outside.Short(d, 256, {400}).Short(d, 257, {300}).Long(d, 330, {0x7FFFFF00});
    p.TIFF_SubIndex = 0;
    ReadTiff(outside.Build(), p);
    EXPECT_EQ(p.Width, 400);
}

TEST_P(TiffReaderTest, SurvivesExifAndGpsPointersThatPointAnywhere) {
    for (uint32_t target : {0x7FFFFFF0u, 0xFFFFFFF0u, 3u, 8u}) {
        TiffBuilder b(LittleEndian());
        const int ifd0 = b.AddDirectory();
        // Pointer 8 names the image directory itself: read it once as the EXIF directory.
        b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3}).Long(ifd0, 34665, {target}).Long(ifd0, 34853, {target});
        TIOParamsVals p;
        EXPECT_FALSE(ReadTiff(b.Build(), p).aborted) << target;
        EXPECT_EQ(p.Width, 4);
        EXPECT_EQ(p.EXIF_ExposureMode, 0);
    }
}

TEST_P(TiffReaderTest, CapturesTheMakerNoteRelativeToTheTiffHeader) {
    // The header sits 10 bytes into the stream; the note's text offset counts from the header.
    std::vector<uint8_t> bytes(10, 0xAA);
    const std::vector<uint8_t> tiff = test::CameraTiff(LittleEndian());
    bytes.insert(bytes.end(), tiff.begin(), tiff.end());
    TMemoryStream stream(bytes);
    stream.Seek(10);
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    TIOParamsVals p;
    int count = 0;
    TIFFReadStream(nullptr, stream, count, false, /*headerAtCurrentPosition=*/true, true, progress, &p);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(p.EXIF_Make, "Velmora Cam");
    ASSERT_GT(p.EXIF_MakerNote.DataSize(), 0);
    EXPECT_EQ(p.EXIF_MakerNote.GetString(6), "Canon EOS");
}

TEST_P(TiffReaderTest, LeavesMalformedMakerNotesEmpty) {
    struct Case {
        const char* name;
        std::vector<test::MakerNoteEntry> entries;
        bool kept;
    };
    const std::vector<test::MakerNoteEntry> many(300, test::MakerNoteEntry{1, 4, 1, 5});
    const Case cases[] = {
        {"two entries", {{1, 4, 1, 5}, {2, 4, 1, 6}}, true},
        {"300 entries", many, false},
        {"type 13", {{1, 4, 1, 5}, {2, 13, 1, 6}}, false},
    };
    for (const Case& c : cases) {
        TiffBuilder b(LittleEndian());
        const int ifd0 = b.AddDirectory();
        b.Short(ifd0, 256, {4}).Short(ifd0, 257, {3});
        const int exif = b.AddSubDirectory(ifd0, 34665);
        b.Undefined(exif, 37500, test::MakerNoteDirectory(b, c.entries));
        TIOParamsVals p;
        ReadTiff(b.Build(), p);
        EXPECT_EQ(p.EXIF_MakerNote.DataSize() > 0, c.kept) << c.name;
    }
}

TEST_P(TiffReaderTest, TruncatedOrCorruptedDataNeverCrashes) {
    const std::vector<uint8_t> full = test::CameraTiff(LittleEndian());
    for (size_t length = 0; length <= full.size(); ++length) {
        TIOParamsVals p;
        ReadTiff(std::vector<uint8_t>(full.begin(), full.begin() + length), p);
    }
    for (size_t at = 0; at < full.size(); ++at) {
        for (uint8_t value : {uint8_t(0xFF), uint8_t(0x80)}) {
            std::vector<uint8_t> broken = full;
            broken[at] = value;
            TIOParamsVals p;
            ReadTiff(broken, p);
        }
    }
}

}  // namespace
}  // namespace velmora
