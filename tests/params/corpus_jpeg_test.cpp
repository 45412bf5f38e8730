#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "params/image_io.h"
#include "params/jpeg_reader.h"
#include "tests/support/corpus.h"

namespace velmora {
namespace {

// Reference values of the corpus JPEG files, taken with an independent metadata tool
// (IFD0 Make, Model, Orientation; EXIF DateTimeOriginal, ExposureTime, FNumber, FocalLength,
// ExifImageWidth/Height; GPS latitude and longitude as decimal degrees). The reader takes EXIF
// from the first APP1 segment only: hasExif is false where that segment is no EXIF block.
// Orientation -1: the file names none, not compared.
struct CorpusJpeg {
    const char* file;
    int width, height;
    bool hasExif;
    const char* make;
    const char* model;
    const char* dateTimeOriginal;
    double exposureTime, fNumber, focalLength;
    int orientation;
    int exifImageWidth, exifImageHeight;
    bool gps;
    double latitude;
    const char* latitudeRef;
    double longitude;
    const char* longitudeRef;
};

const CorpusJpeg kCorpusJpegs[] = {
    {"111083453-c07f1880-851e-11eb-8b61-2757f7d934bf.jpg", 200, 200, true, "", "", "", 0, 0, 0, 1, 200, 200, false, 0, "", 0, ""},
    {"Apple.jpg", 8, 8, true, "Apple", "iPhone 7", "2016:09:28 18:18:05", 0.05, 1.8, 3.99, 1, 4032, 3024, true, 53.3828472222222, "N", 1.45667777777778, "W"},
    {"Canon.jpg", 8, 8, true, "Canon", "Canon EOS DIGITAL REBEL", "2003:12:04 06:46:52", 4, 14, 34, 1, 160, 120, false, 0, "", 0, ""},
    {"Canon1DmkIII.jpg", 8, 8, true, "Canon", "Canon EOS-1D Mark III", "2007:02:22 17:02:42", 0.008, 5.6, 35, 1, 3888, 2592, false, 0, "", 0, ""},
    {"Canon_EOS_REBEL_T3i.jpg", 1152, 768, true, "Canon", "Canon EOS REBEL T3i", "2014:03:05 05:28:09", 0.005, 14, 33, 1, 5184, 3456, false, 0, "", 0, ""},
    {"Canon_IXUS_v3.jpg", 614, 460, true, "Canon", "Canon DIGITAL IXUS v3", "2002:11:23 21:24:23", 0.6, 2.8, 5.40625, 1, 614, 460, false, 0, "", 0, ""},
    {"Canon_PowerShot_S330.jpg", 800, 600, true, "Canon", "Canon PowerShot S330", "2002:11:16 15:27:01", 0.1, 4.7, 16.1875, 1, 1600, 1200, false, 0, "", 0, ""},
    {"Canon_Powershot_SD750_-_2007.12.26.n.IMG_3704.JPG", 3072, 2304, true, "Canon", "Canon PowerShot SD750", "2007:12:25 13:34:39", 0.00625, 2.8, 5.8, 1, 3072, 2304, false, 0, "", 0, ""},
    {"DSC_3079.jpg", 720, 1280, true, "Sony", "D5803", "2018:01:04 11:42:41", 0.03125, 2, 4.6, -1, 0, 0, false, 0, "", 0, ""},
    {"ExifTool.jpg", 8, 8, true, "FUJIFILM", "FinePix2400Zoom", "2001:05:19 18:36:41", 0, 3.5, 6, 1, 100, 80, false, 0, "", 0, ""},
    {"ExtendedXMP.jpg", 8, 8, false, "", "", "", 0, 0, 0, -1, 0, 0, false, 0, "", 0, ""},
    {"FujiFilm.jpg", 8, 8, true, "FUJIFILM", "FinePix2400Zoom", "2001:05:19 18:36:41", 0, 3.5, 6, 1, 1600, 1200, false, 0, "", 0, ""},
    {"FurnaceCreekInn.jpg", 400, 300, true, "Canon", "Canon PowerShot S5 IS", "2008:05:08 09:54:28", 0.001, 4, 6, 1, 400, 300, true, 36.4483333333333, "N", 116.855, "W"},
    {"GPS.jpg", 120, 80, true, "FUJIFILM", "FinePixS1Pro", "2002:07:13 15:58:28", 0, 0.640234375, 0, 1, 2400, 1600, true, 54.9896666666667, "N", 1.91416666666667, "W"},
    {"Google.jpg", 8, 8, true, "Google", "Pixel 8 Pro", "2023:10:06 22:53:51", 0.029997, 1.68, 6.9, 1, 3072, 4080, true, 40.4000694444444, "N", 3.71464722222222, "W"},
    {"IPTC.jpg", 8, 8, false, "", "", "", 0, 0, 0, -1, 0, 0, false, 0, "", 0, ""},
    {"MWG.jpg", 8, 8, true, "", "", "2001:01:01 01:11:11", 0, 0, 0, 6, 0, 0, false, 0, "", 0, ""},
    {"Nikon.jpg", 8, 8, true, "NIKON", "E775", "2001:08:01 12:57:23", 0.004686035614, 9.4, 8.6, 1, 1600, 1200, false, 0, "", 0, ""},
    {"NikonD70.jpg", 71, 47, true, "NIKON CORPORATION", "NIKON D70", "2005:01:14 08:57:59", 0.01666666667, 5, 56, 1, 3008, 2000, false, 0, "", 0, ""},
    {"OlympusE1.jpg", 8, 8, true, "OLYMPUS CORPORATION", "E-1", "2005:01:05 10:53:41", 0.01, 4.5, 20, 1, 2560, 1920, false, 0, "", 0, ""},
    {"Oregon_Scientific_DS6639_-_DSC_0307_-_iptc_added_with_irfanview.jpg", 300, 225, true, "Oregon Scientific", "DS6639", "2003:10:20 09:01:29", 0.0009740892266, 2.8, 8.64, 1, 300, 225, false, 0, "", 0, ""},
    {"Oregon_Scientific_DS6639_-_DSC_0307_-_iptc_added_with_photoshop.jpg", 300, 225, true, "Oregon Scientific", "DS6639", "2003:10:20 09:01:29", 0.0009740892266, 2.8, 8.64, 1, 300, 225, false, 0, "", 0, ""},
    {"Panasonic.jpg", 8, 8, true, "Panasonic", "DMC-FZ3", "2004:08:28 15:55:46", 0.0025, 4, 4.6, 1, 2016, 1512, false, 0, "", 0, ""},
    {"Pentax.jpg", 8, 8, true, "PENTAX Corporation", "PENTAX K10D", "2008:03:02 12:01:23", 0.01, 13, 10, 8, 3008, 2000, false, 0, "", 0, ""},
    {"PhotoMechanic.jpg", 8, 8, false, "", "", "", 0, 0, 0, -1, 0, 0, false, 0, "", 0, ""},
    {"Reagan.jpg", 200, 130, true, "NIKON CORPORATION", "NIKON D1X", "2004:06:21 23:37:53", 0.008, 5, 42, 1, 200, 130, false, 0, "", 0, ""},
    {"Sony.jpg", 8, 8, true, "SONY", "DSC-F828", "2003:12:18 13:51:33", 0.004, 7.1, 12.5, 1, 3264, 2448, false, 0, "", 0, ""},
    {"XMP.jpg", 8, 8, true, "FUJIFILM", "FinePix2400Zoom", "2001:05:19 18:36:41", 0, 3.5, 6, 1, 100, 80, false, 0, "", 0, ""},
    {"exif-200dpcm.jpg", 200, 200, true, "", "", "", 0, 0, 0, 1, 200, 200, false, 0, "", 0, ""},
    {"exiv2-bug1137.jpg", 180, 180, false, "", "", "", 0, 0, 0, -1, 0, 0, false, 0, "", 0, ""},
    {"exiv2-bug1231b.jpg", 1, 1, true, "Canon", "Canon PowerShot SX240 HS", "2016:12:03 20:18:13", 1, 3.5, 4.5, 1, 2816, 2112, false, 0, "", 0, ""},
    {"exiv2-bug876.jpg", 1500, 1000, true, "Canon", "Canon EOS 6D", "2013:01:11 13:02:14", 0.6, 2, 35, 1, 1500, 1000, false, 0, "", 0, ""},
    {"exiv2-canon-eos-20d.jpg", 150, 91, true, "Canon", "Canon EOS 20D", "2006:08:02 21:53:01", 0.01666666667, 5.6, 95, 1, 3504, 2336, false, 0, "", 0, ""},
    {"exiv2-canon-eos-300d.jpg", 150, 91, true, "Canon", "Canon EOS 300D DIGITAL", "2003:09:26 08:19:51", 0.0125, 5.6, 18, 6, 3072, 2048, false, 0, "", 0, ""},
    {"exiv2-canon-powershot-a520.jpg", 150, 91, true, "Canon", "Canon PowerShot A520", "2006:01:28 10:51:28", 0.001, 4, 5.8125, 1, 2272, 1704, false, 0, "", 0, ""},
    {"exiv2-canon-powershot-s40.jpg", 150, 91, true, "Canon", "Canon PowerShot S40", "2003:12:14 12:01:44", 0.002, 4.9, 21.3125, 1, 2272, 1704, false, 0, "", 0, ""},
    {"exiv2-fujifilm-finepix-s2pro.jpg", 150, 91, true, "FUJIFILM", "FinePixS2Pro", "2003:09:26 23:16:36", 0.01666666667, 4, 28, 1, 3024, 2016, false, 0, "", 0, ""},
    {"exiv2-kodak-dc210.jpg", 150, 91, true, "Eastman Kodak Company", "DC210 Zoom (V05.00)", "2000:10:26 16:46:51", 0.03333333333, 4, 4.4, 1, 0, 0, false, 0, "", 0, ""},
    {"hopper_gray.jpg", 128, 128, false, "", "", "", 0, 0, 0, -1, 0, 0, false, 0, "", 0, ""},
    {"hopper_orientation_6.jpg", 128, 128, true, "", "", "", 0, 0, 0, 6, 0, 0, false, 0, "", 0, ""},
    {"icc_profile_big.jpg", 425, 250, false, "", "", "", 0, 0, 0, -1, 0, 0, false, 0, "", 0, ""},
    {"img_F028c_small.jpg", 591, 400, true, "Canon", "Canon EOS 400D DIGITAL", "2009:04:04 20:06:33", 0.01666666667, 5, 39, 1, 591, 400, false, 0, "", 0, ""},
    {"iptc-noAPP13.jpg", 420, 300, false, "", "", "", 0, 0, 0, -1, 0, 0, false, 0, "", 0, ""},
    {"iptc-psAPP13-wIPTC1-psAPP13-wIPTC2.jpg", 420, 300, true, "", "", "", 0, 0, 0, 1, 420, 300, false, 0, "", 0, ""},
    {"iptc-staff-photographer-example.jpg", 516, 350, true, "", "", "", 0, 0, 0, 1, 516, 350, false, 0, "", 0, ""},
    {"photoshop-200dpi.jpg", 200, 200, true, "", "", "", 0, 0, 0, 1, 200, 200, false, 0, "", 0, ""},
    {"pil_sample_cmyk.jpg", 100, 100, true, "", "", "", 0, 0, 0, 1, 100, 100, false, 0, "", 0, ""},
    {"truncated_jpeg.jpg", 100, 100, false, "", "", "", 0, 0, 0, -1, 0, 0, false, 0, "", 0, ""},
};

// Deliberately broken files: read without harm, no values checked.
const char* const kOddJpegs[] = {"0x00-to-0xFF-between-segments.jpg", "exiv2-bug1247.jpg",
                                 "issue_ghsa_g44w_q3vm_gwjq_poc.jpg", "Issue_247-1.nef"};

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The reference tool shows texts without trailing blanks and zero bytes; the record keeps them.
std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
    return text;
}

void ExpectRelativelyNear(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << what;
}

TEST(CorpusJpeg, ParametersMatchTheReferenceValues) {
    VELMORA_REQUIRE_CORPUS();
    for (const CorpusJpeg& c : kCorpusJpegs) {
        SCOPED_TRACE(c.file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(c.file));
        const TIOParamsVals& p = io.Params;
        ASSERT_EQ(p.FileType, 3);
        EXPECT_EQ(p.Width, c.width);
        EXPECT_EQ(p.Height, c.height);
        EXPECT_EQ(p.EXIF_HasEXIF, c.hasExif);
        EXPECT_EQ(Trimmed(p.EXIF_Make), c.make);
        EXPECT_EQ(Trimmed(p.EXIF_Model), c.model);
        EXPECT_EQ(Trimmed(p.EXIF_DateTimeOriginal), c.dateTimeOriginal);
        ExpectRelativelyNear(p.EXIF_ExposureTime, c.exposureTime, "ExposureTime");
        ExpectRelativelyNear(p.EXIF_FNumber, c.fNumber, "FNumber");
        ExpectRelativelyNear(p.EXIF_FocalLength, c.focalLength, "FocalLength");
        if (c.orientation >= 0) {
            EXPECT_EQ(p.EXIF_Orientation, c.orientation);
        }
        EXPECT_EQ(p.EXIF_ExifImageWidth, c.exifImageWidth);
        EXPECT_EQ(p.EXIF_ExifImageHeight, c.exifImageHeight);
        if (c.gps) {
            ExpectRelativelyNear(p.EXIF_GPSLatitudeDegrees + p.EXIF_GPSLatitudeMinutes / 60 +
                                     p.EXIF_GPSLatitudeSeconds / 3600,
                                 c.latitude, "latitude");
            ExpectRelativelyNear(p.EXIF_GPSLongitudeDegrees + p.EXIF_GPSLongitudeMinutes / 60 +
                                     p.EXIF_GPSLongitudeSeconds / 3600,
                                 c.longitude, "longitude");
            EXPECT_EQ(Trimmed(p.EXIF_GPSLatitudeRef), c.latitudeRef);
            EXPECT_EQ(Trimmed(p.EXIF_GPSLongitudeRef), c.longitudeRef);
        } else {
            EXPECT_EQ(p.EXIF_GPSLatitudeDegrees, 0.0);
        }
    }
}

TEST(CorpusJpeg, CanonMakerNoteAndExifThumbnailsAreKept) {
    VELMORA_REQUIRE_CORPUS();
    {
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile("Canon.jpg"));
        const TTagsHandler& makerNote = io.Params.EXIF_MakerNote;
        ASSERT_GT(makerNote.DataSize(), 0);
        // Camera settings (tag 1, 46 shorts) and shot info (tag 4, 33 shorts) as the reference
        // tool dumps them.
        const std::vector<int32_t> settings = makerNote.GetIntegerArray(1);
        ASSERT_EQ(settings.size(), 46u);
        EXPECT_EQ(settings[0], 92);
        EXPECT_EQ(settings[3], 4);
        EXPECT_EQ(settings[7], 3);
        EXPECT_EQ(settings[17], 5);
        const std::vector<int32_t> shotInfo = makerNote.GetIntegerArray(4);
        ASSERT_EQ(shotInfo.size(), 33u);
        EXPECT_EQ(shotInfo[0], 66);
        EXPECT_EQ(shotInfo[2], 160);
        EXPECT_EQ(shotInfo[4], 244);
    }
    struct Thumbnail {
        const char* file;
        int width, height;
    };
    // The thumbnail of exiv2-canon-eos-300d.jpg is stored 160 x 120 and turned upright by
    // its orientation 6.
    for (const Thumbnail& t : {Thumbnail{"Reagan.jpg", 160, 104}, Thumbnail{"exiv2-canon-eos-20d.jpg", 160, 120},
                               Thumbnail{"exiv2-canon-eos-300d.jpg", 120, 160}}) {
        SCOPED_TRACE(t.file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(t.file));
        ASSERT_TRUE(io.Params.EXIF_Bitmap);
        EXPECT_EQ(io.Params.EXIF_Bitmap->Width(), t.width);
        EXPECT_EQ(io.Params.EXIF_Bitmap->Height(), t.height);
    }
}

