#include "params/jpeg_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "params/jpeg_lib_glue.h"
#include "tests/support/jpeg_fixtures.h"
#include "tests/support/tiff_builder.h"

namespace velmora {
namespace {

using test::JpegKind;
using test::JpegPicture;
using test::JpegSegment;

// Reads bytes as parameter loading does (or in full, with options.parametersOnly false);
// returns whether the read reported failure through the abort flag.
bool Read(const std::vector<uint8_t>& bytes, TIOParamsVals& params, JpegReadOptions options = {},
          TImageBitmap* bitmap = nullptr) {
    TMemoryStream stream(bytes);
    TImageBitmap scratch;
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    ReadJPegStream(stream, nullptr, bitmap ? *bitmap : scratch, params, progress, options);
    return aborting;
}

JpegReadOptions FullRead() {
    JpegReadOptions options;
    options.parametersOnly = false;
    return options;
}

std::string MarkerText(const TMarkerList& list, int index) {
    return std::string(reinterpret_cast<const char*>(list.GetMarkerData(index)),
                       static_cast<size_t>(list.GetMarkerLength(index)));
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ReadJPegStream, FindsTheJpegDataWithinTheFirstHundredBytes) {
    const std::vector<uint8_t> jpeg = test::EncodeJpeg(JpegPicture{});
    {
        TIOParamsVals params;
        EXPECT_FALSE(Read(Concat(std::vector<uint8_t>(99, 0x11), jpeg), params));
        EXPECT_EQ(params.Width, 16);
        EXPECT_EQ(params.Height, 8);
    }
    {
        TIOParamsVals params;
        params.Width = -7;
        params.JPEG_WarningTot = 5;
        params.JPEG_MarkerList.AddMarker(0xFE, "old", 3);
        EXPECT_TRUE(Read(Concat(std::vector<uint8_t>(100, 0x11), jpeg), params));
        EXPECT_EQ(params.Width, -7);
        EXPECT_EQ(params.JPEG_WarningTot, 0);
        EXPECT_EQ(params.JPEG_MarkerList.GetCount(), 1);
    }
}

TEST(ReadJPegStream, ResolutionFromTheJfifDensityElseFromExif) {
    struct Case {
        const char* name;
        std::vector<JpegSegment> segments;
        int dpiX, dpiY;
    };
    const JpegSegment exif72 = test::ExifResolutionSegment(72, 1, 72, 1, 2);
    const Case cases[] = {
        {"neither", {}, 1, 1},
        {"jfif inch", {test::JfifSegment(1, 300, 200)}, 300, 200},
        {"jfif inch beats exif", {test::JfifSegment(1, 300, 300), exif72}, 300, 300},
        {"jfif aspect 1:1 gives way to exif", {test::JfifSegment(0, 1, 1), exif72}, 72, 72},
        {"jfif centimetre", {test::JfifSegment(2, 118, 118)}, 299, 299},
        {"jfif unknown unit", {test::JfifSegment(3, 50, 50)}, 123, 123},
        // Centimetre EXIF resolutions already arrive in dots per inch (118.11 * 2.54).
        {"exif centimetre", {test::ExifResolutionSegment(11811, 100, 11811, 100, 3)}, 299, 299},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TIOParamsVals params;
        params.DpiX = params.DpiY = 123;
        EXPECT_FALSE(Read(test::MakeJpeg(JpegPicture{}, c.segments), params));
        EXPECT_EQ(params.DpiX, c.dpiX);
        EXPECT_EQ(params.DpiY, c.dpiY);
    }
    // The EXIF fields keep what the block says when the JFIF density wins.
    TIOParamsVals params;
    Read(test::MakeJpeg(JpegPicture{}, {test::JfifSegment(1, 300, 300), exif72}), params);
    EXPECT_TRUE(params.EXIF_HasEXIF);
    EXPECT_DOUBLE_EQ(params.EXIF_XResolution, 72.0);
}

TEST(ReadJPegStream, ExifComesOnlyFromTheFirstApp1AndXmpFromTheFirstXmpApp1) {
    const JpegSegment exif = test::ExifResolutionSegment(72, 1, 72, 1, 2, "Maker");
    const std::string packet = "<x:xmpmeta>first</x:xmpmeta>";
    {
        TIOParamsVals params;
        Read(test::MakeJpeg(JpegPicture{}, {test::XmpSegment(packet), exif}), params);
        EXPECT_FALSE(params.EXIF_HasEXIF);
        EXPECT_EQ(params.EXIF_Make, "");
        EXPECT_EQ(params.XMP_Info, packet);
    }
    {
        // A short packet and an extension packet are passed over; only the first match counts.
        std::string extension = "http://ns.adobe.com/xmp/extension/";
        extension.push_back('\0');
        extension += "0123456789abcdef";
        std::string shortOne = "http://ns.adobe.com/xap/";
        shortOne += "1.0/";
        TIOParamsVals params;
        Read(test::MakeJpeg(JpegPicture{}, {exif, test::Segment(0xE1, shortOne), test::Segment(0xE1, extension),
                                            test::XmpSegment(packet), test::XmpSegment("<second/>")}),
             params);
        EXPECT_TRUE(params.EXIF_HasEXIF);
        EXPECT_EQ(params.EXIF_Make, "Maker");
        EXPECT_EQ(params.XMP_Info, packet);
    }
}

TEST(ReadJPegStream, MarkerListHoldsEveryAppAndComSegmentButTheFirstApp0) {
    const std::string jfxx("JFXX\0\x10", 6);
    TIOParamsVals params;
    Read(test::MakeJpeg(JpegPicture{}, {test::JfifSegment(1, 72, 72), test::Segment(0xE0, jfxx),
                                        test::Comment("hello"), test::Segment(0xEF, ""), test::Segment(0xED, "x")}),
         params);
    const TMarkerList& list = params.JPEG_MarkerList;
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetMarkerType(0), 0xE0);
    EXPECT_EQ(MarkerText(list, 0), jfxx);
    EXPECT_EQ(list.GetMarkerType(1), 0xFE);
    EXPECT_EQ(MarkerText(list, 1), "hello");
    EXPECT_EQ(list.GetMarkerType(2), 0xEF);
    EXPECT_EQ(list.GetMarkerLength(2), 0);
    EXPECT_EQ(list.GetMarkerType(3), 0xED);
    EXPECT_EQ(MarkerText(list, 3), "x");
    // The JFIF density was still read from the segment left out of the list.
    EXPECT_EQ(params.DpiX, 72);
}

TEST(JpegScaleDenominator, AutoCalcTakesTheLargestReductionCoveringTheWishedSize) {
    struct Case {
        TIOJPEGScale scale;
        int storedW, storedH, wishedW, wishedH, expected;
    };
    const Case cases[] = {
        {ioJPEG_AUTOCALC, 2400, 1600, 300, 200, 8},
        {ioJPEG_AUTOCALC, 2399, 1600, 300, 200, 4},
        {ioJPEG_AUTOCALC, 2400, 1599, 300, 200, 4},
        {ioJPEG_AUTOCALC, 500, 500, 300, 200, 1},
        {ioJPEG_AUTOCALC, 100, 100, 300, 200, 1},
        {ioJPEG_AUTOCALC, 2400, 1600, 0, 200, 1},
        {ioJPEG_AUTOCALC, 2400, 1600, 300, -1, 1},
        {ioJPEG_FULLSIZE, 2400, 1600, 300, 200, 1},
        {ioJPEG_HALF, 10, 10, 300, 200, 2},
        {ioJPEG_QUARTER, 10, 10, 0, 0, 4},
        {ioJPEG_EIGHTH, 10, 10, 0, 0, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JpegScaleDenominator(c.scale, c.storedW, c.storedH, c.wishedW, c.wishedH), c.expected)
            << int(c.scale) << " " << c.storedW << "x" << c.storedH << " for " << c.wishedW << "x" << c.wishedH;
    }
}

TEST(ReadJPegStream, SegmentClaimingMoreThanTheFileHoldsIsCutWhereTheDataEnds) {
    // Start of image, one complete comment, then a comment whose length word says 4096.
    std::vector<uint8_t> bytes = {0xFF, 0xD8};
    bytes = Concat(bytes, test::SegmentBytes(test::Comment("whole")));
    bytes = Concat(bytes, {0xFF, 0xFE, 0x10, 0x00, 'c', 'u', 't'});
    TIOParamsVals params;
    EXPECT_TRUE(Read(bytes, params));  // no frame: the read fails, the segments stay
    const TMarkerList& list = params.JPEG_MarkerList;
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(MarkerText(list, 0), "whole");
    EXPECT_EQ(MarkerText(list, 1), "cut");
    EXPECT_GE(params.JPEG_WarningTot, 1);
    EXPECT_EQ(params.JPEG_WarningCode, JWRN_JPEG_EOF);
}

TEST(ReadJPegStream, EveryTruncationIsReadWithoutHarm) {
    const std::vector<JpegSegment> segments = {test::JfifSegment(1, 96, 96),
                                               test::ExifResolutionSegment(72, 1, 72, 1, 2, "Maker"),
                                               test::XmpSegment("<x/>"), test::IccChunk(1, 1, {1, 2, 3, 4}),
                                               test::Comment("c")};
    for (const bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        JpegPicture picture;
        picture.progressive = progressive;
        picture.gradient = true;
        const std::vector<uint8_t> jpeg = test::MakeJpeg(picture, segments);
        size_t scanStart = 0;
        for (size_t i = 0; i + 3 < jpeg.size(); ++i) {
            if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) {
                scanStart = i;
                break;
            }
        }
        ASSERT_GT(scanStart, 0u);
        // The header ends with the first scan's own segment.
        const size_t headerEnd = scanStart + 2 + ((size_t(jpeg[scanStart + 2]) << 8) | jpeg[scanStart + 3]);
        for (size_t length = 0; length <= jpeg.size(); ++length) {
            SCOPED_TRACE(length);
            const std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(length));
            TIOParamsVals params;
            const bool aborted = Read(cut, params);
            // Cut inside the scan's own segment, libjpeg may take the made-up end marker
            // for its last bytes; either outcome is fine there.
            if (length <= scanStart) {
                EXPECT_TRUE(aborted);
            }
            if (length >= headerEnd) {
                EXPECT_FALSE(aborted);
            }
            if (!aborted) {
                EXPECT_EQ(params.Width, 16);
            }

            TIOParamsVals fullParams;
            TImageBitmap bitmap;
            const bool fullAborted = Read(cut, fullParams, FullRead(), &bitmap);
            // Cut pixel data decodes as far as it goes. (A progressive file cut inside a
            // table between its scans is a fatal error for libjpeg.)
            if (length <= scanStart) {
                EXPECT_TRUE(fullAborted);
            }
            if (!progressive && length >= headerEnd) {
                EXPECT_FALSE(fullAborted);
            }
            if (!fullAborted) {
                EXPECT_EQ(bitmap.Width(), 16);
            }
        }
    }
}

