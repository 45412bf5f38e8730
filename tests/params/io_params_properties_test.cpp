#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "params/format_registry.h"
#include "params/io_params.h"
#include "params/user_locale.h"

namespace velmora {
namespace {

constexpr const char* kInvalid = "INVALID PROPERTY";

class IOParamsPropertiesTest : public ::testing::Test {
protected:
    void UseLocale(char separator, const std::string& dateFormat) {
        UserLocale locale;
        locale.DecimalSeparator = separator;
        locale.ShortDateFormat = dateFormat;
        SetUserLocaleForTesting(locale);
    }
    void SetUp() override { UseLocale('.', "%m/%d/%Y"); }
    void TearDown() override { ClearUserLocaleForTesting(); }

    TIOParamsVals p;
};

TEST_F(IOParamsPropertiesTest, KeysFollowTheFieldTable) {
    const std::vector<std::string>& keys = TIOParamsVals::PropertyKeys();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front(), "BITSPERSAMPLE");
    EXPECT_EQ(keys.back(), "EXIF_GPSDATESTAMP");
    const auto fileType = std::find(keys.begin(), keys.end(), "FILETYPE");
    ASSERT_NE(fileType, keys.end());
    EXPECT_EQ(*(fileType + 1), "FILETYPESTR");
    EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size());
    for (const char* absent : {"GIF_ACTION", "GIF_FLAGTRANSPCOLOR", "ICO_SIZES", "AVI_FRAMECOUNT",
                               "EXIF_YCBCRPOSITIONING", "EXIF_WHITEPOINT", "COLORMAP",
                               "TIFF_PHOTOMETINTERPRET"}) {
        EXPECT_EQ(std::count(keys.begin(), keys.end(), absent), 0) << absent;
        EXPECT_EQ(p.GetProperty(absent), kInvalid) << absent;
    }
    EXPECT_EQ(p.GetProperty("TIFF_PHOTOMETINTEPRET"), "2");
}

