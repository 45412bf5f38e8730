// The real PNG, JPEG 2000, PSD and AVI files of the corpus. Reference values: exiftool, and
// opj_dump for the components of bare JPEG 2000 code streams (which exiftool does not report).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/format_detection.h"
#include "params/format_registry.h"
#include "params/image_io.h"
#include "tests/support/corpus.h"
#include "tests/support/corpus_images.h"

namespace velmora {
namespace {

const test::CorpusImage kFiles[] = {
    {"1343_comment.png", ioPNG, 200, 100, 8, 3},
    {"1343_exif.png", ioPNG, 200, 100, 8, 3},
    {"IMG_20180725_163423-2.png", ioPNG, 40, 30, 8, 3},
    {"PNG.png", ioPNG, 16, 16, 1, 1},
    {"icc_profile.png", ioPNG, 57, 57, 8, 4},
    {"itxt_chunks.png", ioPNG, 2400, 2000, 8, 3},
    {"pil123p.png", ioPNG, 162, 150, 8, 1},
    {"png_with_exif_and_gps.png", ioPNG, 1, 1, 8, 3},
    {"trns-palette8.png", ioPNG, 16, 16, 8, 1},
    {"Jpeg2000.jp2", ioJP2, 16, 16, 8, 3},
    {"Reagan.jp2", ioJP2, 200, 130, 8, 3},
    // Its code stream ends after the main header; the header gives the parameters.
    {"balloon_eciRGBv2_aware.jp2", ioJP2, 2717, 3701, 8, 3},
    {"Jpeg2000.j2c", ioJ2K, 8, 8, 8, 3},
    {"16bit.cropped.j2k", ioJ2K, 64, 64, 16, 1},
    {"8x4x8bit-Grayscale.psd", ioPSD, 8, 4, 8, 1},
    {"Oregon_Scientific_DS6639_-_DSC_0307_-_small.psd", ioPSD, 300, 225, 8, 3},
    {"Photoshop.psd", ioPSD, 8, 8, 8, 3},
    {"exiv2-photoshop.psd", ioPSD, 150, 91, 8, 3},
};

TEST(CorpusFormatsB, EveryFileIsDetectedAndReportsItsSizeAndDepth) {
    VELMORA_REQUIRE_CORPUS();
    for (const test::CorpusImage& e : kFiles) {
        SCOPED_TRACE(e.file);
        EXPECT_EQ(FindFileFormat(test::CorpusFile(e.file), true), e.fileType);
        test::ExpectImageParams(e);
    }
}

TEST(CorpusFormatsB, PngWhoseFirstChunkIsNotTheHeaderIsRefused) {
    VELMORA_REQUIRE_CORPUS();
    TImageIO io;
    io.ParamsFromFile(test::CorpusFile("issue_1817_poc.png"));
    EXPECT_EQ(io.Params.FileType, ioUnknown);
}

TEST(CorpusFormatsB, PngTextsResolutionsPalettesAndInterlacing) {
    VELMORA_REQUIRE_CORPUS();
    const struct {
        const char* file;
        std::vector<std::string> keys;
        int32_t dpi, colors;
        bool interlaced;
    } cases[] = {
        {"1343_comment.png", {"Comment"}, 96, 0, false},
        {"PNG.png", {"comment", "XML:com.adobe.xmp"}, 300, 0, false},
        {"IMG_20180725_163423-2.png", {"Software", "XML:com.adobe.xmp"}, 300, 0, true},
        {"png_with_exif_and_gps.png", {"Make", "Model", "Software", "create-date", "XML:com.adobe.xmp"}, 96, 0, false},
        {"itxt_chunks.png", {"Comment"}, 72, 0, false},
        {"pil123p.png", {}, 300, 256, true},
        {"trns-palette8.png", {}, 300, 19, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(c.file));
        EXPECT_EQ(io.Params.PNG_TextKeys, c.keys);
        EXPECT_EQ(io.Params.PNG_TextValues.size(), c.keys.size());
        EXPECT_EQ(io.Params.DpiX, c.dpi);
        EXPECT_EQ(io.Params.DpiY, c.dpi);
        EXPECT_EQ(io.Params.ColorMapCount, c.colors);
        EXPECT_EQ(io.Params.PNG_Interlaced, c.interlaced);
    }
    TImageIO io;
    io.ParamsFromFile(test::CorpusFile("1343_comment.png"));
    EXPECT_EQ(io.Params.PNG_TextValues, std::vector<std::string>{"Can you read me?"});
}

TEST(CorpusFormatsB, PsdResolutionThumbnailIptcIccAndXmp) {
    VELMORA_REQUIRE_CORPUS();
    const struct {
        const char* file;
        int32_t dpi;
        int thumbnailWidth, thumbnailHeight;  // 0: none
        bool iptc;
    } cases[] = {
        {"8x4x8bit-Grayscale.psd", 300, 8, 4, false},
        {"Oregon_Scientific_DS6639_-_DSC_0307_-_small.psd", 72, 128, 96, true},
        {"Photoshop.psd", 72, 0, 0, true},
        {"exiv2-photoshop.psd", 72, 150, 91, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(c.file));
        const TIOParamsVals& p = io.Params;
        EXPECT_EQ(p.DpiX, c.dpi);
        EXPECT_EQ(p.DpiY, c.dpi);
        EXPECT_FALSE(p.EXIF_HasEXIF);
        if (c.thumbnailWidth != 0) {
            ASSERT_TRUE(p.EXIF_Bitmap);
            EXPECT_EQ(p.EXIF_Bitmap->Width(), c.thumbnailWidth);
            EXPECT_EQ(p.EXIF_Bitmap->Height(), c.thumbnailHeight);
        } else {
            EXPECT_TRUE(!p.EXIF_Bitmap || p.EXIF_Bitmap->IsEmpty());
        }
        EXPECT_EQ(p.IPTC_Info.GetCount() > 0, c.iptc);
        EXPECT_EQ(p.XMP_Info.rfind("<?xpacket begin=", 0), 0u);
    }

    TImageIO io;
    io.ParamsFromFile(test::CorpusFile("Photoshop.psd"));
    const TIPTCInfoList& iptc = io.Params.IPTC_Info;
    EXPECT_EQ(iptc.GetStrings(iptc.IndexOf(2, 120)), "This is a teeny weeny white square");
    EXPECT_EQ(iptc.GetStrings(iptc.IndexOf(2, 80)), "Phil Harvey");
    // An Apple RGB profile: "RGB " data colour space at byte 16 of its header.
    ASSERT_GE(io.Params.InputICC.size(), 128u);
    EXPECT_EQ(std::string(io.Params.InputICC.begin() + 16, io.Params.InputICC.begin() + 20), "RGB ");
}

TEST(CorpusFormatsB, AviFilesAreFoundByContentAndLoadedAsMovies) {
    VELMORA_REQUIRE_CORPUS();
    const struct {
        const char* file;
        int32_t width, height, frames, delay;
    } cases[] = {
        {"RIFF.avi", 320, 240, 233, 66},
        {"Pentax.avi", 1280, 720, 600, 41},
        {"fixture.avi", 640, 356, 1, 42},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = test::CorpusFile(c.file);
        TFileStream stream(path);
        EXPECT_EQ(FindStreamFormat(stream), ioAVI);
        EXPECT_EQ(FindFileFormat(path, true), ioUnknown);

        TImageIO io;
        io.LoadFromFile(path);
        EXPECT_FALSE(io.Aborting);
        const TIOParamsVals& p = io.Params;
        EXPECT_EQ(p.FileType, ioAVI);
        EXPECT_EQ(p.Width, c.width);
        EXPECT_EQ(p.Height, c.height);
        EXPECT_EQ(p.BitsPerSample, 8);
        EXPECT_EQ(p.SamplesPerPixel, 3);
        EXPECT_EQ(p.AVI_FrameCount, c.frames);
        EXPECT_EQ(p.AVI_FrameDelayTime, c.delay);
    }
}

}  // namespace
}  // namespace velmora
