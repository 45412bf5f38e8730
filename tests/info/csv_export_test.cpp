#include <gtest/gtest.h>

#include <algorithm>

#include "info/csv_export.h"
#include "tests/support/sample_files.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

constexpr const char* kCommonHeader =
    "\"FileName\",\"FileType\",\"Width\",\"Height\",\"BitsPerSample\",\"SamplesPerPixel\","
    "\"ColorMapCount\",\"DpiX\",\"DpiY\",";

class CsvExportTest : public ::testing::Test {
protected:
    CsvExportTest() : dispatcher(io) {}

    std::string Export(const std::vector<std::string>& files, int cellDelim = 0) {
        const std::string out = dir.Path() + "out.csv";
        ExportCsv(dispatcher, out, cellDelim, files);
        return test::ReadFileText(out);
    }

    test::TempDir dir;
    TImageIO io;
    TInfoDispatcher dispatcher;
};

TEST_F(CsvExportTest, NothingQualifyingGivesTheHeaderRowAloneEndingWithTheDelimiter) {
    const std::string text = Export({dir.WriteFile("a.txt", "x"), dir.WriteFile("b.doc", "y")});
    EXPECT_EQ(text.rfind(kCommonHeader, 0), 0u);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.back(), ',');
}

TEST_F(CsvExportTest, OneLineFeedBeforeEachQualifyingFileAndNoneAtTheEnd) {
    const std::string a = dir.WriteFile("a.bmp", test::TinyBmp(640, 480));
    const std::string b = dir.WriteFile("b.bmp", test::TinyBmp());
    const std::string skipped = dir.WriteFile("c.txt", "x");
    const std::string c = dir.WriteFile("d.bmp", test::TinyBmp());
    const std::string text = Export({a, skipped, b, c});
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_EQ(text.back(), ',');
    EXPECT_NE(text.find("\n\"a.bmp\",\"Windows Bitmap (BMP) ver.3\","), std::string::npos);
    EXPECT_EQ(dispatcher.CurrentFile(), c);  // the last file handed to the export stays current
}

TEST_F(CsvExportTest, DelimiterOptionSemicolonAndAnythingElseComma) {
    const std::string a = dir.WriteFile("a.bmp", test::TinyBmp());
    const std::string semicolon = Export({a}, 1);
    EXPECT_EQ(semicolon.rfind("\"FileName\";\"FileType\";", 0), 0u);
    EXPECT_EQ(semicolon.back(), ';');
    EXPECT_EQ(Export({a}, 7).rfind("\"FileName\",", 0), 0u);
}

TEST_F(CsvExportTest, QuotesInsideAValueAreWrittenUnchanged) {
    const std::string odd = dir.WriteFile("say \"cheese\".bmp", test::TinyBmp());
    EXPECT_NE(Export({odd}).find("\n\"say \"cheese\".bmp\","), std::string::npos);
}

TEST_F(CsvExportTest, ExportingDoesNotTouchThePages) {
    dispatcher.FileListView1SelectItem(dir.Path(), "", true);
    const std::string a = dir.WriteFile("a.bmp", test::TinyBmp());
    Export({a});
    EXPECT_EQ(dispatcher.Session().CommonInfoList.Row(0).SubItem(0), "");
}

TEST_F(CsvExportTest, AnUnwritableOutputIsAnErrorAndChangesNothing) {
    const std::string a = dir.WriteFile("a.bmp", test::TinyBmp());
    EXPECT_THROW(ExportCsv(dispatcher, dir.Path() + "missing/folder/out.csv", 0, {a}), CsvExportError);
    EXPECT_EQ(dispatcher.CurrentFile(), "");
}

}  // namespace
}  // namespace velmora