TEST(ReadJPegStream, ColourSpaceAndProgressiveFlagFromTheFrame) {
    struct Case {
        JpegKind kind;
        bool progressive;
        TIOJPEGColorspace colorSpace;
        int samples;
    };
    const Case cases[] = {
        {JpegKind::Gray, false, ioJPEG_GRAYLEV, 1},   {JpegKind::YCbCr, true, ioJPEG_YCbCr, 3},
        {JpegKind::Rgb, false, ioJPEG_RGB, 3},        {JpegKind::Cmyk, false, ioJPEG_CMYK, 4},
        {JpegKind::Ycck, true, ioJPEG_YCbCrK, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        JpegPicture picture;
        picture.kind = c.kind;
        picture.progressive = c.progressive;
        picture.width = 21;
        picture.height = 9;
        TIOParamsVals params;
        params.BitsPerSample = 1;
        ASSERT_FALSE(Read(test::EncodeJpeg(picture), params));
        EXPECT_EQ(params.JPEG_ColorSpace, c.colorSpace);
        EXPECT_EQ(params.SamplesPerPixel, c.samples);
        EXPECT_EQ(params.JPEG_Progressive, c.progressive);
        EXPECT_EQ(params.BitsPerSample, 8);
        EXPECT_EQ(params.JPEG_OriginalWidth, 21);
        EXPECT_EQ(params.JPEG_OriginalHeight, 9);
        EXPECT_EQ(params.JPEG_WarningTot, 0);
    }
}

TEST(GetJpegICC, JoinsTheChunksInSequenceOrder) {
    const std::vector<uint8_t> jpeg = test::MakeJpeg(
        JpegPicture{}, {test::IccChunk(2, 2, {'d', 'e'}), test::Segment(0xE2, "MPF"), test::IccChunk(1, 2, {'a', 'b', 'c'})});
    TIOParamsVals params;
    Read(jpeg, params);
    EXPECT_EQ(params.InputICC, (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e'}));
    // The APP2 segments stay listed: no colour transform was applied.
    EXPECT_EQ(params.JPEG_MarkerList.GetCount(), 3);

    // Called on its own: from the stream's position, which it restores; fill bytes before a
    // marker are passed over, and a chunk cut by the end of the data keeps what is there.
    std::vector<uint8_t> bytes = Concat({0x00, 0x00, 0xFF, 0xD8, 0xFF, 0xFF}, test::SegmentBytes(test::IccChunk(1, 2, {'x'})));
    bytes = Concat(bytes, {0xFF, 0xE2, 0x01, 0x00, 'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, 2, 2, 'y', 'z'});
    TMemoryStream stream(bytes);
    stream.Seek(2);
    TIOParamsVals direct;
    GetJpegICC(stream, direct);
    EXPECT_EQ(stream.Position(), 2);
    EXPECT_EQ(direct.InputICC, (std::vector<uint8_t>{'x', 'y', 'z'}));
}

TEST(ReadJPegStream, FullReadDecodesAtTheChosenScaleAndRowLimit) {
    JpegPicture picture;
    picture.width = 40;
    picture.height = 24;
    picture.fill = {30, 200, 90};
    const std::vector<uint8_t> jpeg = test::EncodeJpeg(picture);
    {
        TIOParamsVals params;
        params.JPEG_Scale = ioJPEG_HALF;
        TImageBitmap bitmap;
        ASSERT_FALSE(Read(jpeg, params, FullRead(), &bitmap));
        EXPECT_EQ(params.JPEG_Scale_Used, 2);
        EXPECT_EQ(params.Width, 20);
        EXPECT_EQ(params.Height, 12);
        EXPECT_EQ(params.JPEG_OriginalWidth, 40);
        ASSERT_EQ(bitmap.Width(), 20);
        ASSERT_EQ(bitmap.Height(), 12);
        EXPECT_NEAR(bitmap.ScanLine(11)[1], 200, 4);
    }
    {
        // Rows left out on purpose are no failure; they stay black.
        TIOParamsVals params;
        JpegReadOptions options = FullRead();
        options.maxRows = 5;
        TImageBitmap bitmap;
        EXPECT_FALSE(Read(jpeg, params, options, &bitmap));
        ASSERT_EQ(bitmap.Height(), 24);
        EXPECT_NEAR(bitmap.ScanLine(4)[1], 200, 4);
        EXPECT_EQ(bitmap.ScanLine(5)[1], 0);
    }
    {
        // The caller's abort flag stops the rows.
        TIOParamsVals params;
        TMemoryStream stream(jpeg);
        TImageBitmap bitmap;
        bool aborting = false;
        TProgressRec progress;
        progress.Aborting = &aborting;
        int calls = 0;
        progress.fOnProgress = [&](void*, int) {
            if (++calls == 3) aborting = true;
        };
        ReadJPegStream(stream, nullptr, bitmap, params, progress, FullRead());
        EXPECT_EQ(calls, 3);
        EXPECT_NEAR(bitmap.ScanLine(2)[1], 200, 4);
        EXPECT_EQ(bitmap.ScanLine(3)[1], 0);
    }
}

TEST(ReadJPegStream, PictureTooLargeToHoldIsRefusedButItsParametersAreRead) {
    std::vector<uint8_t> jpeg = test::EncodeJpeg(JpegPicture{});
    for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            // 65000 x 65000 pixels
            jpeg[i + 5] = jpeg[i + 7] = 0xFD;
            jpeg[i + 6] = jpeg[i + 8] = 0xE8;
            break;
        }
    }
    TIOParamsVals params;
    EXPECT_FALSE(Read(jpeg, params));
    EXPECT_EQ(params.Width, 65000);
    TIOParamsVals fullParams;
    TImageBitmap bitmap;
    EXPECT_TRUE(Read(jpeg, fullParams, FullRead(), &bitmap));
    EXPECT_TRUE(bitmap.IsEmpty());
}

TEST(ReadJPegStream, CutPixelDataCountsWarningsWithoutFailing) {
    JpegPicture picture;
    picture.width = 64;
    picture.height = 64;
    picture.gradient = true;
    std::vector<uint8_t> jpeg = test::EncodeJpeg(picture);
    jpeg.resize(jpeg.size() - jpeg.size() / 3);
    TIOParamsVals params;
    TImageBitmap bitmap;
    EXPECT_FALSE(Read(jpeg, params, FullRead(), &bitmap));
    EXPECT_EQ(bitmap.Width(), 64);
    EXPECT_GE(params.JPEG_WarningTot, 1);
    EXPECT_NE(params.JPEG_WarningCode, 0);
}

TEST(ReadJPegStream, TablesComeFromASeparateTableStream) {
    JpegPicture picture;
    picture.fill = {30, 200, 90};
    std::vector<uint8_t> tables, image;
    test::EncodeAbbreviatedJpeg(picture, tables, image);
    tables = test::InsertSegments(tables, {test::Comment("tables")});
    image = test::InsertSegments(image, {test::Comment("image")});

    TMemoryStream imageStream(image);
    TMemoryStream tableStream(tables);
    TIOParamsVals params;
    TImageBitmap bitmap;
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    ReadJPegStream(imageStream, &tableStream, bitmap, params, progress, FullRead());
    EXPECT_FALSE(aborting);
    ASSERT_EQ(bitmap.Width(), 16);
    EXPECT_NEAR(bitmap.ScanLine(7)[1], 200, 4);
    // Only the image's own segments are listed.
    ASSERT_EQ(params.JPEG_MarkerList.GetCount(), 1);
    EXPECT_EQ(MarkerText(params.JPEG_MarkerList, 0), "image");

    // Without its tables the picture cannot be decoded.
    TIOParamsVals alone;
    EXPECT_TRUE(Read(image, alone, FullRead()));
}

std::vector<uint8_t> JpegWithExifThumbnail(const JpegPicture& main, const JpegPicture& thumbnail) {
    const std::vector<uint8_t> thumbnailJpeg = test::EncodeJpeg(thumbnail);
    test::TiffBuilder builder(true);
    const int ifd0 = builder.AddDirectory();
    builder.Rational(ifd0, 282, {{72, 1}}).Rational(ifd0, 283, {{72, 1}});
    const int ifd1 = builder.AddDirectory();
    const int blob = builder.AddBlob(thumbnailJpeg);
    builder.Short(ifd1, 259, {6});
    builder.PointToBlob(ifd1, 513, blob).Long(ifd1, 514, {static_cast<uint32_t>(thumbnailJpeg.size())});
    return test::MakeJpeg(main, {JpegSegment{0xE1, builder.Build(true)}});
}

TEST(ReadJPegStream, ExifThumbnailIsTakenFirstWhenAsked) {
    JpegPicture main;
    main.width = 64;
    main.height = 48;
    JpegPicture thumbnail;
    thumbnail.width = 8;
    thumbnail.height = 6;
    {
        TIOParamsVals params;
        params.SetJPEG_GetExifThumbnail(true);
        TImageBitmap bitmap;
        EXPECT_FALSE(Read(JpegWithExifThumbnail(main, thumbnail), params, FullRead(), &bitmap));
        EXPECT_EQ(bitmap.Width(), 8);
        EXPECT_EQ(bitmap.Height(), 6);
        EXPECT_TRUE(params.JPEG_GetExifThumbnail);
    }
    {
        // Without a thumbnail the picture itself is read, the wished size for the scale choice
        // restored. The data may begin more than 100 bytes into the stream.
        std::vector<uint8_t> bytes = Concat(std::vector<uint8_t>(500, 0), test::EncodeJpeg(main));
        TMemoryStream stream(bytes);
        stream.Seek(500);
        TIOParamsVals params;
        params.SetJPEG_GetExifThumbnail(true);
        params.JPEG_Scale = ioJPEG_AUTOCALC;
        params.Width = 30;
        params.Height = 20;
        TImageBitmap bitmap;
        bool aborting = false;
        TProgressRec progress;
        progress.Aborting = &aborting;
        ReadJPegStream(stream, nullptr, bitmap, params, progress, FullRead());
        EXPECT_FALSE(aborting);
        EXPECT_EQ(params.JPEG_Scale_Used, 2);
        EXPECT_EQ(bitmap.Width(), 32);
        EXPECT_EQ(bitmap.Height(), 24);
    }
}

}  // namespace
}  // namespace velmora
