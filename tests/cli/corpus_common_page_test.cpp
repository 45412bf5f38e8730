// Every real file of the corpus through `velmora-info --page common`: the right format is named,
// and nothing crashes or hangs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "tests/support/corpus.h"
#include "tests/support/run_command.h"

namespace velmora {
namespace {

// The FileType text starts with the format's name and main extension.
const std::map<std::string, std::string> kTypeByExtension{
    {"jpg", "JPEG Bitmap (JPG)"},        {"tif", "TIFF Bitmap (TIF)"},
    {"tiff", "TIFF Bitmap (TIF)"},       {"png", "Portable Network Graphics (PNG)"},
    {"gif", "CompuServe Bitmap (GIF)"},  {"bmp", "Windows Bitmap (BMP)"},
    {"pcx", "PaintBrush (PCX)"},         {"tga", "Targa Bitmap (TGA)"},
    {"ico", "Windows Icon (ICO)"},       {"cur", "Windows Cursor (CUR)"},
    {"ppm", "Portable Pixmap, GrayMap, BitMap (PXM)"},
    {"pgm", "Portable Pixmap, GrayMap, BitMap (PXM)"},
    {"pbm", "Portable Pixmap, GrayMap, BitMap (PXM)"},
    {"jp2", "JPEG2000 (JP2)"},           {"j2k", "JPEG2000 Code Stream (J2K)"},
    {"j2c", "JPEG2000 Code Stream (J2K)"}, {"dcx", "Multipage PCX (DCX)"},
    {"psd", "Photoshop PSD (PSD)"},      {"cr2", "Camera RAW (CRW)"},
    {"nef", "Camera RAW (CRW)"},         {"crw", "Camera RAW (CRW)"},
    {"raf", "Camera RAW (CRW)"},         {"mrw", "Camera RAW (CRW)"},
    {"x3f", "Camera RAW (CRW)"},         {"orf", "Camera RAW (CRW)"},
    {"wbmp", "Wireless Bitmap (WBMP)"},
};

// Files whose FileType stays empty: content and extension disagree, or no content test
// recognises them yet (AVI, whose parameters come from the full load).
const std::map<std::string, std::string> kOverrides{
    {"Issue_247-1.nef", ""},      // JPEG content under a raw extension
    {"0x00-to-0xFF-between-segments.jpg", ""},  // no 0xFF 0xD8 0xFF within the first 100 bytes
    {"bmpsuite-x-ba-bm.bmp", ""}, // an OS/2 bitmap array, not "BM"
    {"fixture.orf", ""},          // a 128-byte header the raw decoder does not identify
    {"RIFF.avi", ""},
    {"Pentax.avi", ""},
    {"fixture.avi", ""},
};

// Deliberately broken files: either their format or an empty type (the read was refused).
const char* const kBrokenFiles[] = {
    "exiv2-bug1247.jpg", "issue_ghsa_g44w_q3vm_gwjq_poc.jpg", "bmpsuite-b-badheadersize.bmp",
    "bmpsuite-b-shortfile.bmp", "ossfuzz-4836216264589312.pcx", "cross_scan_line_truncated.tga",
    "issue_1817_poc.png", "truncated_jpeg.jpg",
};

std::string LowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    if (!ext.empty()) ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

std::string FileTypeLine(const std::string& pageText) {
    const std::string key = "\nFileType\t";
    const auto start = pageText.find(key);
    if (start == std::string::npos) return "<missing>";
    const auto end = pageText.find('\n', start + key.size());
    return pageText.substr(start + key.size(), end - start - key.size());
}

TEST(CorpusCommonPageTest, NamesTheFormatOfEveryRegisteredFileAndNeverCrashes) {
    VELMORA_REQUIRE_CORPUS();
    int checked = 0;
    for (const std::filesystem::path& file : test::CorpusFiles()) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        const auto result = test::RunVelmoraInfo({"--page", "common", file.string()}, 30);
        ASSERT_TRUE(result.exitCode == 0 || result.exitCode == 1) << "exit " << result.exitCode << result.errors;

        const auto known = kTypeByExtension.find(LowerExtension(file));
        const auto overridden = kOverrides.find(name);
        if (known == kTypeByExtension.end() && overridden == kOverrides.end()) {
            EXPECT_NE(result.errors.find("not a known image format"), std::string::npos);
            continue;
        }
        const std::string expected = overridden != kOverrides.end() ? overridden->second : known->second;
        const std::string shown = FileTypeLine("\n" + result.output);
        const bool broken = std::find(std::begin(kBrokenFiles), std::end(kBrokenFiles), name) != std::end(kBrokenFiles);
        if (broken && shown.empty()) continue;
        if (expected.empty()) {
            EXPECT_EQ(shown, "");
        } else {
            EXPECT_EQ(shown.rfind(expected, 0), 0u) << "shown: " << shown;
            EXPECT_EQ(result.exitCode, 0) << result.errors;
        }
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace velmora
