// The real GIF, BMP, ICO, CUR, PCX, DCX, WBMP, PNM and TGA files of the corpus through
// ParamsFromFile. Reference values: exiftool where it knows the format and reads it right,
// otherwise the corpus README and the files' own headers.
#include <gtest/gtest.h>

#include "params/format_registry.h"
#include "params/image_io.h"
#include "params/user_locale.h"
#include "tests/support/corpus.h"
#include "tests/support/corpus_images.h"

namespace velmora {
namespace {

const test::CorpusImage kFiles[] = {
    // GIF: the first frame's size and the bits of its colour table.
    {"GIF.gif", ioGIF, 8, 8, 8, 1},
    {"multiple_comments.gif", ioGIF, 100, 100, 1, 1},
    {"star.gif", ioGIF, 159, 159, 4, 1},
    {"second_frame_comment.gif", ioGIF, 1, 1, 8, 1},
    {"pbar-ani-invalid-XMP.gif", ioGIF, 48, 22, 4, 1},
    {"test.gif", ioGIF, 300, 320, 8, 1},
    // BMP (bit depth 16 is reported as three 5-bit samples).
    {"BMP.bmp", ioBMP, 8, 8, 8, 1},
    {"bmpsuite-g-pal4rle.bmp", ioBMP, 127, 64, 4, 1},
    {"bmpsuite-g-pal8rle.bmp", ioBMP, 127, 64, 8, 1},
    {"bmpsuite-g-pal8os2.bmp", ioBMP, 127, 64, 8, 1},
    {"bmpsuite-q-pal8os2v2.bmp", ioBMP, 127, 64, 8, 1},
    {"bmpsuite-g-pal8v4.bmp", ioBMP, 127, 64, 8, 1},
    {"bmpsuite-g-pal8v5.bmp", ioBMP, 127, 64, 8, 1},
    {"bmpsuite-g-pal8topdown.bmp", ioBMP, 127, 64, 8, 1},
    {"bmpsuite-g-rgb16-565.bmp", ioBMP, 127, 64, 5, 3},
    {"bmpsuite-q-rgb24prof.bmp", ioBMP, 127, 64, 8, 3},
    {"bmpsuite-q-rgba32h56.bmp", ioBMP, 127, 64, 8, 4},
    {"bmpsuite-b-badheadersize.bmp", ioBMP, 127, 64, 1, 1},
    {"bmpsuite-b-shortfile.bmp", ioBMP, 127, 64, 1, 1},
    {"test-72_6-dpi.bmp", ioBMP, 50, 50, 8, 3},
    // ICO: the first image below 256 pixels; CUR: the first entry (depth as stored, one sample).
    {"ICO.ico", ioICO, 1, 1, 1, 1},
    {"python.ico", ioICO, 16, 16, 8, 4},
    {"pillow.ico", ioICO, 48, 48, 8, 4},
    {"deerstalker.cur", ioCUR, 32, 32, 32, 1},
    {"fixture.cur", ioCUR, 60, 60, 32, 1},
    // PCX and DCX: bits per plane and planes (1 bit in 4 planes is one 4-bit sample).
    {"PCX.pcx", ioPCX, 8, 8, 8, 3},
    {"pil184.pcx", ioPCX, 447, 144, 1, 1},
    {"01r_00.pcx", ioPCX, 88, 52, 8, 1},
    {"1plane1bppUncompressed.pcx", ioPCX, 10, 10, 1, 1},
    {"1plane4bppCompressed.pcx", ioPCX, 10, 10, 4, 1},
    {"4plane1bppCompressed.pcx", ioPCX, 10, 10, 4, 1},
    {"CGA_RGBI.PCX", ioPCX, 320, 200, 2, 1},
    {"hopper.dcx", ioDCX, 128, 128, 8, 3},
    // PNM
    {"PPM.ppm", ioPXM, 8, 8, 8, 3},
    {"gimp-export-ascii.pbm", ioPXM, 32, 16, 1, 1},
    {"gimp-export-raw.pbm", ioPXM, 32, 16, 1, 1},
    {"gimp-export-ascii.pgm", ioPXM, 32, 16, 8, 1},
    {"gimp-export-raw.pgm", ioPXM, 32, 16, 8, 1},
    {"16_bit_binary.pgm", ioPXM, 20, 100, 16, 1},
    // WBMP
    {"Oregon_Scientific_DS6639_-_DSC_0307_-_small.wbmp", ioWBMP, 300, 225, 1, 1},
    // TGA (grey with alpha is two 8-bit samples)
    {"p_16.tga", ioTGA, 128, 128, 8, 1},
    {"tga_id_field.tga", ioTGA, 100, 100, 8, 3},
    {"200x32_rgb_bl_rle.tga", ioTGA, 200, 32, 8, 3},
    {"200x32_la_tl_raw.tga", ioTGA, 200, 32, 8, 2},
    {"200x32_p_tl_rle.tga", ioTGA, 200, 32, 8, 1},
    {"BUMPMAP2.TGA", ioTGA, 150, 150, 8, 1},
    {"cross_scan_line_truncated.tga", ioTGA, 64, 64, 8, 1},
};

TEST(CorpusFormatsA, EveryFileIsDetectedAndReportsItsSizeAndDepth) {
    VELMORA_REQUIRE_CORPUS();
    for (const test::CorpusImage& e : kFiles) {
        SCOPED_TRACE(e.file);
        test::ExpectImageParams(e);
    }
}

TEST(CorpusFormatsA, BrokenFilesAreRefused) {
    VELMORA_REQUIRE_CORPUS();
    // A fuzzed PCX header (encoding byte 32, empty window) and an OS/2 bitmap array ("BA").
    for (const char* file : {"ossfuzz-4836216264589312.pcx", "bmpsuite-x-ba-bm.bmp"}) {
        SCOPED_TRACE(file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(file));
        EXPECT_EQ(io.Params.FileType, ioUnknown);
    }
}

TEST(CorpusFormatsA, FormatFieldsOfGifFiles) {
    VELMORA_REQUIRE_CORPUS();
    const struct {
        const char* file;
        int32_t frames, screenWidth;
        std::vector<std::string> comments;
    } cases[] = {
        {"multiple_comments.gif", 5, 100,
         {"Test comment 1", "Test comment 2", "Test comment 3", "Test comment 3", "Test comment 4"}},
        {"star.gif", 4, 159, {"Created with GIMP"}},
        {"second_frame_comment.gif", 3, 1, {"Comment in the second frame"}},
        {"pbar-ani-invalid-XMP.gif", 23, 48, {}},
        {"test.gif", 1, 301, {"Software: Microsoft Office"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(c.file));
        EXPECT_EQ(io.Params.ImageCount, c.frames);
        EXPECT_EQ(io.Params.GIF_WinWidth, c.screenWidth);
        EXPECT_EQ(io.Params.GIF_Comments, c.comments);
    }
}

TEST(CorpusFormatsA, ResolutionsPalettesAndVersions) {
    VELMORA_REQUIRE_CORPUS();
    const struct {
        const char* file;
        int32_t dpiX, dpiY, colors;
    } cases[] = {
        {"BMP.bmp", 72, 72, 256},
        {"bmpsuite-g-pal4rle.bmp", 72, 72, 12},
        {"bmpsuite-g-pal8os2.bmp", 300, 300, 256},
        {"test-72_6-dpi.bmp", 73, 73, 0},
        {"ICO.ico", 300, 300, 2},
        {"pil184.pcx", 298, 298, 2},
        {"01r_00.pcx", 320, 200, 0},
        {"4plane1bppCompressed.pcx", 300, 300, 16},
        {"hopper.dcx", 300, 300, 0},
        {"BUMPMAP2.TGA", 300, 300, 256},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TImageIO io;
        io.ParamsFromFile(test::CorpusFile(c.file));
        EXPECT_EQ(io.Params.DpiX, c.dpiX);
        EXPECT_EQ(io.Params.DpiY, c.dpiY);
        EXPECT_EQ(io.Params.ColorMapCount, c.colors);
    }

    TImageIO io;
    io.ParamsFromFile(test::CorpusFile("bmpsuite-q-pal8os2v2.bmp"));
    EXPECT_EQ(io.Params.BMP_Version, ioBMP_BMOS2V2);
    io.ParamsFromFile(test::CorpusFile("bmpsuite-g-pal8rle.bmp"));
    EXPECT_EQ(io.Params.BMP_Compression, ioBMP_RLE);
    EXPECT_EQ(io.Params.BMP_Version, ioBMP_BM3);
    io.ParamsFromFile(test::CorpusFile("bmpsuite-g-pal8v5.bmp"));
    EXPECT_EQ(io.Params.BMP_Version, ioBMP_BM);
    io.ParamsFromFile(test::CorpusFile("pillow.ico"));
    EXPECT_EQ(io.Params.ICO_Sizes[0], (TICOSize{48, 48}));
    EXPECT_EQ(io.Params.ICO_Sizes[3], (TICOSize{16, 16}));
    EXPECT_EQ(io.Params.ICO_BitCount[0], 32);
    io.ParamsFromFile(test::CorpusFile("PPM.ppm"));
    EXPECT_EQ(io.Params.PXM_Comments, std::vector<std::string>{"ExifTool PPM test"});
}

TEST(CorpusFormatsA, TgaExtensionAreaAndIdentificationField) {
    VELMORA_REQUIRE_CORPUS();
    TImageIO io;
    io.ParamsFromFile(test::CorpusFile("p_16.tga"));
    EXPECT_EQ(io.Params.TGA_Author, "Manuel Fombuena");
    EXPECT_EQ(io.Params.TGA_Descriptor, "Pillow test suite sample image");
    int year, month, day, hour, minute, second;
    ASSERT_TRUE(DecodeDateTime(io.Params.TGA_Date, year, month, day, hour, minute, second));
    EXPECT_EQ((std::vector<int>{year, month, day, hour}), (std::vector<int>{2020, 8, 2, 23}));
    EXPECT_TRUE(io.Params.TGA_Compressed == false);

    io.ParamsFromFile(test::CorpusFile("tga_id_field.tga"));
    EXPECT_EQ(io.Params.TGA_Descriptor, "foobar");
    io.ParamsFromFile(test::CorpusFile("BUMPMAP2.TGA"));
    EXPECT_EQ(io.Params.TGA_Date, TodayDate());
}

}  // namespace
}  // namespace velmora
