// The Special Info page through velmora-info: its own page, its place among all pages, and its
// columns in the CSV export, right after the nine Common Info columns.
#include <gtest/gtest.h>

#include "tests/support/run_command.h"
#include "tests/support/sample_files.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::RunVelmoraInfo;

// The first count cells of a CSV line whose cells hold no quotes.
std::vector<std::string> LeadingCells(const std::string& line, size_t count) {
    std::vector<std::string> cells;
    size_t pos = 0;
    while (cells.size() < count && pos < line.size() && line[pos] == '"') {
        const size_t close = line.find("\",", pos + 1);
        if (close == std::string::npos) break;
        cells.push_back(line.substr(pos + 1, close - pos - 1));
        pos = close + 2;
    }
    return cells;
}

TEST(SpecialPageTest, BitmapShowsItsTwoRowsOnThePageAndAfterTheCommonPage) {
    test::TempDir dir;
    const std::string bmp = dir.WriteFile("a.bmp", test::TinyBmp());
    const auto page = RunVelmoraInfo({"--page", "special", bmp});
    EXPECT_EQ(page.exitCode, 0) << page.errors;
    EXPECT_EQ(page.output, "BMP_Compression\tBMP_UNCOMPRESSED\nBMP_Version\tBMP_BM3\n");

    const auto all = RunVelmoraInfo({bmp});
    EXPECT_EQ(all.exitCode, 0) << all.errors;
    EXPECT_NE(all.output.find("\nDpiY\t"), std::string::npos);
    EXPECT_NE(all.output.find("\n[Special Info]\nBMP_Compression\tBMP_UNCOMPRESSED\nBMP_Version\tBMP_BM3\n"),
              std::string::npos)
        << all.output;
}

TEST(SpecialPageTest, CsvExportHasTheSeventySevenColumnsAfterTheCommonOnes) {
    test::TempDir dir;
    const std::string bmp = dir.WriteFile("a.bmp", test::TinyBmp());
    const std::string out = dir.Path() + "out.csv";
    const auto result = RunVelmoraInfo({"--csv", out, bmp});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::string text = test::ReadFileText(out);
    const auto lineBreak = text.find('\n');
    ASSERT_NE(lineBreak, std::string::npos);
    const auto header = LeadingCells(text.substr(0, lineBreak), 9 + 77);
    const auto values = LeadingCells(text.substr(lineBreak + 1), 9 + 77);
    ASSERT_EQ(header.size(), 86u);
    ASSERT_EQ(values.size(), 86u);
    EXPECT_EQ(header[8], "DpiY");
    EXPECT_EQ(header[9], "BMP_Compression");
    EXPECT_EQ(header[85], "RAW_Camera");
    for (size_t i = 9; i < header.size(); ++i) {
        SCOPED_TRACE(header[i]);
        if (header[i] == "BMP_Compression") {
            EXPECT_EQ(values[i], "BMP_UNCOMPRESSED");
        } else if (header[i] == "BMP_Version") {
            EXPECT_EQ(values[i], "BMP_BM3");
        } else if (header[i] == "JPEG_Marker_Count") {
            EXPECT_EQ(values[i], "0");
        } else {
            EXPECT_EQ(values[i], "");
        }
    }
}

}  // namespace
}  // namespace velmora
