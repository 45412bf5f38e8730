#include "params/raw_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/format_detection.h"
#include "params/format_registry.h"
#include "params/image_io.h"
#include "params/io_params.h"
#include "params/stream.h"
#include "tests/support/byte_writer.h"
#include "tests/support/ciff_builder.h"
#include "tests/support/jpeg_fixtures.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using Bytes = std::vector<uint8_t>;

using test::LeBytes;

// A Foveon X3F file: header with the image size, one property section, the section directory
// and the directory's position in the last 4 bytes.
Bytes X3f(uint32_t columns, uint32_t rows, const std::vector<std::pair<std::u16string, std::u16string>>& properties) {
    LeBytes f;
    f.Text("FOVb").U32(0x00020002).Text(std::string(16, '1')).U32(0).U32(columns).U32(rows).U32(0);
    const uint32_t section = f.Size();
    LeBytes chars;
    std::vector<uint32_t> offsets;
    for (const auto& [name, value] : properties) {
        offsets.push_back(chars.Size() / 2);
        chars.Wide(name);
        offsets.push_back(chars.Size() / 2);
        chars.Wide(value);
    }
    f.Text("SECp").U32(0x00020000).U32(uint32_t(properties.size())).U32(0).U32(0).U32(chars.Size() / 2);
    for (uint32_t o : offsets) f.U32(o);
    f.Bytes(chars.Data());
    const uint32_t sectionLength = f.Size() - section;
    const uint32_t directory = f.Size();
    f.Text("SECd").U32(0x00020000).U32(2);
    f.U32(0).U32(0).Text("IMAG");
    f.U32(section).U32(sectionLength).Text("PROP");
    f.U32(directory);
    return f.Data();
}

Bytes SigmaSd10() { return X3f(2268, 1512, {{u"ISO", u"100"}, {u"CAMMANUF", u"SIGMA"}, {u"CAMMODEL", u"SIGMA SD10"}}); }

struct IfdEntry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    Bytes data;  // little-endian values; more than 4 bytes go after the directory
};

// Appends a directory at the end of f and returns the position of its next-directory field.
size_t AppendIfd(LeBytes& f, const std::vector<IfdEntry>& entries) {
    const uint32_t dataStart = f.Size() + 2 + 12 * uint32_t(entries.size()) + 4;
    LeBytes outOfLine;
    f.U16(uint16_t(entries.size()));
    for (const IfdEntry& e : entries) {
        f.U16(e.tag).U16(e.type).U32(e.count);
        if (e.data.size() <= 4) {
            Bytes inline4 = e.data;
            inline4.resize(4, 0);
            f.Bytes(inline4);
        } else {
            f.U32(dataStart + outOfLine.Size());
            outOfLine.Bytes(e.data);
            if (outOfLine.Size() % 2) outOfLine.U8(0);
        }
    }
    const size_t next = f.Size();
    f.U32(0).Bytes(outOfLine.Data());
    return next;
}

Bytes Ascii(const std::string& s) {
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
}
Bytes Le16(uint16_t v) { return LeBytes().U16(v).Data(); }
Bytes Le32(uint32_t v) { return LeBytes().U32(v).Data(); }
Bytes Rational(uint32_t n, uint32_t d) { return LeBytes().U32(n).U32(d).Data(); }

// A Canon CR2 header ("II", 42, "CR" version 2) whose raw image data was stripped: IFD0 names
// the camera (its make padded with zero bytes) and gives 72 dpi, IFD1 holds a JPEG thumbnail.
Bytes Cr2WithoutRawData(const Bytes& thumbnail) {
    LeBytes f;
    f.Text("II").U16(42).U32(16).Text("CR").U16(2).U32(0);
    const size_t next = AppendIfd(f, {{256, 3, 1, Le16(100)},
                                      {257, 3, 1, Le16(80)},
                                      {271, 2, 8, Ascii(std::string("Canon\0\0", 7))},
                                      {272, 2, 15, Ascii("Canon EOS Test")},
                                      {282, 5, 1, Rational(72, 1)},
                                      {283, 5, 1, Rational(72, 1)},
                                      {296, 3, 1, Le16(2)}});
    f.PatchU32(next, f.Size());
    const uint32_t jpegAt = f.Size() + 2 + 3 * 12 + 4;
    AppendIfd(f, {{259, 3, 1, Le16(6)}, {513, 4, 1, Le32(jpegAt)}, {514, 4, 1, Le32(uint32_t(thumbnail.size()))}});
    f.Bytes(thumbnail);
    return f.Data();
}

struct ReadResult {
    bool aborted = false;
};

