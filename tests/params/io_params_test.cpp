#include "params/io_params.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "params/format_registry.h"
#include "params/image_io.h"

namespace velmora {
namespace {

void AddMarker(TIOParamsVals& p, uint8_t type, const std::string& data) {
    p.JPEG_MarkerList.AddMarker(type, data.data(), uint16_t(data.size()));
}

std::string MarkerText(const TIOParamsVals& p, int i) {
    return std::string(reinterpret_cast<const char*>(p.JPEG_MarkerList.GetMarkerData(i)),
                       size_t(p.JPEG_MarkerList.GetMarkerLength(i)));
}

// A maker-note block with one SHORT entry (tag 1, value 7).
std::vector<uint8_t> OneTagMakerNote() {
    return {1, 0, /*tag*/ 1, 0, /*SHORT*/ 3, 0, /*count*/ 1, 0, 0, 0, /*value*/ 7, 0, 0, 0};
}

TEST(IOParamsTest, FreshRecordWithOwnerHasDpi300ButNoExifResolution) {
    TImageIO owner;
    const TIOParamsVals& p = owner.Params;
    EXPECT_EQ(p.Owner(), &owner);
    EXPECT_EQ(p.DpiX, 300);
    EXPECT_EQ(p.DpiY, 300);
    EXPECT_EQ(p.EXIF_XResolution, 0.0);
    EXPECT_EQ(p.EXIF_YResolution, 0.0);
    EXPECT_EQ(p.TIFF_Orientation, 1);
    EXPECT_EQ(p.EXIF_Orientation, 0);
    // A sample of defaults that are not zero.
    EXPECT_EQ(p.TIFF_SubIndex, -1);
    EXPECT_EQ(p.TIFF_PageNumber, -1);
    EXPECT_EQ(p.TIFF_ByteOrder, ioLittleEndian);
    EXPECT_EQ(p.GIF_Version, "GIF89a");
    EXPECT_EQ(p.GIF_Action, ioGIF_DrawBackground);
    EXPECT_EQ(p.ICO_Background, kWhite);
    EXPECT_EQ(p.ICO_Sizes[0], (TICOSize{64, 64}));
    EXPECT_EQ(p.ICO_Sizes[15], (TICOSize{0, 0}));
    EXPECT_EQ(p.ICO_BitCount[0], 8);
    EXPECT_EQ(p.ICO_BitCount[1], 0);
    EXPECT_TRUE(p.PSD_ReplaceLayers);
    EXPECT_TRUE(p.TGA_Compressed);
    EXPECT_EQ(p.TGA_Date, TodayDate());
    EXPECT_EQ(p.PS_Title, "No Title");
    EXPECT_EQ(p.PDF_PaperHeight, 842);
    EXPECT_EQ(p.RAW_Gamma, 0.6);
    EXPECT_TRUE(p.RAW_QuickInterpolate);
    EXPECT_EQ(p.EXIF_ExposureMode, -1);
    EXPECT_EQ(p.EXIF_DigitalZoomRatio, -1.0);
    EXPECT_EQ(p.EXIF_SubjectDistanceRange, -1);
    EXPECT_EQ(p.EXIF_Flash, 0);
}

TEST(IOParamsTest, SizeAndDpiComeFromTheOwnerOnly) {
    TImageIO owner;
    TIOParamsVals& p = owner.Params;
    p.Width = 11;
    p.Height = 12;
    p.SetDefaultParams();  // the owner's bitmap is empty: size unchanged
    EXPECT_EQ(p.Width, 11);
    EXPECT_EQ(p.Height, 12);
    ASSERT_TRUE(owner.Bitmap.Allocate(40, 30));
    p.DpiX = 72;
    p.SetDefaultParams();
    EXPECT_EQ(p.Width, 40);
    EXPECT_EQ(p.Height, 30);
    EXPECT_EQ(p.DpiX, 300);

    TIOParamsVals alone;
    alone.Width = 5;
    alone.DpiX = 72;
    alone.SetDefaultParams();
    EXPECT_EQ(alone.Width, 5);
    EXPECT_EQ(alone.DpiX, 72);
    EXPECT_EQ(alone.Owner(), nullptr);
}

TEST(IOParamsTest, SetDefaultParamsEmptiesEverythingItOwns) {
    TIOParamsVals p;
    p.JPEG_Quality = 20;
    p.EXIF_Make = "Maker";
    p.SetColorMap({kWhite, kBlack});
    p.GIF_Comments = {"c"};
    p.PNG_TextKeys = {"k"};
    p.PNG_TextValues = {"v"};
    p.PXM_Comments = {"x"};
    p.InputICC = {1, 2, 3};
    p.IPTC_Info.AddStringItem(2, 5, "title");
    AddMarker(p, 0xE2, "ICC");
    p.EXIF_Bitmap = std::make_unique<TImageBitmap>();
    p.SetDefaultParams();
    EXPECT_EQ(p.JPEG_Quality, 80);
    EXPECT_EQ(p.EXIF_Make, "");
    EXPECT_TRUE(p.ColorMap.empty());
    EXPECT_EQ(p.ColorMapCount, 0);
    EXPECT_TRUE(p.GIF_Comments.empty() && p.PNG_TextKeys.empty() && p.PNG_TextValues.empty() &&
                p.PXM_Comments.empty() && p.InputICC.empty());
    EXPECT_EQ(p.IPTC_Info.GetCount(), 0);
    EXPECT_EQ(p.JPEG_MarkerList.GetCount(), 0);
    EXPECT_EQ(p.EXIF_Bitmap, nullptr);
}

TEST(IOParamsTest, ResetInfoClearsFileDataButKeepsLoadOptions) {
    TIOParamsVals p;
    p.JPEG_Quality = 50;
    p.JPEG_Scale = ioJPEG_HALF;
    p.SetImageIndex(3);
    p.TIFF_PageNumber = 4;  // not cleared: a consumer decides by FileType
    p.Width = 640;
    p.FileType = ioJPEG;
    p.TIFF_DocumentName = "doc";
    p.TIFF_ImageDescription = "desc";
    p.TIFF_PageName = "page";
    p.TGA_Descriptor = "d";
    p.TGA_Author = "a";
    p.TGA_ImageName = "n";
    p.XMP_Info = "<x/>";
    p.GIF_Comments = {"c"};
    p.PXM_Comments = {"x"};
    p.PNG_TextKeys = {"k"};
    p.PNG_TextValues = {"v"};
    p.InputICC = {1};
    p.EXIF_Make = "Maker";
    p.EXIF_HasEXIF = true;
    p.IPTC_Info.AddStringItem(2, 5, "title");
    AddMarker(p, 0xFE, "comment");

    p.ResetInfo();
    EXPECT_EQ(p.JPEG_Quality, 50);
    EXPECT_EQ(p.JPEG_Scale, ioJPEG_HALF);
    EXPECT_EQ(p.ImageIndex, 3);
    EXPECT_EQ(p.TIFF_PageNumber, 4);
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.FileType, ioJPEG);
    for (const std::string* s : {&p.TIFF_DocumentName, &p.TIFF_ImageDescription, &p.TIFF_PageName,
                                 &p.TGA_Descriptor, &p.TGA_Author, &p.TGA_ImageName, &p.XMP_Info,
                                 &p.EXIF_Make})
        EXPECT_EQ(*s, "");
    EXPECT_TRUE(p.GIF_Comments.empty() && p.PXM_Comments.empty() && p.PNG_TextKeys.empty() &&
                p.PNG_TextValues.empty() && p.InputICC.empty());
    EXPECT_FALSE(p.EXIF_HasEXIF);
    EXPECT_EQ(p.IPTC_Info.GetCount(), 0);
    EXPECT_EQ(p.JPEG_MarkerList.GetCount(), 0);
}

TEST(IOParamsTest, ResetEXIFRemovesOnlyTheFirstExifApp1) {
    TIOParamsVals p;
    const std::string exif1("Exif\0\0first", 11), exif2("Exif\0\0second", 12);
    const std::string xmp = "http://ns.adobe.com/xap/1.0/";
    AddMarker(p, 0xE1, xmp);
    AddMarker(p, 0xE1, "Exif");  // 4 bytes: too short to be an EXIF block
    AddMarker(p, 0xE0, exif1);   // EXIF bytes, but not APP1
    AddMarker(p, 0xE1, exif1);
    AddMarker(p, 0xE1, exif2);
    p.EXIF_Make = "Maker";
    p.EXIF_Bitmap = std::make_unique<TImageBitmap>();
    p.SetEXIF_ISOSpeedRatings(0, 100);
    p.EXIF_MakerNote.SetData(OneTagMakerNote());
    p.EXIF_MakerNote.Update();
    ASSERT_TRUE(p.EXIF_MakerNote.TagExists(1));

    p.ResetEXIF();
    ASSERT_EQ(p.JPEG_MarkerList.GetCount(), 4);
    EXPECT_EQ(MarkerText(p, 0), xmp);
    EXPECT_EQ(MarkerText(p, 1), "Exif");
    EXPECT_EQ(p.JPEG_MarkerList.GetMarkerType(2), 0xE0);
    EXPECT_EQ(MarkerText(p, 3), exif2);
    EXPECT_EQ(p.EXIF_Make, "");
    EXPECT_EQ(p.GetEXIF_ISOSpeedRatings(0), 0);
    EXPECT_EQ(p.EXIF_Bitmap, nullptr);
    EXPECT_EQ(p.EXIF_MakerNote.DataSize(), 0);
    // No tag of the previous maker note survives the reset.
    EXPECT_FALSE(p.EXIF_MakerNote.TagExists(1));
}

TEST(IOParamsTest, CoupledSetters) {
    TIOParamsVals p;
    p.SetEXIF_XResolution(72.5);
    EXPECT_EQ(p.DpiX, 72);
    EXPECT_EQ(p.EXIF_XResolution, 72.5);
    p.SetDpiX(96);
    EXPECT_EQ(p.EXIF_XResolution, 96.0);
    p.SetEXIF_YResolution(-3.9);
    EXPECT_EQ(p.DpiY, -3);
    EXPECT_EQ(p.EXIF_YResolution, -3.9);
    // A resolution beyond the integer range saturates instead of overflowing.
    p.SetEXIF_YResolution(1e12);
    EXPECT_EQ(p.DpiY, INT_MAX);
    EXPECT_EQ(p.EXIF_YResolution, 1e12);
    p.SetDpi(150);
    EXPECT_EQ(p.DpiX, 150);
    EXPECT_EQ(p.EXIF_YResolution, 150.0);

    p.SetImageIndex(4);
    for (int32_t v : {p.ImageIndex, p.TIFF_ImageIndex, p.DCX_ImageIndex, p.GIF_ImageIndex,
                      p.ICO_ImageIndex, p.CUR_ImageIndex})
        EXPECT_EQ(v, 4);
    p.SetImageCount(9);
    for (int32_t v : {p.ImageCount, p.TIFF_ImageCount, p.AVI_FrameCount, p.GIF_ImageCount,
                      p.MEDIAFILE_FrameCount})
        EXPECT_EQ(v, 9);
    p.SetEXIF_Orientation(6);
    EXPECT_EQ(p.TIFF_Orientation, 6);
    p.SetTIFF_Orientation(3);
    EXPECT_EQ(p.EXIF_Orientation, 3);

    p.SetGetThumbnail(true);
    EXPECT_TRUE(p.JPEG_GetExifThumbnail && p.RAW_GetExifThumbnail);
    p.SetJPEG_GetExifThumbnail(false);
    EXPECT_FALSE(p.GetThumbnail);
    EXPECT_TRUE(p.RAW_GetExifThumbnail);
    p.SetRAW_GetExifThumbnail(false);
    EXPECT_FALSE(p.RAW_GetExifThumbnail);

    p.SetColorMap({kWhite, kBlack, kWhite});
    EXPECT_EQ(p.ColorMapCount, 3);
    p.FreeColorMap();
    EXPECT_EQ(p.ColorMapCount, 0);
    EXPECT_TRUE(p.ColorMap.empty());
}

TEST(IOParamsTest, AssignCopiesEverythingAndRoutesCoupledFieldsThroughSetters) {
    TIOParamsVals src;
    src.FileName = "/tmp/a.jpg";
    src.FileType = ioJPEG;
    src.EXIF_Make = "Maker";
    src.EXIF_XPTitle = u"title";
    src.GIF_TranspColor = TRGB{1, 2, 3};
    src.TGA_Gamma = 1.8;
    src.SetEXIF_PrimaryChromaticities(5, 0.25);
    src.ICO_Sizes[3] = {32, 16};
    src.ICO_BitCount[3] = 4;
    src.SetColorMap({TRGB{1, 2, 3}, kWhite});
    src.GIF_Comments = {"g1", "g2"};
    src.PXM_Comments = {"p"};
    src.PNG_TextKeys = {"k"};
    src.PNG_TextValues = {"v"};
    src.InputICC = {9, 9};
    src.IPTC_Info.AddStringItem(2, 120, "caption");
    AddMarker(src, 0xFE, "comment");
    src.EXIF_MakerNote.SetData(OneTagMakerNote());
    src.EXIF_MakerNote.Update();
    src.EXIF_Bitmap = std::make_unique<TImageBitmap>();
    ASSERT_TRUE(src.EXIF_Bitmap->Allocate(4, 3));
    src.ImageIndex = 2;
    src.CUR_ImageIndex = 5;
    src.TIFF_Orientation = 6;
    src.EXIF_Orientation = 8;
    src.DpiX = 200;
    src.DpiY = 100;
    src.EXIF_XResolution = 72.5;
    src.EXIF_YResolution = 0;

    TIOParamsVals dst;
    dst.GIF_Comments = {"old"};
    AddMarker(dst, 0xE0, "old");
    dst.Assign(src);

    EXPECT_EQ(dst.FileName, src.FileName);
    EXPECT_EQ(dst.FileType, ioJPEG);
    EXPECT_EQ(dst.EXIF_Make, "Maker");
    EXPECT_EQ(dst.EXIF_XPTitle, u"title");
    EXPECT_EQ(dst.GIF_TranspColor, (TRGB{1, 2, 3}));
    EXPECT_EQ(dst.TGA_Gamma, 1.8);
    EXPECT_EQ(dst.GetEXIF_PrimaryChromaticities(5), 0.25);
    EXPECT_EQ(dst.ICO_Sizes, src.ICO_Sizes);
    EXPECT_EQ(dst.ICO_BitCount, src.ICO_BitCount);
    EXPECT_EQ(dst.ColorMap, src.ColorMap);
    EXPECT_EQ(dst.ColorMapCount, 2);
    EXPECT_EQ(dst.GIF_Comments, src.GIF_Comments);
    EXPECT_EQ(dst.PXM_Comments, src.PXM_Comments);
    EXPECT_EQ(dst.PNG_TextKeys, src.PNG_TextKeys);
    EXPECT_EQ(dst.PNG_TextValues, src.PNG_TextValues);
    EXPECT_EQ(dst.InputICC, src.InputICC);
    ASSERT_EQ(dst.IPTC_Info.GetCount(), 1);
    EXPECT_EQ(dst.IPTC_Info.GetStrings(0), "caption");
    ASSERT_EQ(dst.JPEG_MarkerList.GetCount(), 1);
    EXPECT_EQ(MarkerText(dst, 0), "comment");
    EXPECT_EQ(dst.EXIF_MakerNote.Data().Bytes(), OneTagMakerNote());
    EXPECT_EQ(dst.EXIF_MakerNote.GetInteger(1), 7);
    ASSERT_NE(dst.EXIF_Bitmap, nullptr);
    EXPECT_NE(dst.EXIF_Bitmap.get(), src.EXIF_Bitmap.get());
    EXPECT_EQ(dst.EXIF_Bitmap->Width(), 4);

    // The image indexes are copied through SetImageIndex in record order: the last one wins.
    EXPECT_EQ(dst.ImageIndex, 5);
    EXPECT_EQ(dst.TIFF_ImageIndex, 5);
    // EXIF_Orientation follows the source's TIFF orientation.
    EXPECT_EQ(dst.TIFF_Orientation, 6);
    EXPECT_EQ(dst.EXIF_Orientation, 6);
    // The exact EXIF resolutions are copied after the Dpi setters.
    EXPECT_EQ(dst.DpiX, 200);
    EXPECT_EQ(dst.DpiY, 100);
    EXPECT_EQ(dst.EXIF_XResolution, 72.5);
    EXPECT_EQ(dst.EXIF_YResolution, 0.0);

    // A source without thumbnail or maker note leaves none of the old ones behind.
    TIOParamsVals empty;
    dst.Assign(empty);
    EXPECT_EQ(dst.EXIF_Bitmap, nullptr);
    EXPECT_EQ(dst.EXIF_MakerNote.DataSize(), 0);
    EXPECT_FALSE(dst.EXIF_MakerNote.TagExists(1));
    EXPECT_TRUE(dst.ColorMap.empty());
    EXPECT_TRUE(dst.GIF_Comments.empty());
}

TEST(IOParamsTest, FileTypeStrNamesTheFormatAndItsVariant) {
    const struct {
        int32_t fileType;
        void (*set)(TIOParamsVals&);
        const char* text;
    } cases[] = {
        {ioTIFF, [](TIOParamsVals& p) { p.TIFF_Compression = ioTIFF_LZW; }, "TIFF Bitmap (TIF) LZW"},
        {ioTIFF, [](TIOParamsVals& p) { p.TIFF_Compression = ioTIFF_DEFLATE; }, "TIFF Bitmap (TIF) Deflate"},
        {ioTIFF, [](TIOParamsVals& p) { p.TIFF_Compression = ioTIFF_UNKNOWN; }, "TIFF Bitmap (TIF)"},
        {ioTIFF, [](TIOParamsVals& p) { p.TIFF_Compression = TIOTIFFCompression(200); }, "TIFF Bitmap (TIF)"},
        {ioJPEG, [](TIOParamsVals& p) { p.JPEG_ColorSpace = ioJPEG_RGB; }, "JPEG Bitmap (JPG)"},
        {ioJPEG, [](TIOParamsVals& p) { p.JPEG_ColorSpace = ioJPEG_YCbCrK; }, "JPEG Bitmap (JPG) YCbCrK"},
        {ioGIF, [](TIOParamsVals& p) { p.GIF_Interlaced = true; }, "CompuServe Bitmap (GIF) Interlaced"},
        {ioBMP, [](TIOParamsVals& p) { p.BMP_Version = ioBMP_BMOS2V2; }, "Windows Bitmap (BMP) OS/2 v.2"},
        {ioTGA, [](TIOParamsVals& p) { p.TGA_Compressed = false; }, "Targa Bitmap (TGA) Uncompressed"},
        {ioRAW, [](TIOParamsVals& p) { p.RAW_Camera = "Cam X"; }, nullptr},
        {ioUnknown, [](TIOParamsVals&) {}, ""},
        {ioAVI, [](TIOParamsVals&) {}, ""},
        {99, [](TIOParamsVals&) {}, ""},
    };
    for (const auto& c : cases) {
        TIOParamsVals p;
        p.FileType = c.fileType;
        c.set(p);
        if (c.text) {
            EXPECT_EQ(p.GetFileTypeStr(), c.text) << c.fileType;
        } else {
            const TFileFormatInfo* info = FileFormatGetInfo(c.fileType);
            ASSERT_NE(info, nullptr);
            const std::string text = p.GetFileTypeStr();
            EXPECT_EQ(text.rfind(info->DisplayName + " (", 0), 0u) << text;
            EXPECT_TRUE(text.ends_with(") (Cam X)")) << text;
        }
    }
    // PCX names only the uncompressed variant.
    TIOParamsVals pcx;
    pcx.FileType = ioPCX;
    const std::string rle = pcx.GetFileTypeStr();
    pcx.PCX_Compression = ioPCX_UNCOMPRESSED;
    EXPECT_EQ(pcx.GetFileTypeStr(), rle + " Uncompressed");
}

}  // namespace
}  // namespace velmora
