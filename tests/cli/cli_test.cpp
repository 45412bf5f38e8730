#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/run_command.h"
#include "tests/support/sample_files.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

using test::RunVelmoraInfo;

TEST(CliTest, CommonPagePrintsOneRowALineCaptionTabValue) {
    test::TempDir dir;
    const std::string bmp = dir.WriteFile("a.bmp", test::TinyBmp());
    const auto result = RunVelmoraInfo({"--page", "common", bmp});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output.rfind("FileName\ta.bmp\nFileType\tWindows Bitmap (BMP) ver.3\nWidth\t", 0), 0u)
        << result.output;
    EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 9);
}

TEST(CliTest, AllPagesStartWithTheirHeadings) {
    test::TempDir dir;
    const auto result = RunVelmoraInfo({dir.WriteFile("a.bmp", test::TinyBmp())});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output.rfind("[Common Info]\nFileName\ta.bmp\n", 0), 0u) << result.output;
}

TEST(CliTest, PropertiesListKeyedFieldsInRecordOrder) {
    test::TempDir dir;
    const std::string bmp = dir.WriteFile("a.bmp", test::TinyBmp());
    const auto result = RunVelmoraInfo({"--properties", bmp});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.output.rfind("BITSPERSAMPLE=", 0), 0u);
    const auto fileName = result.output.find("\nFILENAME=" + bmp + "\n");
    const auto fileType = result.output.find("\nFILETYPE=5\n");
    const auto typeText = result.output.find("\nFILETYPESTR=Windows Bitmap (BMP) ver.3\n");
    ASSERT_NE(fileName, std::string::npos);
    ASSERT_NE(fileType, std::string::npos);
    ASSERT_NE(typeText, std::string::npos);
    EXPECT_LT(fileName, fileType);
    EXPECT_LT(fileType, typeText);
    EXPECT_NE(result.output.find("\nEXIF_GPSDATESTAMP=\n"), std::string::npos);
    EXPECT_EQ(result.output.find("INVALID PROPERTY"), std::string::npos);
}

TEST(CliTest, CsvExportWritesTheFileLayout) {
    test::TempDir dir;
    const std::string a = dir.WriteFile("a.bmp", test::TinyBmp());
    const std::string skipped = dir.WriteFile("b.txt", "x");
    const std::string out = dir.Path() + "out.csv";
    const auto result = RunVelmoraInfo({"--csv", out, "--delimiter", ";", a, skipped});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    const std::string text = test::ReadFileText(out);
    EXPECT_EQ(text.rfind("\"FileName\";", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
    EXPECT_EQ(text.back(), ';');
}

TEST(CliTest, ExitStatusesForUsageAndUnreadableFiles) {
    test::TempDir dir;
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const std::string missing = dir.Path() + "missing.jpg";
    const std::string text = dir.WriteFile("notes.txt", "hello");
    const Case cases[] = {
        {{}, 2},
        {{"--page"}, 2},
        {{"--page", "nosuchpage", text}, 2},
        {{"--bogus", text}, 2},
        {{"--csv", dir.Path() + "x.csv", "--delimiter", "|", text}, 2},
        {{"--page", "common", missing}, 1},
        {{"--page", "common", text}, 1},
        {{"--properties", missing}, 1},
        {{"--csv", dir.Path() + "no/such/folder/x.csv", text}, 1},
    };
    for (const auto& c : cases) {
        const auto result = RunVelmoraInfo(c.args);
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        EXPECT_EQ(result.exitCode, c.exitCode) << joined;
        if (c.exitCode != 0) {
            EXPECT_FALSE(result.errors.empty()) << joined;
        }
    }
}

}  // namespace
}  // namespace velmora