ReadResult Read(const Bytes& file, TIOParamsVals& params, bool parametersOnly = true, TImageBitmap* bitmap = nullptr) {
    TMemoryStream stream(file);
    stream.Seek(5);
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    ReadCameraRAWStream(stream, bitmap, params, progress, parametersOnly);
    EXPECT_EQ(stream.Position(), 5);
    return {aborting};
}

TEST(RawReaderTest, IdentifiedFileGetsCameraDefaultResolutionAndTrimmedSize) {
    TIOParamsVals params;
    params.SetColorMap({TRGB{}, TRGB{}});
    ASSERT_FALSE(Read(SigmaSd10(), params).aborted);
    EXPECT_EQ(params.RAW_Camera, "SIGMA SIGMA SD10 ");
    EXPECT_EQ(params.Width, 2266);
    EXPECT_EQ(params.Height, 1510);
    EXPECT_EQ(params.DpiX, 300);
    EXPECT_EQ(params.DpiY, 300);
    EXPECT_EQ(params.ColorMapCount, 0);
    EXPECT_TRUE(params.ColorMap.empty());
    EXPECT_FALSE(params.EXIF_HasEXIF);

    // A decoder size below 2 gives 0, not a negative size.
    TIOParamsVals tiny;
    ASSERT_FALSE(Read(X3f(1, 0, {}), tiny).aborted);
    EXPECT_EQ(tiny.Width, 0);
    EXPECT_EQ(tiny.Height, 0);
    EXPECT_EQ(tiny.RAW_Camera, "  ");
}

TEST(RawReaderTest, TiffStructuredFileNamesItsCameraByItsOwnTags) {
    const Bytes file = Cr2WithoutRawData(test::EncodeJpeg({.width = 16, .height = 8}));
    TIOParamsVals params;
    ASSERT_FALSE(Read(file, params).aborted);
    EXPECT_TRUE(params.EXIF_HasEXIF);
    EXPECT_EQ(params.EXIF_Model, "Canon EOS Test");
    EXPECT_EQ(params.RAW_Camera.rfind("Canon Canon EOS Test ", 0), 0u) << params.RAW_Camera;
    // The file says 72 dpi; the raw decoder's resolution replaces it.
    EXPECT_EQ(params.DpiX, 300);
    EXPECT_EQ(params.DpiY, 300);
    EXPECT_EQ(params.EXIF_XResolution, 300);
    ASSERT_TRUE(params.EXIF_Bitmap);
    EXPECT_EQ(params.EXIF_Bitmap->Width(), 16);

    // A full load that asks for the thumbnail gets it as its image.
    TIOParamsVals full;
    full.SetRAW_GetExifThumbnail(true);
    TImageBitmap bitmap;
    ASSERT_FALSE(Read(file, full, /*parametersOnly=*/false, &bitmap).aborted);
    EXPECT_EQ(bitmap.Width(), 16);
    EXPECT_EQ(bitmap.Height(), 8);
}

TEST(RawReaderTest, DataTheDecoderDoesNotIdentifyAbortsAndKeepsTheEXIFRead) {
    // A CIFF file without raw image data: the heaps are read, the decoder refuses the file.
    test::CiffHeap root;
    root.Data(0x080A, Bytes{'C', 'a', 'n', 'o', 'n', 0, 'X', 0});
    TIOParamsVals params;
    EXPECT_TRUE(Read(test::BuildCiffFile(root, true), params).aborted);
    EXPECT_EQ(params.EXIF_Make, "Canon");
    EXPECT_EQ(params.RAW_Camera, "");

    for (const Bytes& junk : {Bytes{}, Bytes(10, 0), Bytes(5000, 'a')}) {
        TIOParamsVals other;
        EXPECT_TRUE(Read(junk, other).aborted) << junk.size();
    }
}

TEST(RawReaderTest, DetectionAndParameterLoadingReadRawFiles) {
    TMemoryStream stream(SigmaSd10());
    EXPECT_EQ(FindStreamFormat(stream), ioRAW);
    TMemoryStream text(Bytes(5000, 'a'));
    EXPECT_EQ(FindStreamFormat(text), ioUnknown);

    test::TempDir dir;
    const std::string path = dir.WriteFile("camera.x3f", SigmaSd10());
    TImageIO io;
    io.ParamsFromFile(path);
    EXPECT_EQ(io.Params.FileType, ioRAW);
    EXPECT_EQ(io.Params.FileName, path);
    EXPECT_EQ(io.Params.RAW_Camera, "SIGMA SIGMA SD10 ");
    EXPECT_EQ(io.Params.GetFileTypeStr().rfind("Camera RAW (CRW) (SIGMA SIGMA SD10", 0), 0u) << io.Params.GetFileTypeStr();
}

}  // namespace
}  // namespace velmora
