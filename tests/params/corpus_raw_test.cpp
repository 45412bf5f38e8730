// The camera raw files of the corpus through the raw reader. Reference makes and models were
// taken with exiftool 12.57 (the EXIF IFD0 group, or the CIFF and X3F groups where a file has
// no EXIF directory).
#include <gtest/gtest.h>

#include <string>

#include "params/format_detection.h"
#include "params/format_registry.h"
#include "params/image_io.h"
#include "params/stream.h"
#include "tests/support/corpus.h"

namespace velmora {
namespace {

struct RawFile {
    const char* file;
    const char* make;
    const char* model;
    bool hasExifMake;  // false: the camera is known only from the file's own raw header
    int32_t byFile;    // FileType that ParamsFromFile leaves; -1 when the extension is not registered
};

const RawFile kRawFiles[] = {
    {"CanonRaw.crw", "Canon", "Canon EOS DIGITAL REBEL", true, ioRAW},
    // A JPEG thumbnail within its first 100 bytes makes the content JPEG; the raw extension lets
    // the raw decoder decide.
    {"exiv2-canon-powershot-s40.crw", "Canon", "Canon PowerShot S40", true, ioRAW},
    {"CanonRaw.cr2", "Canon", "Canon EOS 350D DIGITAL", true, ioRAW},
    {"Nikon.nef", "NIKON CORPORATION", "NIKON D70", true, ioRAW},
    {"FujiFilm.raf", "FUJIFILM", "FinePix S5Pro", true, ioRAW},
    {"Sigma.x3f", "SIGMA", "SIGMA SD10", false, ioRAW},
    {"SigmaDP2.x3f", "SIGMA", "SIGMA DP2", true, ioRAW},
    {"Minolta.mrw", "Konica Minolta Camera, Inc.", "DiMAGE A2", true, ioRAW},
    {"DNG.dng", "Canon", "Canon EOS 350D DIGITAL", true, -1},
    {"IMG_1361.dng", "Apple", "iPhone 12 Pro", true, -1},
    {"CanonRaw.cr3", "Canon", "Canon EOS M50", true, -1},
    {"Panasonic.rw2", "Panasonic", "DMC-LX3", true, -1},
};

// A text as a person reads it: up to a zero byte, without trailing blanks.
std::string Shown(const std::string& text) {
    std::string shown = text.substr(0, text.find('\0'));
    shown.erase(shown.find_last_not_of(' ') + 1);
    return shown;
}

TEST(CorpusRawTest, EveryRawFileShowsItsCameraAndEXIFMakeAndModel) {
    VELMORA_REQUIRE_CORPUS();
    for (const RawFile& f : kRawFiles) {
        SCOPED_TRACE(f.file);
        TFileStream stream(test::CorpusFile(f.file));
        TImageIO io;
        io.ParamsFromStreamFormat(stream, ioRAW);
        const TIOParamsVals& p = io.Params;
        ASSERT_EQ(p.FileType, ioRAW);
        EXPECT_EQ(p.RAW_Camera.rfind(std::string(f.make) + " " + f.model, 0), 0u) << p.RAW_Camera;
        EXPECT_EQ(Shown(p.EXIF_Make), f.hasExifMake ? f.make : "");
        EXPECT_EQ(Shown(p.EXIF_Model), f.hasExifMake ? f.model : "");
        EXPECT_EQ(p.DpiX, 300);
        EXPECT_EQ(p.DpiY, 300);

        if (f.byFile >= 0) {
            TImageIO byName;
            byName.ParamsFromFile(test::CorpusFile(f.file));
            EXPECT_EQ(byName.Params.FileType, f.byFile);
            if (f.byFile == ioRAW) {
                EXPECT_EQ(byName.Params.RAW_Camera, p.RAW_Camera);
            }
        } else {
            // No registry extension: recognised by content alone.
            stream.Seek(0);
            EXPECT_EQ(FindStreamFormat(stream), ioRAW);
        }
    }
}

TEST(CorpusRawTest, CrwFilesGiveTheirCIFFFieldsMakerNoteAndThumbnail) {
    VELMORA_REQUIRE_CORPUS();
    TFileStream stream(test::CorpusFile("exiv2-canon-powershot-s40.crw"));
    TImageIO io;
    io.ParamsFromStreamFormat(stream, ioRAW);
    const TIOParamsVals& p = io.Params;
    ASSERT_EQ(p.FileType, ioRAW);
    EXPECT_FALSE(p.EXIF_HasEXIF);
    EXPECT_EQ(p.EXIF_Software, "Firmware Version 1.10");
    EXPECT_EQ(p.EXIF_ExifImageWidth, 2272);
    EXPECT_EQ(p.EXIF_ExifImageHeight, 1704);
    // Camera settings (40 values: macro mode 2, quality 4) and shot info (27 values).
    EXPECT_EQ(p.EXIF_MakerNote.TagLength(1), 40u);
    EXPECT_EQ(p.EXIF_MakerNote.GetIntegerIndexed(1, 1), 2);
    EXPECT_EQ(p.EXIF_MakerNote.GetIntegerIndexed(1, 3), 4);
    EXPECT_EQ(p.EXIF_MakerNote.TagLength(4), 27u);
    ASSERT_TRUE(p.EXIF_Bitmap);
    EXPECT_EQ(p.EXIF_Bitmap->Width(), 160);
    EXPECT_EQ(p.EXIF_Bitmap->Height(), 120);
}

TEST(CorpusRawTest, DamagedOrForeignFilesAreNotIdentified) {
    VELMORA_REQUIRE_CORPUS();
    // A JPEG under a raw extension, a 128-byte ORF header, an ARW cut off before its raw data.
    for (const char* file : {"Issue_247-1.nef", "fixture.orf", "fixture-sony-zv-e10.arw"}) {
        TFileStream stream(test::CorpusFile(file));
        TImageIO io;
        io.ParamsFromStreamFormat(stream, ioRAW);
        EXPECT_EQ(io.Params.FileType, ioUnknown) << file;
    }
}

}  // namespace
}  // namespace velmora
