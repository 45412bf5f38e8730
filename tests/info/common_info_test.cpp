#include <gtest/gtest.h>

#include <sstream>

#include "info/common_info.h"
#include "params/image_io.h"

namespace velmora {
namespace {

class CommonInfoTest : public ::testing::Test {
protected:
    CommonInfoTest() : session(io.Params) { CreateCommonInfoRows(session.CommonInfoList); }

    std::string ValueOf(int row) const { return session.CommonInfoList.Row(row).SubItem(0); }
    std::string HelpOf(int row) const { return session.CommonInfoList.Row(row).SubItem(1); }

    TImageIO io;
    InfoSession session;
};

TEST_F(CommonInfoTest, ListModeFillsTheNineRowsFromTheRecord) {
    io.Params.FileName = "/photos/2024/holiday.bmp";
    io.Params.FileType = 5;
    io.Params.Width = 640;
    io.Params.Height = -3;
    io.Params.BitsPerSample = 8;
    io.Params.SamplesPerPixel = 3;
    io.Params.DpiX = 0;
    io.Params.DpiY = 96;
    ListCommonInfo(session, "", InfoMode::List);

    const char* expected[] = {"holiday.bmp", "Windows Bitmap (BMP) ver.3", "640", "-3", "8", "3", "0", "0", "96"};
    const char* captions[] = {"FileName", "FileType", "Width", "Height", "BitsPerSample",
                              "SamplesPerPixel", "ColorMapCount", "DpiX", "DpiY"};
    ASSERT_EQ(session.CommonInfoList.RowCount(), 9);
    for (int row = 0; row < 9; ++row) {
        SCOPED_TRACE(captions[row]);
        EXPECT_EQ(session.CommonInfoList.Row(row).caption, captions[row]);
        EXPECT_EQ(ValueOf(row), expected[row]);
    }
}

TEST_F(CommonInfoTest, HelpTextsOnlyOnTheLastFiveRowsWithBareLineFeeds) {
    ListCommonInfo(session, "", InfoMode::List);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(HelpOf(row), "") << row;
    EXPECT_EQ(HelpOf(4),
              "Bits number each sample has.\nValues handles are:\n  1 for black & white\n"
              "  2..7 for colormapped bitmap (from 4 to 256 colors)\n  8 for colormapped or true color");
    EXPECT_EQ(HelpOf(5),
              "Samples for each pixel. This property can be only 1 for colormapped images or 3 for true color "
              "image.");
    EXPECT_EQ(HelpOf(6), "ColorMapCount is the number of entries in ColorMap array.");
    EXPECT_EQ(HelpOf(7), "Specifies the DpiX (horizontal dots per inch) of the image.");
    EXPECT_EQ(HelpOf(8), "Specifies the DpiY (vertical dots per inch) of the image.");
    EXPECT_EQ(HelpOf(4).find('\r'), std::string::npos);
}

TEST_F(CommonInfoTest, FileNameWithoutFolderIsShownUnchanged) {
    io.Params.FileName = "plain.bmp";
    ListCommonInfo(session, "", InfoMode::List);
    EXPECT_EQ(ValueOf(0), "plain.bmp");
}

TEST_F(CommonInfoTest, HeadAndFileWriteNineCellsAndLeaveThePageAlone) {
    io.Params.FileName = "/x/ lead.bmp";
    io.Params.FileType = 5;
    io.Params.Width = 640;
    io.Params.Height = 480;
    ListCommonInfo(session, "", InfoMode::List);
    std::ostringstream out;
    CsvSink sink(out, ";");
    session.CsvFile = &sink;
    io.Params.Width = 1;  // the export reads the record again; the page must not follow
    ListCommonInfo(session, "", InfoMode::Head);
    ListCommonInfo(session, "", InfoMode::File);

    EXPECT_EQ(out.str(),
              "\"FileName\";\"FileType\";\"Width\";\"Height\";\"BitsPerSample\";\"SamplesPerPixel\";"
              "\"ColorMapCount\";\"DpiX\";\"DpiY\";"
              "\"lead.bmp\";\"Windows Bitmap (BMP) ver.3\";\"1\";\"480\";\"8\";\"3\";\"0\";\"300\";\"300\";");
    EXPECT_EQ(ValueOf(0), " lead.bmp");  // the page keeps the leading blank
    EXPECT_EQ(ValueOf(2), "640");
}

}  // namespace
}  // namespace velmora
