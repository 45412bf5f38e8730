#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/format_registry.h"
#include "params/image_io.h"
#include "tests/support/byte_writer.h"
#include "tests/support/header_fixtures.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::BeBytes;
using test::LeBytes;
using Bytes = std::vector<uint8_t>;

Bytes RiffChunk(const std::string& id, const Bytes& data) {
    return LeBytes().Text(id).U32(uint32_t(data.size())).Bytes(data);
}

// An AVI of 12 frames at 25 frames per second, 64 x 48, 24 bits.
Bytes SmallAvi() {
    const Bytes strh =
        RiffChunk("strh", LeBytes().Text("vidsMJPG").Fill(12, 0).U32(1).U32(25).U32(0).U32(12).Fill(20, 0));
    const Bytes strf = RiffChunk("strf", LeBytes().U32(40).U32(64).U32(48).U16(1).U16(24).Fill(24, 0));
    const Bytes strl = RiffChunk("LIST", LeBytes().Text("strl").Bytes(strh).Bytes(strf));
    const Bytes hdrl = RiffChunk("LIST", LeBytes().Text("hdrl").Bytes(RiffChunk("avih", Bytes(56, 0))).Bytes(strl));
    return RiffChunk("RIFF", LeBytes().Text("AVI ").Bytes(hdrl));
}

// A PSD of 8 x 6 pixels whose resolution resource states 0 pixels per inch.
Bytes PsdWithZeroResolution() {
    BeBytes resolution;
    resolution.Text("8BIM").U16(1005).U16(0).U32(16).U32(0).U16(1).U16(1).U32(0).U16(1).U16(1);
    BeBytes b;
    b.Text("8BPS").U16(1).Fill(6, 0).U16(3).U32(6).U32(8).U16(8).U16(3).U32(0);
    b.U32(uint32_t(resolution.Size())).Bytes(resolution).U32(0).U16(0).Fill(8 * 6 * 3, 0);
    return b;
}

// A record that holds values of an earlier file.
void FillEarlierFile(TImageIO& io) {
    io.Params.FileName = "earlier.jpg";
    io.Params.FileType = ioJPEG;
    io.Params.Width = 11;
    io.Params.XMP_Info = "earlier";
}

void ExpectEarlierFileKept(const TImageIO& io) {
    EXPECT_TRUE(io.Aborting);
    EXPECT_EQ(io.Params.FileName, "earlier.jpg");
    EXPECT_EQ(io.Params.FileType, ioJPEG);
    EXPECT_EQ(io.Params.Width, 11);
    EXPECT_EQ(io.Params.XMP_Info, "earlier");
}

TEST(LoadFromFile, AviFileIsOpenedAsAMovieWhateverTheCaseOfItsExtension) {
    test::TempDir dir;
    for (const char* name : {"clip.avi", "CLIP.AVI"}) {
        const std::string path = dir.WriteFile(name, SmallAvi());
        TImageIO io;
        io.LoadFromFile(path);
        EXPECT_FALSE(io.Aborting) << name;
        EXPECT_EQ(io.Params.FileType, ioAVI) << name;
        EXPECT_EQ(io.Params.FileName, path) << name;
        EXPECT_EQ(io.Params.AVI_FrameCount, 12) << name;
        EXPECT_EQ(io.Params.AVI_FrameDelayTime, 40) << name;
        EXPECT_EQ(io.Params.Width, 64) << name;
        EXPECT_EQ(io.Params.Height, 48) << name;
    }
}

TEST(LoadFromFile, FailedMovieIsReportedAndNotTakenForAnAvi) {
    test::TempDir dir;
    const std::string path = dir.WriteFile("broken.avi", std::string("RIFF....WAVEfmt "));
    TImageIO io;
    io.LoadFromFile(path);
    EXPECT_TRUE(io.Aborting);
    EXPECT_EQ(io.Params.FileType, ioUnknown);
    EXPECT_EQ(io.Params.FileName, path);
    EXPECT_EQ(io.Params.AVI_FrameCount, 0);
}

TEST(LoadFromFile, NamesThatCannotBeLoadedKeepTheRecord) {
    test::TempDir dir;
    const std::string names[] = {dir.WriteFile("notes.xyz", std::string("text")),
                                 dir.WriteFile("noextension", std::string("x")),
                                 dir.WriteFile("paper.pdf", std::string("%PDF-1.4")),
                                 std::string("HTTP://example.invalid/picture.png")};
    for (const std::string& name : names) {
        TImageIO io;
        FillEarlierFile(io);
        io.LoadFromFile(name);
        ExpectEarlierFileKept(io);
    }
}

TEST(LoadFromFile, FormatComesFromTheExtensionAndLowResolutionBecomesTheDefault) {
    test::TempDir dir;
    const std::string path = dir.WriteFile("picture.psd", PsdWithZeroResolution());

    TImageIO io;
    io.ParamsFromFile(path);
    ASSERT_EQ(io.Params.FileType, ioPSD);
    EXPECT_EQ(io.Params.DpiX, 0);

    FillEarlierFile(io);
    io.LoadFromFile(path);
    EXPECT_FALSE(io.Aborting);
    EXPECT_EQ(io.Params.FileType, ioPSD);
    EXPECT_EQ(io.Params.FileName, path);
    EXPECT_EQ(io.Params.Width, 8);
    EXPECT_EQ(io.Params.XMP_Info, "");  // reset before reading
    EXPECT_EQ(io.Params.DpiX, 300);
    EXPECT_EQ(io.Params.DpiY, 300);
    EXPECT_EQ(io.Params.EXIF_XResolution, 300);

    // The same bytes under another format's extension are read by that format's reader.
    const std::string misnamed = dir.WriteFile("picture.png", PsdWithZeroResolution());
    io.LoadFromFile(misnamed);
    EXPECT_TRUE(io.Aborting);
    EXPECT_EQ(io.Params.FileType, ioUnknown);
    EXPECT_EQ(io.Params.FileName, misnamed);
}

TEST(LoadFromFile, MissingFileIsReportedAsAFailure) {
    test::TempDir dir;
    TImageIO io;
    io.LoadFromFile(dir.Path() + "absent.png");
    EXPECT_TRUE(io.Aborting);
    EXPECT_EQ(io.Params.FileType, ioUnknown);
}

}  // namespace
}  // namespace velmora