// Writing every key's own text back must leave every key's text as it was: catches a key
// bound to the wrong field, a form that does not read what it writes, and stray routing.
TEST_F(IOParamsPropertiesTest, EveryKeyReadsBackWhatItWrites) {
    UseLocale(',', "%d.%m.%Y");
    p.FileType = ioTIFF;
    // Coupled fields start out consistent, as their setters leave them.
    p.SetEXIF_XResolution(72.5);
    p.SetTIFF_Orientation(1);
    p.RAW_Gamma = 1.0 / 3;
    p.EXIF_GPSLatitudeSeconds = 1e-7;
    p.EXIF_XPTitle = u"Gr\u00fc\u00dfe";
    p.PNG_Background = TRGB{30, 20, 10};
    p.SetImageIndex(2);
    const std::vector<std::string>& keys = TIOParamsVals::PropertyKeys();
    std::vector<std::string> before;
    for (const std::string& key : keys) before.push_back(p.GetProperty(key));
    for (size_t i = 0; i < keys.size(); ++i) p.SetProperty(keys[i], before[i]);
    for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(p.GetProperty(keys[i]), before[i]) << keys[i];
    EXPECT_EQ(p.GetProperty("EXIF_XRESOLUTION"), "72.5");
    EXPECT_EQ(p.GetProperty("RAW_GAMMA"), "0.3333333333333333");
    EXPECT_EQ(p.GetProperty("EXIF_GPSLATITUDESECONDS"), "1e-07");
    EXPECT_EQ(p.GetProperty("PNG_BACKGROUND"), "10,20,30");
    EXPECT_EQ(p.GetProperty("EXIF_XPTITLE"), "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(p.GetProperty("FILETYPESTR"), p.GetFileTypeStr());
    EXPECT_EQ(p.GetProperty("TGA_DATE"), FormatShortDate(TodayDate()));
}

TEST_F(IOParamsPropertiesTest, NamesAreCaseInsensitiveAndLoseControlCharacters) {
    p.SetProperty("gif_transparent", "1");
    EXPECT_TRUE(p.GIF_FlagTranspColor);
    EXPECT_EQ(p.GetProperty("Gif_Transparent"), "1");
    EXPECT_EQ(p.GetProperty("GIF_FLAGTRANSPCOLOR"), kInvalid);
    p.SetProperty("GIF_FLAGTRANSPCOLOR", "0");
    EXPECT_TRUE(p.GIF_FlagTranspColor);

    p.SetProperty("\tps_ti\ntle\x7f", "My\r\n Ti\x01tle");
    EXPECT_EQ(p.PS_Title, "My Title");
    EXPECT_EQ(p.GetProperty("PS_TITLE\x1b"), "My Title");
    EXPECT_EQ(p.GetProperty("NO_SUCH_KEY"), kInvalid);
    EXPECT_EQ(p.GetProperty(""), kInvalid);
    p.SetProperty("NO_SUCH_KEY", "1");  // ignored
}

TEST_F(IOParamsPropertiesTest, IntegersTakeTheirFallbackWhenUnreadable) {
    const struct {
        const char* key;
        const char* text;
        const char* expected;
    } cases[] = {
        {"WIDTH", "abc", "1"},          {"WIDTH", " 640 ", "640"},       {"HEIGHT", "", "1"},
        {"BITSPERSAMPLE", "x", "8"},    {"SAMPLESPERPIXEL", "1.5", "8"}, {"TIFF_FILLORDER", "?", "1"},
        {"TIFF_BYTEORDER", "big", "1"}, {"PNG_COMPRESSION", "-", "1"},   {"PS_PAPERWIDTH", "A4", "595"},
        {"PDF_PAPERHEIGHT", "", "842"}, {"JPEG_QUALITY", "high", "0"},   {"GIF_DELAYTIME", "-20", "-20"},
        {"TIFF_PAGENUMBER", "99999999999", "0"},
        // Enumerations are bytes: the ordinal is taken, a number outside 0..255 is unreadable.
        {"TIFF_COMPRESSION", "5", "5"}, {"TIFF_COMPRESSION", "300", "0"},
    };
    for (const auto& c : cases) {
        p.SetProperty(c.key, c.text);
        EXPECT_EQ(p.GetProperty(c.key), c.expected) << c.key << " <- '" << c.text << "'";
    }
    EXPECT_EQ(p.TIFF_Compression, ioTIFF_UNCOMPRESSED);
}

TEST_F(IOParamsPropertiesTest, BooleansAndColours) {
    for (const char* yes : {"1", "true", "TRUE", "t", "T"}) {
        p.SetProperty("PNG_INTERLACED", yes);
        EXPECT_TRUE(p.PNG_Interlaced) << yes;
    }
    for (const char* no : {"0", "", "yes", "2", "false"}) {
        p.PNG_Interlaced = true;
        p.SetProperty("PNG_INTERLACED", no);
        EXPECT_FALSE(p.PNG_Interlaced) << no;
    }
    EXPECT_EQ(p.GetProperty("TGA_COMPRESSED"), "1");

    p.SetProperty("PNG_BACKGROUND", " 10 , 20 , 30 ");
    EXPECT_EQ(p.PNG_Background, (TRGB{30, 20, 10}));  // stored blue, green, red
    EXPECT_EQ(p.GetProperty("PNG_BACKGROUND"), "10,20,30");
    p.SetProperty("ICO_BACKGROUND", "x,5,300");
    EXPECT_EQ(p.GetProperty("ICO_BACKGROUND"), "0,5,255");
    p.SetProperty("PNG_BACKGROUND", "1,2");
    EXPECT_EQ(p.PNG_Background, kBlack);
}

TEST_F(IOParamsPropertiesTest, DoublesWriteDotAndReadEitherSeparator) {
    UseLocale(',', "%d.%m.%Y");
    EXPECT_EQ(p.GetProperty("TGA_GAMMA"), "2.2");
    EXPECT_EQ(p.GetProperty("J2000_RATE"), "1");
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1,5", 1.5}, {"2.25", 2.25}, {" -3,5E2 ", -350}, {"abc", 0}, {"1.000,5", 0}, {"", 0},
    };
    for (const auto& c : cases) {
        p.TGA_AspectRatio = 7;
        p.SetProperty("TGA_ASPECTRATIO", c.text);
        EXPECT_EQ(p.TGA_AspectRatio, c.value) << c.text;
    }
    UseLocale('.', "%m/%d/%Y");
    p.SetProperty("RAW_BRIGHT", "3,75");
    EXPECT_EQ(p.RAW_Bright, 3.75);
}

