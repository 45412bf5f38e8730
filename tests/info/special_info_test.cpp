#include <gtest/gtest.h>

#include <sstream>

#include "info/special_catalogue.h"
#include "info/special_info.h"
#include "params/user_locale.h"

namespace velmora {
namespace {

struct ExpectedGroup {
    int fileType;  // 0: the AVI group, tested on the path
    std::vector<std::string> rows;
};

// The catalogue as the page must show it, group by group (the JPEG marker rows apart).
const std::vector<ExpectedGroup> kExpectedGroups = {
    {5, {"BMP_Compression", "BMP_Version"}},
    {2, {"GIF_Background", "GIF_DelayTime", "GIF_FlagTranspColor", "GIF_ImageIndex", "GIF_ImageCount",
         "GIF_Interlaced", "GIF_Ratio", "GIF_TranspColor", "GIF_Version", "GIF_WinHeight", "GIF_WinWidth",
         "GIF_XPos", "GIF_YPos", "GIF_Comments"}},
    {3, {"JPEG_ColorSpace", "JPEG_DCTMethod", "JPEG_OptimalHuffman", "JPEG_Progressive", "JPEG_Quality",
         "JPEG_Smooth", "JPEG_Scale", "JPEG_WarningTot", "JPEG_WarningCode", "JPEG_OriginalWidth",
         "JPEG_OriginalHeight"}},
    {13, {"J2000_ColorSpace", "J2000_Rate", "J2000_ScalableBy"}},
    {4, {"PCX_Compression", "PCX_Version"}},
    {1, {"TIFF_Compression", "TIFF_DocumentName", "TIFF_EnableAdjustOrientation", "TIFF_ImageDescription",
         "TIFF_ImageIndex", "TIFF_ImageCount", "TIFF_PageCount", "TIFF_PageName", "TIFF_PageNumber",
         "TIFF_PhotometInterpret", "TIFF_PlanarConf", "TIFF_XPos", "TIFF_YPos", "TIFF_Orientation",
         "TIFF_JPEGQuality"}},
    {7, {"CUR_ImageIndex", "CUR_XHotSpot", "CUR_YHotSpot", "CUR_Background"}},
    {6, {"ICO_ImageIndex", "ICO_Background", "ICO_BitCount", "ICO_Sizes"}},
    {8, {"PNG_Interlaced", "PNG_Background", "PNG_Filter", "PNG_Compression"}},
    {11, {"TGA_XPos", "TGA_YPos", "TGA_Compressed", "TGA_Descriptor", "TGA_Author", "TGA_Date",
          "TGA_ImageName", "TGA_Background", "TGA_AspectRatio", "TGA_Gamma", "TGA_GrayLevel"}},
    {12, {"PXM_Comments"}},
    {0, {"AVI_FrameCount", "AVI_FrameDelayTime"}},
    {17, {"PS_Compression"}},
    {20, {"RAW_Camera"}},
};

const std::vector<std::string>& RowsOfType(int fileType) {
    for (const auto& group : kExpectedGroups) {
        if (group.fileType == fileType) return group.rows;
    }
    static const std::vector<std::string> none;
    return none;
}

// All CSV columns: the JPEG group's two marker columns follow its rows.
std::vector<std::string> ExpectedColumns() {
    std::vector<std::string> columns;
    for (const auto& group : kExpectedGroups) {
        columns.insert(columns.end(), group.rows.begin(), group.rows.end());
        if (group.fileType == 3) {
            columns.push_back("JPEG_Marker_Count");
            columns.push_back("JPEG_Markers");
        }
    }
    return columns;
}

// Splits "\"a\",\"b\"," into its cell texts; the texts hold no quotes here.
std::vector<std::string> CsvCells(const std::string& line, char delimiter = ',') {
    std::vector<std::string> cells;
    size_t pos = 0;
    while (pos < line.size()) {
        EXPECT_EQ(line[pos], '"') << line.substr(pos);
        const size_t close = line.find('"', pos + 1);
        if (close == std::string::npos || close + 1 >= line.size() || line[close + 1] != delimiter) {
            ADD_FAILURE() << "malformed cell at " << line.substr(pos);
            break;
        }
        cells.push_back(line.substr(pos + 1, close - pos - 1));
        pos = close + 2;
    }
    return cells;
}

class SpecialInfoTest : public ::testing::Test {
protected:
    SpecialInfoTest() : session(params) {}
    ~SpecialInfoTest() override { ClearUserLocaleForTesting(); }

    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        const ReportList& list = session.SpecialInfoList;
        for (int i = 0; i < list.RowCount(); ++i) captions.push_back(list.Row(i).caption);
        return captions;
    }
    // The value shown in the row with that caption (the first one).
    std::string Shown(const std::string& caption) const {
        const ReportList& list = session.SpecialInfoList;
        for (int i = 0; i < list.RowCount(); ++i) {
            if (list.Row(i).caption == caption) return list.Row(i).SubItem(0);
        }
        ADD_FAILURE() << "no row " << caption;
        return {};
    }
    std::string ListAndShow(const std::string& caption, const std::string& path = "/x/file") {
        ListSpecialInfo(session, path, InfoMode::List);
        return Shown(caption);
    }
    std::string RunCsv(InfoMode mode, const std::string& path, const std::string& delimiter = ",") {
        std::ostringstream out;
        CsvSink sink(out, delimiter);
        session.CsvFile = &sink;
        ListSpecialInfo(session, path, mode);
        session.CsvFile = nullptr;
        return out.str();
    }
    void AddMarker(uint8_t type, const std::string& bytes) {
        params.JPEG_MarkerList.AddMarker(type, bytes.data(), static_cast<uint16_t>(bytes.size()));
    }

