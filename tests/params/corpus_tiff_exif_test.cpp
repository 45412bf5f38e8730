#include <gtest/gtest.h>

#include <string>

#include "params/format_registry.h"
#include "params/image_io.h"
#include "tests/support/corpus.h"

namespace velmora {
namespace {

// Reference values of the corpus TIFF files, taken with an independent metadata tool (IFD0
// tags, EXIF IFD tags, GPSVersionID, one IPTC dataset, the size of the XMP packet). Where a
// tag is absent the expected value is the reader's fallback: orientation 1, resolution unit 2,
// bits and samples 1, DpiX 0 (no resolution).
struct CorpusTiff {
    const char* file;
    bool littleEndian;
    int width, height, bitsPerSample, samplesPerPixel;
    TIOTIFFCompression compression;
    TIOTIFFPhotometInterpret photometric;
    const char* make;
    const char* model;
    const char* dateTime;
    int orientation, dpiX, resolutionUnit, imageCount;
    bool hasExif;
    double exposureTime, fNumber;
    int iso;
    const char* dateTimeOriginal;
    const char* exifVersion;
    int exifImageWidth;
    const char* gpsVersion;
    int iptcDataSet;  // 0: no IPTC data
    const char* iptcText;
    size_t xmpBytes;
};

const CorpusTiff kCorpusTiffs[] = {
    {"ExifTool.tif", false, 160, 120, 8, 3, ioTIFF_LZW, ioTIFF_RGB, "Canon", "Canon EOS DIGITAL REBEL",
     "2004:02:20 08:07:49", 1, 180, 2, 1, false, 0, 0, 0, "", "", 0, "", 120, "The picture caption", 0},
    {"Bush-dog.tif", true, 40, 40, 8, 3, ioTIFF_UNCOMPRESSED, ioTIFF_RGB, "", "", "2020:10:12 16:40:47", 1, 200, 2, 1,
     true, 0, 0, 0, "", "0231", 40, "", 5, "BUSH", 16900},
    {"tif-with-iptc-icc-xmp.tif", true, 35, 23, 8, 3, ioTIFF_UNCOMPRESSED, ioTIFF_RGB, "Canon", "Canon EOS 5D Mark III",
     "2019:12:08 11:10:39", 1, 300, 2, 1, true, 0.0025, 7.1, 100, "2013:09:07 06:45:12", "0230", 35, "", 116,
     "JET2HOLIDAYS", 26344},
    {"Reagan.tiff", false, 200, 130, 8, 4, ioTIFF_UNCOMPRESSED, ioTIFF_RGB, "NIKON CORPORATION", "NIKON D1X",
     "2012:04:07 16:11:27", 1, 300, 2, 1, true, 0.008, 5, 0, "2004:06:21 23:37:53", "0220", 2100, "2.2.0.0", 5,
     "040621-N-6536T-062", 4917},
    {"exiv2-bug922.tif", false, 40, 470, 8, 3, ioTIFF_LZW, ioTIFF_RGB, "", "", "", 6, 0, 2, 1, false, 0, 0, 0, "", "", 0,
     "", 0, "", 2500},
    {"copyleft.tiff", false, 220, 220, 8, 3, ioTIFF_PACKBITS, ioTIFF_RGB, "", "", "", 1, 72, 2, 1, false, 0, 0, 0, "",
     "", 0, "", 0, "", 0},
    {"Picoawards.tiff", true, 436, 547, 8, 3, ioTIFF_LZW, ioTIFF_RGB, "", "", "", 1, 96, 2, 1, false, 0, 0, 0, "", "",
     0, "", 0, "", 0},
    {"multipage.tiff", true, 10, 10, 1, 1, ioTIFF_UNCOMPRESSED, ioTIFF_RGBPALETTE, "", "", "", 1, 0, 2, 3, false, 0, 0,
     0, "", "", 0, "", 0, "", 0},
    {"g4-multi.tiff", true, 3307, 4677, 1, 1, ioTIFF_G4FAX, ioTIFF_WHITEISZERO, "", "", "2016:01:06 12:09:20", 1, 400, 2, 3, false, 0, 0,
     0, "", "", 0, "", 0, "", 0},
    {"tiff_strip_ycbcr_jpeg_2x2_sampling.tif", true, 480, 360, 8, 3, ioTIFF_JPEG, ioTIFF_YCBCR, "", "", "", 1, 0, 2, 1,
     false, 0, 0, 0, "", "", 0, "", 0, "", 0},
};

TEST(CorpusTiff, ParametersMatchTheReferenceValues) {
    VELMORA_REQUIRE_CORPUS();
    for (const CorpusTiff& t : kCorpusTiffs) {
        SCOPED_TRACE(t.file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(t.file));
        const TIOParamsVals& p = io.Params;
        ASSERT_EQ(p.FileType, ioTIFF);
        EXPECT_EQ(p.TIFF_ByteOrder, t.littleEndian ? ioLittleEndian : ioBigEndian);
        EXPECT_EQ(p.Width, t.width);
        EXPECT_EQ(p.Height, t.height);
        EXPECT_EQ(p.BitsPerSample, t.bitsPerSample);
        EXPECT_EQ(p.SamplesPerPixel, t.samplesPerPixel);
        EXPECT_EQ(p.TIFF_Compression, t.compression);
        EXPECT_EQ(p.TIFF_PhotometInterpret, t.photometric);
        EXPECT_EQ(p.EXIF_Make, t.make);
        EXPECT_EQ(p.EXIF_Model, t.model);
        EXPECT_EQ(p.EXIF_DateTime, t.dateTime);
        EXPECT_EQ(p.TIFF_Orientation, t.orientation);
        EXPECT_EQ(p.EXIF_Orientation, t.orientation);
        EXPECT_EQ(p.DpiX, t.dpiX);
        EXPECT_EQ(p.EXIF_ResolutionUnit, t.resolutionUnit);
        EXPECT_EQ(p.ImageCount, t.imageCount);
        EXPECT_EQ(p.EXIF_HasEXIF, t.hasExif);
        EXPECT_NEAR(p.EXIF_ExposureTime, t.exposureTime, 1e-9);
        EXPECT_NEAR(p.EXIF_FNumber, t.fNumber, 1e-9);
        EXPECT_EQ(p.EXIF_ISOSpeedRatings[0], t.iso);
        EXPECT_EQ(p.EXIF_DateTimeOriginal, t.dateTimeOriginal);
        EXPECT_EQ(p.EXIF_ExifVersion, t.exifVersion);
        EXPECT_EQ(p.EXIF_ExifImageWidth, t.exifImageWidth);
        EXPECT_EQ(p.EXIF_GPSVersionID, t.gpsVersion);
        if (t.iptcDataSet) {
            const int index = p.IPTC_Info.IndexOf(2, t.iptcDataSet);
            ASSERT_GE(index, 0);
            EXPECT_EQ(p.IPTC_Info.GetStrings(index), t.iptcText);
        } else {
            EXPECT_EQ(p.IPTC_Info.GetCount(), 0);
        }
        EXPECT_EQ(p.XMP_Info.size(), t.xmpBytes);
    }
}

// Deliberately broken files: the directory is read as far as it goes, nothing crashes.
TEST(CorpusTiff, BrokenFilesGiveWhatCanBeRead) {
    VELMORA_REQUIRE_CORPUS();
    struct Broken {
        const char* file;
        bool hasExif;
    };
    for (const Broken& b : {Broken{"bad-offsets-lengths.tiff", false}, Broken{"bad-interoperability.tiff", true}}) {
        SCOPED_TRACE(b.file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(b.file));
        EXPECT_EQ(io.Params.FileType, ioTIFF);
        EXPECT_EQ(io.Params.Width, 2);
        EXPECT_EQ(io.Params.Height, 2);
        EXPECT_EQ(io.Params.TIFF_PhotometInterpret, ioTIFF_BLACKISZERO);
        EXPECT_EQ(io.Params.EXIF_HasEXIF, b.hasExif);
    }
    TImageIO io;
    io.ParamsFromFile(test::CorpusFile("BigTIFF.btf"));
}

// EXIF thumbnails of camera JPEG files: their size as the reference tool reports it, turned
// upright by the orientation (exiv2-canon-eos-300d.jpg is rotated 90 degrees clockwise).
TEST(CorpusExif, ThumbnailsAreDecodedAndTurnedUpright) {
    VELMORA_REQUIRE_CORPUS();
    struct Thumbnail {
        const char* file;
        int width, height;  // 0 x 0: none
    };
    const Thumbnail thumbnails[] = {
        {"exiv2-kodak-dc210.jpg", 96, 72},  // uncompressed strips
        {"exiv2-canon-eos-20d.jpg", 160, 120},
        {"exiv2-canon-eos-300d.jpg", 120, 160},
        {"Reagan.jpg", 160, 104},
        {"Canon_Powershot_SD750_-_2007.12.26.n.IMG_3704.JPG", 160, 120},
        {"NikonD70.jpg", 0, 0},  // its thumbnail bytes are no JPEG image
    };
    for (const Thumbnail& t : thumbnails) {
        SCOPED_TRACE(t.file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(t.file));
        ASSERT_EQ(io.Params.FileType, ioJPEG);
        ASSERT_TRUE(io.Params.EXIF_Bitmap);
        EXPECT_EQ(io.Params.EXIF_Bitmap->Width(), t.width);
        EXPECT_EQ(io.Params.EXIF_Bitmap->Height(), t.height);
        if (t.width) {
            EXPECT_FALSE(io.Params.EXIF_Bitmap->IsAllBlack());
        }
    }
}

TEST(CorpusTiff, PagesOfMultiPageFilesAreReadByIndex) {
    VELMORA_REQUIRE_CORPUS();
    struct Page {
        const char* file;
        int index, width, pageNumber, pageCount;
    };
    const Page pages[] = {
        {"multipage.tiff", 0, 10, 0, 1}, {"multipage.tiff", 1, 10, 1, 2}, {"multipage.tiff", 2, 20, 2, 3},
        {"g4-multi.tiff", 1, 3307, 1, 0},
    };
    for (const Page& page : pages) {
        SCOPED_TRACE(std::string(page.file) + " page " + std::to_string(page.index));
        TImageIO io;
        io.Params.SetImageIndex(page.index);
        io.ParamsFromFile(test::CorpusFile(page.file));
        EXPECT_EQ(io.Params.FileType, ioTIFF);
        EXPECT_EQ(io.Params.Width, page.width);
        if (page.pageNumber >= 0) {
            EXPECT_EQ(io.Params.TIFF_PageNumber, page.pageNumber);
            EXPECT_EQ(io.Params.TIFF_PageCount, page.pageCount);
        }
    }
}

}  // namespace
}  // namespace velmora
