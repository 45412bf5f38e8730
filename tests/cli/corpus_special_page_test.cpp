// Every real file of the corpus through `velmora-info --page special`: the page shows the group of
// the file's own format and no other (and the AVI group by the file's extension).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <sstream>

#include "tests/support/corpus.h"
#include "tests/support/run_command.h"

namespace velmora {
namespace {

struct GroupShape {
    std::string prefix;  // every row name of the group starts with it
    size_t rows;
};

// The group of each FileType that has one (the JPEG marker rows apart).
const std::map<int, GroupShape> kGroupByFileType{
    {1, {"TIFF_", 15}}, {2, {"GIF_", 14}},  {3, {"JPEG_", 11}}, {4, {"PCX_", 2}},   {5, {"BMP_", 2}},
    {6, {"ICO_", 4}},   {7, {"CUR_", 4}},   {8, {"PNG_", 4}},   {11, {"TGA_", 11}}, {12, {"PXM_", 1}},
    {13, {"J2000_", 3}}, {17, {"PS_", 1}},  {20, {"RAW_", 1}},
};
const GroupShape kAviGroup{"AVI_", 2};

struct PageRow {
    std::string caption;
    std::string value;
    bool separator = false;
};

std::vector<PageRow> ParsePage(const std::string& text) {
    std::vector<PageRow> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) {
            EXPECT_TRUE(line.empty()) << "unexpected line: " << line;
            rows.push_back({"", "", true});
        } else {
            rows.push_back({line.substr(0, tab), line.substr(tab + 1)});
        }
    }
    return rows;
}

int FileTypeOf(const std::string& path) {
    const auto result = test::RunVelmoraInfo({"--properties", path}, 30);
    const std::string key = "\nFILETYPE=";
    const auto at = ("\n" + result.output).find(key);
    if (at == std::string::npos) return -1;
    return std::atoi(result.output.c_str() + at + key.size() - 1);
}

bool HasAviExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    return ext == ".AVI";
}

// Checks that rows[pos...] hold the group's rows and moves pos past them.
void ExpectGroup(const std::vector<PageRow>& rows, size_t& pos, const GroupShape& group) {
    ASSERT_LE(group.rows, rows.size() - pos) << group.prefix;
    for (size_t i = 0; i < group.rows; ++i, ++pos) {
        EXPECT_EQ(rows[pos].caption.rfind(group.prefix, 0), 0u) << rows[pos].caption;
    }
}

// After the JPEG rows: nothing, or a separator, the marker count and that many marker rows.
void ExpectMarkerRows(const std::vector<PageRow>& rows, size_t& pos) {
    if (pos >= rows.size() || !rows[pos].separator) return;
    ++pos;
    ASSERT_LT(pos, rows.size());
    EXPECT_EQ(rows[pos].caption, "JPEG_Marker_Count");
    const int count = std::atoi(rows[pos].value.c_str());
    EXPECT_GT(count, 0);
    ++pos;
    for (int m = 0; m < count && pos < rows.size(); ++m, ++pos) {
        EXPECT_EQ(rows[pos].caption, "JPEG_Marker_" + std::to_string(m));
    }
}

TEST(CorpusSpecialPageTest, ShowsTheGroupOfTheFilesOwnFormatAndNoOther) {
    VELMORA_REQUIRE_CORPUS();
    int checked = 0;
    for (const std::filesystem::path& file : test::CorpusFiles()) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        const std::string path = file.string();
        const auto result = test::RunVelmoraInfo({"--page", "special", path}, 30);
        ASSERT_TRUE(result.exitCode == 0 || result.exitCode == 1) << "exit " << result.exitCode << result.errors;
        if (result.errors.find("not a known image format") != std::string::npos) {
            EXPECT_EQ(result.output, "");
            continue;
        }
        const int fileType = FileTypeOf(path);
        const std::vector<PageRow> rows = ParsePage(result.output);
        size_t pos = 0;
        const auto group = kGroupByFileType.find(fileType);
        if (group != kGroupByFileType.end()) {
            ExpectGroup(rows, pos, group->second);
            if (fileType == 3) ExpectMarkerRows(rows, pos);
        }
        if (HasAviExtension(file)) ExpectGroup(rows, pos, kAviGroup);
        EXPECT_EQ(pos, rows.size()) << "rows of another group: " << result.output;
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

struct ValueCase {
    const char* file;
    const char* row;
    const char* value;
};

void ExpectValues(const std::vector<ValueCase>& cases) {
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.row);
        const auto result = test::RunVelmoraInfo({"--page", "special", test::CorpusFile(c.file)}, 30);
        std::string shown = "<no row>";
        for (const PageRow& row : ParsePage(result.output)) {
            if (row.caption == c.row) {
                shown = row.value;
                break;
            }
        }
        EXPECT_EQ(shown, c.value);
    }
}

TEST(CorpusSpecialPageTest, ValuesOfHeaderFields) {
    VELMORA_REQUIRE_CORPUS();
    ExpectValues({
        {"bmpsuite-g-pal8rle.bmp", "BMP_Compression", "BMP_RLE"},
        {"BMP.bmp", "BMP_Version", "BMP_BM3"},
        {"bmpsuite-g-pal8os2.bmp", "BMP_Version", "BMP_BMOS2V1"},
        {"bmpsuite-q-pal8os2v2.bmp", "BMP_Version", "BMP_BMOS2V2"},
        {"second_frame_comment.gif", "GIF_Version", "GIF87a"},
        {"multiple_comments.gif", "GIF_ImageCount", "5"},
        {"python.ico", "ICO_Sizes", "16 x 16"},
        {"python.ico", "ICO_BitCount", "32"},
        {"PPM.ppm", "PXM_Comments", "ExifTool PPM test"},
    });
}

// Values that need readers still being completed; enable once they fill these fields.
TEST(CorpusSpecialPageTest, ValuesOfFullReaders) {
    VELMORA_REQUIRE_CORPUS();
    ExpectValues({
        {"exiv2-bug876.jpg", "JPEG_Progressive", "true"},
        {"ExifTool.tif", "TIFF_Compression", "5"},  // LZW has no text
        {"copyleft.tiff", "TIFF_Compression", "TIFF_PACKBITS"},
        {"pil123p.png", "PNG_Interlaced", "true"},
        {"Canon.jpg", "JPEG_Marker_0", "Exif"},
    });
}

}  // namespace
}  // namespace velmora