    TIOParamsVals params;
    InfoSession session;
};

TEST_F(SpecialInfoTest, CatalogueHasTheGroupsAndRowsInOrderWithAHelpTextEach) {
    const auto catalogue = SpecialCatalogue();
    ASSERT_EQ(catalogue.size(), kExpectedGroups.size());
    for (size_t g = 0; g < catalogue.size(); ++g) {
        const SpecialGroup& group = catalogue[g];
        SCOPED_TRACE(group.name);
        EXPECT_EQ(group.test == GroupTest::AviExtension, kExpectedGroups[g].fileType == 0);
        if (group.test == GroupTest::FileType) {
            EXPECT_EQ(group.fileType, kExpectedGroups[g].fileType);
        }
        EXPECT_EQ(group.endsWithMarkerRows, kExpectedGroups[g].fileType == 3);
        std::vector<std::string> names;
        for (const SpecialRow& row : group.rows) {
            names.emplace_back(row.name);
            ASSERT_NE(row.help, nullptr) << row.name;
            EXPECT_FALSE(std::string(row.help).empty()) << row.name;
            // Every rule matches the type of its field: formatting a default record never throws.
            EXPECT_NO_THROW(FormatSpecialValue(row, params)) << row.name;
        }
        EXPECT_EQ(names, kExpectedGroups[g].rows);
    }
    EXPECT_EQ(SpecialColumnNames(), ExpectedColumns());
    EXPECT_EQ(ExpectedColumns().size(), 77u);
}

TEST_F(SpecialInfoTest, ListShowsOnlyTheGroupsThatApply) {
    struct Case {
        int fileType;
        const char* path;
        std::vector<std::string> rows;
    };
    std::vector<std::string> bmpThenAvi = RowsOfType(5);
    bmpThenAvi.insert(bmpThenAvi.end(), RowsOfType(0).begin(), RowsOfType(0).end());
    const Case cases[] = {
        {5, "/pics/a.bmp", RowsOfType(5)},
        {2, "/pics/a.gif", RowsOfType(2)},
        {3, "/pics/a.jpg", RowsOfType(3)},  // no markers: no separator, no marker rows
        {1, "/pics/a.tif", RowsOfType(1)},
        {20, "/pics/a.cr2", RowsOfType(20)},
        {14, "/pics/a.j2k", {}},             // a JPEG 2000 code stream has no group
        {16, "/pics/a.wbmp", {}},
        {0, "/pics/clip.AVI", RowsOfType(0)},
        {5, "/pics/odd.avi", bmpThenAvi},   // the AVI test is on the path, whatever the type
        {0, "/pics.avi/clip", {}},          // a dot in a folder name is no extension
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        params.FileType = c.fileType;
        ListSpecialInfo(session, c.path, InfoMode::List);
        EXPECT_EQ(Captions(), c.rows);
        for (int i = 0; i < session.SpecialInfoList.RowCount(); ++i) {
            EXPECT_EQ(session.SpecialInfoList.Row(i).subItems.size(), 2u);
        }
    }
}

TEST_F(SpecialInfoTest, JpegMarkersFollowASeparatorAndShowTheirDataUpToTheFirstZeroByte) {
    params.FileType = 3;
    AddMarker(0xE0, std::string("JFIF\0\x01\x02", 7));
    AddMarker(0xE1, std::string("Exif\0\0MM\0*", 10));
    AddMarker(0xFE, "  made by hand \n");  // no zero byte: the whole data
    ListSpecialInfo(session, "/x/a.jpg", InfoMode::List);

    std::vector<std::string> expected = RowsOfType(3);
    for (const char* extra : {"", "JPEG_Marker_Count", "JPEG_Marker_0", "JPEG_Marker_1", "JPEG_Marker_2"}) {
        expected.emplace_back(extra);
    }
    ASSERT_EQ(Captions(), expected);
    const ReportList& list = session.SpecialInfoList;
    const int separator = static_cast<int>(RowsOfType(3).size());
    EXPECT_TRUE(list.Row(separator).IsSeparator());
    EXPECT_EQ(list.Row(separator + 1).subItems, (std::vector<std::string>{"3", "Returns the markers count."}));
    EXPECT_EQ(list.Row(separator + 2).subItems, (std::vector<std::string>{"JFIF", "Get marker data."}));
    EXPECT_EQ(list.Row(separator + 3).SubItem(0), "Exif");
    EXPECT_EQ(list.Row(separator + 4).SubItem(0), "  made by hand \n");

    // In the CSV file: the count, then every text trimmed and followed by one blank.
    const std::vector<std::string> cells = CsvCells(RunCsv(InfoMode::File, "/x/a.jpg"));
    ASSERT_EQ(cells.size(), 77u);
    const auto columns = ExpectedColumns();
    const auto at = [&](const std::string& name) {
        return cells[static_cast<size_t>(std::find(columns.begin(), columns.end(), name) - columns.begin())];
    };
    EXPECT_EQ(at("JPEG_Marker_Count"), "3");
    EXPECT_EQ(at("JPEG_Markers"), "JFIF Exif made by hand ");
    EXPECT_EQ(at("JPEG_Quality"), "80");
}

TEST_F(SpecialInfoTest, HeadWritesAllSeventySevenColumnNamesWhateverTheFile) {
    params.FileType = 5;
    session.SpecialInfoList.AddRow("stale", {"1", "2"});
    const std::string text = RunCsv(InfoMode::Head, "", ";");
    EXPECT_EQ(CsvCells(text, ';'), ExpectedColumns());
    EXPECT_EQ(text.rfind("\"BMP_Compression\";\"BMP_Version\";\"GIF_Background\";", 0), 0u);
    EXPECT_EQ(session.SpecialInfoList.RowCount(), 0);  // emptied, not refilled
}

TEST_F(SpecialInfoTest, FileRowLeavesCellsOfOtherGroupsEmptyButAlwaysFillsTheMarkerCells) {
    params.FileType = 8;  // PNG
    params.PNG_Interlaced = true;
    params.PNG_Background = TRGB{0, 128, 255};
    params.PNG_Filter = ioPNG_FILTER_PAETH;
    params.PNG_Compression = 9;
    session.SpecialInfoList.AddRow("stale", {"1", "2"});
    const std::vector<std::string> cells = CsvCells(RunCsv(InfoMode::File, "/x/a.png"));
    const auto columns = ExpectedColumns();
    ASSERT_EQ(cells.size(), columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        SCOPED_TRACE(columns[i]);
        if (columns[i] == "PNG_Interlaced") {
            EXPECT_EQ(cells[i], "true");
        } else if (columns[i] == "PNG_Background") {
            EXPECT_EQ(cells[i], "R=255, G=128, B=0");
        } else if (columns[i] == "PNG_Filter") {
            EXPECT_EQ(cells[i], "PNG_FILTER_PAETH");
        } else if (columns[i] == "PNG_Compression") {
            EXPECT_EQ(cells[i], "9");
        } else if (columns[i] == "JPEG_Marker_Count") {
            EXPECT_EQ(cells[i], "0");
        } else {
            EXPECT_EQ(cells[i], "");
        }
    }
    EXPECT_EQ(session.SpecialInfoList.RowCount(), 0);
}

TEST_F(SpecialInfoTest, FileCellsAreTrimmedAndTheAviCellsFollowThePath) {
    params.FileType = 1;
    params.TIFF_DocumentName = " \t scan 1 \r\n";
    params.AVI_FrameCount = 42;
    const auto columns = ExpectedColumns();
    const auto index = [&](const std::string& name) {
        return static_cast<size_t>(std::find(columns.begin(), columns.end(), name) - columns.begin());
    };
    const std::vector<std::string> tiff = CsvCells(RunCsv(InfoMode::File, "/x/a.tif"));
    ASSERT_EQ(tiff.size(), 77u);
    EXPECT_EQ(tiff[index("TIFF_DocumentName")], "scan 1");
    EXPECT_EQ(tiff[index("AVI_FrameCount")], "");
    const std::vector<std::string> avi = CsvCells(RunCsv(InfoMode::File, "/x/clip.avi"));
    ASSERT_EQ(avi.size(), 77u);
    EXPECT_EQ(avi[index("AVI_FrameCount")], "42");
    EXPECT_EQ(avi[index("TIFF_DocumentName")], "scan 1");
    // On screen the value is shown as it is.
    EXPECT_EQ(ListAndShow("TIFF_DocumentName"), " \t scan 1 \r\n");
}

TEST_F(SpecialInfoTest, ImageModeLeavesTheListAlone) {
    params.FileType = 5;
    ListSpecialInfo(session, "/x/a.bmp", InfoMode::List);
    ListSpecialInfo(session, "/x/a.bmp", InfoMode::Image);
    EXPECT_EQ(Captions(), RowsOfType(5));
}

TEST_F(SpecialInfoTest, ValueRulesForIntegersEnumerationsBooleansColoursTextAndLists) {
    params.FileType = 5;
    params.BMP_Version = static_cast<TIOBMPVersion>(7);
    params.BMP_Compression = ioBMP_RLE;
    EXPECT_EQ(ListAndShow("BMP_Version"), "7");
    EXPECT_EQ(Shown("BMP_Compression"), "BMP_RLE");

    params.FileType = 3;
    params.JPEG_ColorSpace = static_cast<TIOJPEGColorspace>(5);
    params.JPEG_Scale = ioJPEG_EIGHTH;
    params.JPEG_Progressive = true;
    EXPECT_EQ(ListAndShow("JPEG_ColorSpace"), "5");
    EXPECT_EQ(Shown("JPEG_Scale"), "JPEG_EIGHTH");
    EXPECT_EQ(Shown("JPEG_Progressive"), "true");
    EXPECT_EQ(Shown("JPEG_OptimalHuffman"), "false");

    params.FileType = 1;
    struct TiffCase {
        TIOTIFFCompression compression;
        const char* shown;
    };
    for (const TiffCase& c : {TiffCase{ioTIFF_LZW, "5"}, TiffCase{ioTIFF_PACKBITS, "TIFF_PACKBITS"},
                              TiffCase{ioTIFF_ZIP, "9"}, TiffCase{ioTIFF_DEFLATE, "10"},
                              TiffCase{ioTIFF_UNKNOWN, "TIFF_UNKNOWN"}, TiffCase{ioTIFF_G4FAX, "TIFF_G4FAX"}}) {
        params.TIFF_Compression = c.compression;
        EXPECT_EQ(ListAndShow("TIFF_Compression"), c.shown);
    }
    params.TIFF_PageNumber = -1;
    params.TIFF_PhotometInterpret = ioTIFF_CIELAB;
    EXPECT_EQ(ListAndShow("TIFF_PageNumber"), "-1");
    EXPECT_EQ(Shown("TIFF_PhotometInterpret"), "TIFF_CIELAB");

    params.FileType = 2;
    params.GIF_Background = TRGB{0, 128, 255};  // blue, green, red
    params.GIF_Version = "GIF87a";
    EXPECT_EQ(ListAndShow("GIF_Background"), "R=255, G=128, B=0");
    EXPECT_EQ(Shown("GIF_Version"), "GIF87a");
    EXPECT_EQ(Shown("GIF_Comments"), "");
    params.GIF_Comments = {"a", "b"};
    EXPECT_EQ(ListAndShow("GIF_Comments"), "a, b");

    params.FileType = 6;
    params.ICO_Sizes = {};
    params.ICO_Sizes[0] = TICOSize{32, 32};
    params.ICO_Sizes[1] = TICOSize{16, 16};
    params.ICO_BitCount = {};
    params.ICO_BitCount[0] = 4;
    params.ICO_BitCount[1] = 32;
    EXPECT_EQ(ListAndShow("ICO_Sizes"), "32 x 32");
    EXPECT_EQ(Shown("ICO_BitCount"), "4");

    params.FileType = 17;
    params.PS_Compression = ioPS_JPEG;
    EXPECT_EQ(ListAndShow("PS_Compression"), "3");
}

TEST_F(SpecialInfoTest, RealsUseTheGeneralFormatAndTheUsersDecimalSeparator) {
    params.FileType = 11;
    params.TGA_AspectRatio = 1;
    params.TGA_Gamma = 2.2;
    SetUserLocaleForTesting(UserLocale{});
    EXPECT_EQ(ListAndShow("TGA_AspectRatio"), "1");
    EXPECT_EQ(Shown("TGA_Gamma"), "2.2");

    UserLocale comma;
    comma.DecimalSeparator = ',';
    SetUserLocaleForTesting(comma);
    params.TGA_AspectRatio = 0.5;
    EXPECT_EQ(ListAndShow("TGA_AspectRatio"), "0,5");
    EXPECT_EQ(Shown("TGA_Gamma"), "2,2");

    params.FileType = 13;
    params.J2000_Rate = 0.5;
    params.J2000_ScalableBy = ioJ2000_Resolution;
    EXPECT_EQ(ListAndShow("J2000_Rate"), "0,5");
    EXPECT_EQ(Shown("J2000_ScalableBy"), "J2000_Resolution");
}

TEST_F(SpecialInfoTest, TgaDateShowsDateTimeOrTimeOnlyByItsValue) {
    UserLocale locale;
    locale.ShortDateFormat = "%d.%m.%Y";
    locale.LongTimeFormat = "%H:%M:%S";
    SetUserLocaleForTesting(locale);
    TDateTime day = 0;
    ASSERT_TRUE(EncodeDate(2004, 3, 5, day));
    struct Case {
        TDateTime value;
        const char* shown;
    };
    const Case cases[] = {
        {0, "00:00:00"},             // the empty date: midnight, no date
        {0.75, "18:00:00"},          // below 1: a time of day only
        {day, "05.03.2004"},         // a whole day: no time
        {day + 0.5, "05.03.2004 12:00:00"},
        {1, "31.12.1899"},
    };
    params.FileType = 11;
    for (const Case& c : cases) {
        params.TGA_Date = c.value;
        EXPECT_EQ(ListAndShow("TGA_Date"), c.shown) << c.value;
    }
}

TEST_F(SpecialInfoTest, HelpTextsAreKeptByteForByte) {
    struct Case {
        int fileType;
        const char* row;
        const char* help;
    };
    const Case cases[] = {
        {5, "BMP_Compression",
         "Specifies compression method.\n  Only 16 or 256 color bitmap can be saved with RLE compression."},
        {2, "GIF_TranspColor", "GIF_TranspColor is the transparency coolor (If GIF_FlagTranspColor is True)."},
        {2, "GIF_Version", "GIF_Version can be 'GIF89a' or 'GIF87a'."},
        {3, "JPEG_Quality",
         "Quality factor, from 1 to 100. \nThe higher the value, the better the image quality, and the larger "
         "resultant memory needed."},
        {3, "JPEG_OptimalHuffman",
         "Specifies if jpeg compressor have to use an optimal huffman table (more compression)), instead "
         "standard table."},
        {13, "J2000_ColorSpace",
         "Specifies the saved/loaded color space. \nAllowed values:\nJ2000_GRAYLEV : gray scale image\n"
         "J2000_RGB : RGB image\nJ2000_YcbCr : YcbCr image"},
        {1, "TIFF_YPos", "Ytop-left position of the original scanned image."},
        {1, "TIFF_PageCount", "Number of pages in TIFF file"},
        {7, "CUR_ImageIndex", "The index (from 0) of the image. A CUR  file can contains multple images inside."},
        {6, "ICO_ImageIndex", "The index (from 0) of the image. \nAn ICO file can contains multple images inside."},
        {11, "TGA_Gamma", "TGA_Gamma contains the gamma value of the TGA image"},
        {0, "AVI_FrameDelayTime",
         "AVI_FrameDelayTime is the time in milliseconds the image will be showed on playing."},
        {20, "RAW_Camera", "Returns the camera descriptor."},
    };
    for (const Case& c : cases) {
        params.FileType = c.fileType;
        ListSpecialInfo(session, c.fileType == 0 ? "/x/a.avi" : "/x/a", InfoMode::List);
        const ReportList& list = session.SpecialInfoList;
        bool found = false;
        for (int i = 0; i < list.RowCount(); ++i) {
            if (list.Row(i).caption != c.row) continue;
            EXPECT_EQ(list.Row(i).SubItem(1), c.help) << c.row;
            found = true;
        }
        EXPECT_TRUE(found) << c.row;
    }
}

TEST_F(SpecialInfoTest, MarkerTextStopsAtTheEndOfItsData) {
    AddMarker(0xE2, "");
    AddMarker(0xE3, std::string("\0abc", 4));
    AddMarker(0xE4, "xyz");
    EXPECT_EQ(MarkerText(params.JPEG_MarkerList, 0), "");
    EXPECT_EQ(MarkerText(params.JPEG_MarkerList, 1), "");
    EXPECT_EQ(MarkerText(params.JPEG_MarkerList, 2), "xyz");
}

}  // namespace
}  // namespace velmora