TEST(CorpusJpeg, EveryFileIsReadWithoutHarmAlsoInFull) {
    VELMORA_REQUIRE_CORPUS();
    std::vector<std::string> files(std::begin(kOddJpegs), std::end(kOddJpegs));
    for (const CorpusJpeg& c : kCorpusJpegs) files.push_back(c.file);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(file));

        TFileStream stream(test::CorpusFile(file));
        TIOParamsVals params;
        TImageBitmap bitmap;
        bool aborting = false;
        TProgressRec progress;
        progress.Aborting = &aborting;
        JpegReadOptions options;
        options.parametersOnly = false;
        ReadJPegStream(stream, nullptr, bitmap, params, progress, options);
        if (!aborting) {
            EXPECT_EQ(bitmap.Width(), params.Width);
            EXPECT_EQ(bitmap.Height(), params.Height);
        }
    }
}

TEST(CorpusJpeg, EveryTruncationIsReadWithoutHarm) {
    VELMORA_REQUIRE_CORPUS();
    for (const char* file : {"Canon.jpg", "GPS.jpg", "Reagan.jpg", "issue_ghsa_g44w_q3vm_gwjq_poc.jpg"}) {
        SCOPED_TRACE(file);
        const std::vector<uint8_t> bytes = FileBytes(test::CorpusFile(file));
        ASSERT_FALSE(bytes.empty());
        // Every length through the metadata, then every 97th through the pixel data.
        for (size_t length = 0; length < bytes.size(); length += length < 12000 ? 1 : 97) {
            TMemoryStream stream(bytes.data(), length);
            TImageIO io;
            io.ParamsFromStream(stream);
            if (io.Params.FileType == 3) {
                EXPECT_GT(io.Params.Width, 0) << length;
            }
        }
    }
}

}  // namespace
}  // namespace velmora