TEST_F(IOParamsPropertiesTest, ReadOnlyKeysAreIgnored) {
    p.FileName = "a.jpg";
    p.FileType = ioJPEG;
    p.SetColorMap({kWhite});
    p.SetImageCount(3);
    for (const char* key : {"FILENAME", "FILETYPESTR", "FILETYPE", "COLORMAPCOUNT",
                            "TIFF_IMAGECOUNT", "GIF_IMAGECOUNT"})
        p.SetProperty(key, "7");
    EXPECT_EQ(p.FileName, "a.jpg");
    EXPECT_EQ(p.FileType, ioJPEG);
    EXPECT_EQ(p.ColorMapCount, 1);
    EXPECT_EQ(p.TIFF_ImageCount, 3);
    EXPECT_EQ(p.GIF_ImageCount, 3);
    EXPECT_EQ(p.GetProperty("FILENAME"), "a.jpg");
}

TEST_F(IOParamsPropertiesTest, CoupledKeysGoThroughTheirSetters) {
    p.SetProperty("DPIX", "96");
    EXPECT_EQ(p.EXIF_XResolution, 96.0);
    p.SetProperty("EXIF_YRESOLUTION", "72.5");
    EXPECT_EQ(p.DpiY, 72);
    EXPECT_EQ(p.EXIF_YResolution, 72.5);
    p.SetProperty("GIF_IMAGEINDEX", "4");
    EXPECT_EQ(p.ImageIndex, 4);
    EXPECT_EQ(p.CUR_ImageIndex, 4);
    p.SetProperty("IMAGECOUNT", "12");
    EXPECT_EQ(p.TIFF_ImageCount, 12);
    EXPECT_EQ(p.MEDIAFILE_FrameCount, 12);
    p.SetProperty("EXIF_ORIENTATION", "8");
    EXPECT_EQ(p.TIFF_Orientation, 8);
    p.SetProperty("TIFF_ORIENTATION", "none");
    EXPECT_EQ(p.EXIF_Orientation, 1);
    p.SetProperty("GETTHUMBNAIL", "1");
    EXPECT_TRUE(p.JPEG_GetExifThumbnail && p.RAW_GetExifThumbnail);
    p.SetProperty("JPEG_GETEXIFTHUMBNAIL", "0");
    EXPECT_FALSE(p.GetThumbnail);
    // A field outside the coupled ones stays on its own.
    p.SetProperty("TIFF_PAGECOUNT", "5");
    EXPECT_EQ(p.ImageCount, 12);
}

TEST_F(IOParamsPropertiesTest, ColorMapItemsWithinThePalette) {
    p.SetColorMap({kBlack, TRGB{3, 2, 1}});
    EXPECT_EQ(p.GetProperty("colormapitem1"), "1,2,3");
    p.SetProperty("COLORMAPITEM0", "255,0,128");
    EXPECT_EQ(p.ColorMap[0], (TRGB{128, 0, 255}));
    for (const char* key : {"COLORMAPITEM2", "COLORMAPITEM", "COLORMAPITEM-1", "COLORMAPITEM1x",
                            "COLORMAPITEM99999999999999999999"}) {
        EXPECT_EQ(p.GetProperty(key), kInvalid) << key;
        p.SetProperty(key, "9,9,9");
    }
    EXPECT_EQ(p.ColorMap.size(), 2u);
    EXPECT_EQ(p.ColorMap[1], (TRGB{3, 2, 1}));
}

TEST_F(IOParamsPropertiesTest, TgaDateUsesTheShortDateFormat) {
    UseLocale(',', "%d.%m.%Y");
    p.SetProperty("TGA_DATE", "24.12.2023");
    EXPECT_EQ(p.GetProperty("TGA_DATE"), "24.12.2023");
    TDateTime expected = 0;
    ASSERT_TRUE(EncodeDate(2023, 12, 24, expected));
    EXPECT_EQ(p.TGA_Date, expected);
    p.SetProperty("TGA_DATE", "12/24/2023");
    p.SetProperty("TGA_DATE", "not a date");
    EXPECT_EQ(p.TGA_Date, expected);
}

}  // namespace
}  // namespace velmora
