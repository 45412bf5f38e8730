#include "info/special_catalogue.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "params/file_name.h"
#include "params/user_locale.h"

namespace velmora {

namespace {

using P = TIOParamsVals;

template <typename T>
SpecialFieldValue AsFieldValue(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        return SpecialFieldValue(std::in_place_type<bool>, value);
    } else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>) {
        return SpecialFieldValue(std::in_place_type<int64_t>, static_cast<int64_t>(value));
    } else if constexpr (std::is_same_v<T, std::string>) {
        return SpecialFieldValue(std::in_place_type<std::string_view>, value);
    } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        return SpecialFieldValue(std::in_place_type<const std::vector<std::string>*>, &value);
    } else {
        return SpecialFieldValue(std::in_place_type<T>, value);
    }
}

template <auto Member>
SpecialFieldValue Field(const P& params) {
    return AsFieldValue(params.*Member);
}

// Entry 0 of a per-image array: the icon file's first image.
template <auto Member>
SpecialFieldValue FirstEntry(const P& params) {
    return AsFieldValue((params.*Member)[0]);
}

constexpr EnumText kBMPCompressionTexts[] = {{0, "BMP_UNCOMPRESSED"}, {1, "BMP_RLE"}};
constexpr EnumText kBMPVersionTexts[] = {
    {0, "BMP_BM"}, {1, "BMP_BM3"}, {2, "BMP_BMOS2V1"}, {3, "BMP_BMOS2V2"}};
constexpr EnumText kJPEGColorSpaceTexts[] = {
    {0, "JPEG_RGB"}, {1, "JPEG_GRAYLEV"}, {2, "JPEG_YCbCr"}, {3, "JPEG_CMYK"}, {4, "JPEG_YCbCrK"}};
constexpr EnumText kJPEGDCTMethodTexts[] = {{0, "JPEG_ISLOW"}, {1, "JPEG_IFAST"}, {2, "JPEG_FLOAT"}};
constexpr EnumText kJPEGScaleTexts[] = {{0, "JPEG_AUTOCALC"}, {1, "JPEG_FULLSIZE"}, {2, "JPEG_HALF"},
                                        {3, "JPEG_QUARTER"},  {4, "JPEG_EIGHTH"}};
constexpr EnumText kJ2000ColorSpaceTexts[] = {{0, "J2000_GRAYLEV"}, {1, "J2000_RGB"}, {2, "J2000_YCbCr"}};
constexpr EnumText kJ2000ScalableByTexts[] = {{0, "J2000_Rate"}, {1, "J2000_Resolution"}};
constexpr EnumText kPCXCompressionTexts[] = {{0, "PCX_UNCOMPRESSED"}, {1, "PCX_RLE"}};
// LZW (5), ZIP (9) and Deflate (10) have no text and show as numbers.
constexpr EnumText kTIFFCompressionTexts[] = {
    {0, "TIFF_UNCOMPRESSED"}, {1, "TIFF_CCITT1D"}, {2, "TIFF_G3FAX1D"}, {3, "TIFF_G3FAX2D"},
    {4, "TIFF_G4FAX"},        {6, "TIFF_OLDJPEG"}, {7, "TIFF_JPEG"},    {8, "TIFF_PACKBITS"},
    {11, "TIFF_UNKNOWN"}};
constexpr EnumText kTIFFPhotometInterpretTexts[] = {
    {0, "TIFF_WHITEISZERO"}, {1, "TIFF_BLACKISZERO"}, {2, "TIFF_RGB"},  {3, "TIFF_RGBPALETTE"},
    {4, "TIFF_TRANSPMASK"},  {5, "TIFF_CMYK"},        {6, "TIFF_YCBCR"}, {7, "TIFF_CIELAB"}};
constexpr EnumText kPNGFilterTexts[] = {{0, "PNG_FILTER_NONE"}, {1, "PNG_FILTER_SUB"}, {2, "PNG_FILTER_PAETH"}};

const SpecialRow kBmpRows[] = {
    {"BMP_Compression", ValueRule::Enumeration, Field<&P::BMP_Compression>, kBMPCompressionTexts,
     "Specifies compression method.\n"
     "  Only 16 or 256 color bitmap can be saved with RLE compression."},
    {"BMP_Version", ValueRule::Enumeration, Field<&P::BMP_Version>, kBMPVersionTexts,
     "Specifies version of the BMP file.\n"
     "BMP_BM is old Windows bitmap.\n"
     "BMP_BM3 is Windows 3.x or newer bitmap.\n"
     "BMOS2V1 is IBM OS/2 version 1.x bitmap.\n"
     "BMOS2V2 is IBM OS/2 version 2.x bitmap."},
};

const SpecialRow kGifRows[] = {
    {"GIF_Background", ValueRule::Colour, Field<&P::GIF_Background>, {},
     "GIF_Background is the background color of the GIF."},
    {"GIF_DelayTime", ValueRule::Integer, Field<&P::GIF_DelayTime>, {},
     "GIF_DelayTime is the time (in 1/100 s) the frame remains showed."},
    {"GIF_FlagTranspColor", ValueRule::Boolean, Field<&P::GIF_FlagTranspColor>, {},
     "If True the GIF_TranspColor color is valid (the image has a transparency color)."},
    {"GIF_ImageIndex", ValueRule::Integer, Field<&P::GIF_ImageIndex>, {},
     "The index (from 0) of the image."},
    {"GIF_ImageCount", ValueRule::Integer, Field<&P::GIF_ImageCount>, {},
     "Specifies the image count of the last GIF loaded."},
    {"GIF_Interlaced", ValueRule::Boolean, Field<&P::GIF_Interlaced>, {},
     "If True the image is interlaced."},
    {"GIF_Ratio", ValueRule::Integer, Field<&P::GIF_Ratio>, {},
     "Aspect ratio."},
    {"GIF_TranspColor", ValueRule::Colour, Field<&P::GIF_TranspColor>, {},
     "GIF_TranspColor is the transparency coolor (If GIF_FlagTranspColor is True)."},
    {"GIF_Version", ValueRule::Text, Field<&P::GIF_Version>, {},
     "GIF_Version can be 'GIF89a' or 'GIF87a'."},
    {"GIF_WinHeight", ValueRule::Integer, Field<&P::GIF_WinHeight>, {},
     "GIF_WinHeight is the height of the window where GIF is showed."},
    {"GIF_WinWidth", ValueRule::Integer, Field<&P::GIF_WinWidth>, {},
     "GIF_WinWidth is the width of the window where GIF is showed."},
    {"GIF_XPos", ValueRule::Integer, Field<&P::GIF_XPos>, {},
     "GIF_XPos is the top-left X coordinate where the frame will be showed."},
    {"GIF_YPos", ValueRule::Integer, Field<&P::GIF_YPos>, {},
     "GIF_YPos is the top-left Y coordinate where the frame will be showed."},
    {"GIF_Comments", ValueRule::Comments, Field<&P::GIF_Comments>, {},
     "Contains the text comments contained in a GIF file."},
};

const SpecialRow kJpegRows[] = {
    {"JPEG_ColorSpace", ValueRule::Enumeration, Field<&P::JPEG_ColorSpace>, kJPEGColorSpaceTexts,
     "JPEG_RGB is separate RGB channels.\n"
     "JPEG_GRAYLEV is unique intensity channel (gray levels).\n"
     "JPEG_YCbCr three channels (CCIR Recommendation 601-1)\n"
     "JPEG_CMYK four channels (Cyan Magenta Yellow Black) - linear convertion\n"
     "JPEG_YCbCrK four channels (YCbCr and Black)"},
    {"JPEG_DCTMethod", ValueRule::Enumeration, Field<&P::JPEG_DCTMethod>, kJPEGDCTMethodTexts,
     "Specify the DCT method.\n"
     "JPEG_ISLOW is slow but accurate integer algorithm.\n"
     "JPEG_IFAST is faster, less accurate integer method.\n"
     "JPEG_FLOAT is a floating-point method (machine dependent)."},
    {"JPEG_OptimalHuffman", ValueRule::Boolean, Field<&P::JPEG_OptimalHuffman>, {},
     "Specifies if jpeg compressor have to use an optimal huffman table (more compression)), instead standard table."},
    {"JPEG_Progressive", ValueRule::Boolean, Field<&P::JPEG_Progressive>, {},
     "Specifies if this is a progressive jpeg."},
    {"JPEG_Quality", ValueRule::Integer, Field<&P::JPEG_Quality>, {},
     "Quality factor, from 1 to 100. \n"
     "The higher the value, the better the image quality, and the larger resultant memory needed."},
    {"JPEG_Smooth", ValueRule::Integer, Field<&P::JPEG_Smooth>, {},
     "Smoothing factor (0 is none, 100 is max). \n"
     "If JPEG_Smooth is not zero, the jpeg compressor smooth the image before compress it. This improves compression."},
    {"JPEG_Scale", ValueRule::Enumeration, Field<&P::JPEG_Scale>, kJPEGScaleTexts,
     "JPEGScale defines the sizes of loaded JPEG image. \n"
     "This proprety affects the speed of load.\n"
     "Allowed values are:\n"
     "JPEG_AUTOCALC : self calculates JPEGScale to mach Params.Width and Params.Height properties;\n"
     "JPEG_FULLSIZE : full size image (default).\n"
     "JPEG_HALF : 1/2 of the full size;\n"
     "JPEG_QUARTER : 1/4 of the full size;\n"
     "JPEG_EIGHTH : 1/8 of the full size."},
    {"JPEG_WarningTot", ValueRule::Integer, Field<&P::JPEG_WarningTot>, {},
     "JPEG_WarningTot is the count of all warnings encountered during loading a Jpeg."},
    {"JPEG_WarningCode", ValueRule::Integer, Field<&P::JPEG_WarningCode>, {},
     "JPEG_WarningCode is the last warning code encountered during loading a Jpeg."},
    {"JPEG_OriginalWidth", ValueRule::Integer, Field<&P::JPEG_OriginalWidth>, {},
     "JPEG_OriginalWidth specifies the original width when the jpeg image is scaled."},
    {"JPEG_OriginalHeight", ValueRule::Integer, Field<&P::JPEG_OriginalHeight>, {},
     "JPEG_OriginalHeight specifies the original height when the jpeg image is scaled."},
};

const SpecialRow kJ2000Rows[] = {
    {"J2000_ColorSpace", ValueRule::Enumeration, Field<&P::J2000_ColorSpace>, kJ2000ColorSpaceTexts,
     "Specifies the saved/loaded color space. \n"
     "Allowed values:\n"
     "J2000_GRAYLEV : gray scale image\n"
     "J2000_RGB : RGB image\n"
     "J2000_YcbCr : YcbCr image"},
    {"J2000_Rate", ValueRule::Real, Field<&P::J2000_Rate>, {},
     "Specifies the compression rate to apply.\n"
     "Allowed values from 0 to 1, where 1 is no compression (lossless mode)."},
    {"J2000_ScalableBy", ValueRule::Enumeration, Field<&P::J2000_ScalableBy>, kJ2000ScalableByTexts,
     "Specifies the progression order. \n"
     "It can be:\n"
     "J2000_Rate : layer-resolution-component-position (LRCP) progressive (i.e., rate scalable)\n"
     "J2000_Resolution : resolution-layer-component-position (RLCP) progressive (i.e., resolution scalable)"},
};

const SpecialRow kPcxRows[] = {
    {"PCX_Compression", ValueRule::Enumeration, Field<&P::PCX_Compression>, kPCXCompressionTexts,
     "PCX_Compression is the compression type for PCX image format.\n"
     "PCX_UNCOMPRESSED is uncompressed PCX (incompatible with most PCX readers).\n"
     "PCX_RLE is compressed PCX (standard PCX)."},
    {"PCX_Version", ValueRule::Integer, Field<&P::PCX_Version>, {},
     "PCX version (5 is the default)."},
};

const SpecialRow kTiffRows[] = {
    {"TIFF_Compression", ValueRule::Enumeration, Field<&P::TIFF_Compression>, kTIFFCompressionTexts,
     "Specifies the compression type for TIFF image format.\n"
     "TIFF_UNCOMPRESSED is uncompressed TIFF\n"
     "TIFF_CCITT1D is bilevel Huffman compression.\n"
     "TIFF_G3FAX1D is bilevel Group 3 CCITT compression, monodimensional.\n"
     "TIFF_G3FAX2D is bilevel Group 3 CCITT compression, bidimensional.\n"
     "TIFF_G4FAX is bilevel Group 4 CCITT compression, bidimensional.\n"
     "TIFF_OLDJPEG is ver.6.0 jpeg compression (unsupported).\n"
     "TIFF_JPEG is jpeg compression (unsupported).\n"
     "TIFF_PACKBITS is RLE compression.\n"
     "TIFF_UNKNOWN is an unknown compression"},
    {"TIFF_DocumentName", ValueRule::Text, Field<&P::TIFF_DocumentName>, {},
     "Specifiy the document name field of a TIFF image format."},
    {"TIFF_EnableAdjustOrientation", ValueRule::Boolean, Field<&P::TIFF_EnableAdjustOrientation>, {},
     "When TIFF_EnableAdjustOrientation is True program rotate loaded image as specified in the TIFF file. (default True)."},
    {"TIFF_ImageDescription", ValueRule::Text, Field<&P::TIFF_ImageDescription>, {},
     "Specifiy the image description field of a TIFF image format."},
    {"TIFF_ImageIndex", ValueRule::Integer, Field<&P::TIFF_ImageIndex>, {},
     "TIFF_ImageIndex is the index (from 0) of the image."},
    {"TIFF_ImageCount", ValueRule::Integer, Field<&P::TIFF_ImageCount>, {},
     "Specifies the image count of the last TIFF loaded."},
    {"TIFF_PageCount", ValueRule::Integer, Field<&P::TIFF_PageCount>, {},
     "Number of pages in TIFF file"},
    {"TIFF_PageName", ValueRule::Text, Field<&P::TIFF_PageName>, {},
     "Page name field in TIFF image format."},
    {"TIFF_PageNumber", ValueRule::Integer, Field<&P::TIFF_PageNumber>, {},
     "Page number."},
    {"TIFF_PhotometInterpret", ValueRule::Enumeration, Field<&P::TIFF_PhotometInterpret>, kTIFFPhotometInterpretTexts,
     "Photometric interpretation."},
    {"TIFF_PlanarConf", ValueRule::Integer, Field<&P::TIFF_PlanarConf>, {},
     "Planar configuration."},
    {"TIFF_XPos", ValueRule::Integer, Field<&P::TIFF_XPos>, {},
     "X top-left position of the original scanned image."},
    {"TIFF_YPos", ValueRule::Integer, Field<&P::TIFF_YPos>, {},
     "Ytop-left position of the original scanned image."},
    {"TIFF_Orientation", ValueRule::Integer, Field<&P::TIFF_Orientation>, {},
     "The orientation of the original image."},
    {"TIFF_JPEGQuality", ValueRule::Integer, Field<&P::TIFF_JPEGQuality>, {},
     "Quality factor, from 1 to 100 for TIFF compressed as JPEG."},
};

const SpecialRow kCurRows[] = {
    {"CUR_ImageIndex", ValueRule::Integer, Field<&P::CUR_ImageIndex>, {},
     "The index (from 0) of the image. A CUR  file can contains multple images inside."},
    {"CUR_XHotSpot", ValueRule::Integer, Field<&P::CUR_XHotSpot>, {},
     "The hot spot point of the cursor image."},
    {"CUR_YHotSpot", ValueRule::Integer, Field<&P::CUR_YHotSpot>, {},
     "The hot spot point of the cursor image."},
    {"CUR_Background", ValueRule::Colour, Field<&P::CUR_Background>, {},
     "CUR_Background is the background color where to merge loaded image."},
};

const SpecialRow kIcoRows[] = {
    {"ICO_ImageIndex", ValueRule::Integer, Field<&P::ICO_ImageIndex>, {},
     "The index (from 0) of the image. \n"
     "An ICO file can contains multple images inside."},
    {"ICO_Background", ValueRule::Colour, Field<&P::ICO_Background>, {},
     "ICO_Background is the background color where to merge loaded image."},
    {"ICO_BitCount", ValueRule::Integer, FirstEntry<&P::ICO_BitCount>, {},
     "It contains the input/output bitcount of the images contained in an ICO file."},
    {"ICO_Sizes", ValueRule::IconSize, FirstEntry<&P::ICO_Sizes>, {},
     "It contains the input/output sizes of the images contained in an ICO file."},
};

const SpecialRow kPngRows[] = {
    {"PNG_Interlaced", ValueRule::Boolean, Field<&P::PNG_Interlaced>, {},
     "If True the image is interlaced."},
    {"PNG_Background", ValueRule::Colour, Field<&P::PNG_Background>, {},
     "Specifies the background color of the image"},
    {"PNG_Filter", ValueRule::Enumeration, Field<&P::PNG_Filter>, kPNGFilterTexts,
     "Set the filter to apply.\n"
     "This can have a significant impact on the size and encoding speed and a somewhat lesser impact on the decoding speed of an image."},
    {"PNG_Compression", ValueRule::Integer, Field<&P::PNG_Compression>, {},
     "PNG_Compression changes how much time PNG-compressor spends on trying to compress the image data.\n"
     "This property accept values from 0 (no compression) to 9 (best compression)."},
};

const SpecialRow kTgaRows[] = {
    {"TGA_XPos", ValueRule::Integer, Field<&P::TGA_XPos>, {},
     "TGA_XPos is the top-left X coordinate where the image will be showed"},
    {"TGA_YPos", ValueRule::Integer, Field<&P::TGA_YPos>, {},
     "TGA_YPos is the top-left Y coordinate where the image will be showed"},
    {"TGA_Compressed", ValueRule::Boolean, Field<&P::TGA_Compressed>, {},
     "Set TGA_Compressed property to True to compress TGA image (RLE compression)."},
    {"TGA_Descriptor", ValueRule::Text, Field<&P::TGA_Descriptor>, {},
     "TGA_Descriptor contains the descriptor of the TGA file."},
    {"TGA_Author", ValueRule::Text, Field<&P::TGA_Author>, {},
     "TGA_Author contains the author name of the TGA file."},
    {"TGA_Date", ValueRule::Date, Field<&P::TGA_Date>, {},
     "TGA_Date contains the date/time creation of the TGA file."},
    {"TGA_ImageName", ValueRule::Text, Field<&P::TGA_ImageName>, {},
     "TGA_ImageName contains the image name of the TGA file."},
    {"TGA_Background", ValueRule::Colour, Field<&P::TGA_Background>, {},
     "TGA_Background contains the image background (or transparency) color."},
    {"TGA_AspectRatio", ValueRule::Real, Field<&P::TGA_AspectRatio>, {},
     "TGA_AspectRatio contains the pixel aspect ratio (pixel width/height) of the TGA image"},
    {"TGA_Gamma", ValueRule::Real, Field<&P::TGA_Gamma>, {},
     "TGA_Gamma contains the gamma value of the TGA image"},
    {"TGA_GrayLevel", ValueRule::Boolean, Field<&P::TGA_GrayLevel>, {},
     "If TGA_GrayLevel is True the image will be saved as gray levels."},
};

const SpecialRow kPxmRows[] = {
    {"PXM_Comments", ValueRule::Comments, Field<&P::PXM_Comments>, {},
     "PXM_Comments contains a list of the comments found inside (or to write in) PPM, PBM or PGM file."},
};

const SpecialRow kAviRows[] = {
    {"AVI_FrameCount", ValueRule::Integer, Field<&P::AVI_FrameCount>, {},
     "Specifies how many frames contains last loaded AVI file."},
    {"AVI_FrameDelayTime", ValueRule::Integer, Field<&P::AVI_FrameDelayTime>, {},
     "AVI_FrameDelayTime is the time in milliseconds the image will be showed on playing."},
};

const SpecialRow kPsRows[] = {
    {"PS_Compression", ValueRule::Integer, Field<&P::PS_Compression>, {},
     "Specifies the compression filter for a PostScript file."},
};

const SpecialRow kRawRows[] = {
    {"RAW_Camera", ValueRule::Text, Field<&P::RAW_Camera>, {},
     "Returns the camera descriptor."},
};

const SpecialGroup kGroups[] = {
    {"BMP", GroupTest::FileType, 5, kBmpRows, false},
    {"GIF", GroupTest::FileType, 2, kGifRows, false},
    {"JPEG", GroupTest::FileType, 3, kJpegRows, true},
    {"JPEG 2000", GroupTest::FileType, 13, kJ2000Rows, false},
    {"PCX", GroupTest::FileType, 4, kPcxRows, false},
    {"TIFF", GroupTest::FileType, 1, kTiffRows, false},
    {"CUR", GroupTest::FileType, 7, kCurRows, false},
    {"ICO", GroupTest::FileType, 6, kIcoRows, false},
    {"PNG", GroupTest::FileType, 8, kPngRows, false},
    {"TGA", GroupTest::FileType, 11, kTgaRows, false},
    {"PXM", GroupTest::FileType, 12, kPxmRows, false},
    {"AVI", GroupTest::AviExtension, 0, kAviRows, false},
    {"PostScript", GroupTest::FileType, 17, kPsRows, false},
    {"camera raw", GroupTest::FileType, 20, kRawRows, false},
};

std::string FormatInteger(const SpecialFieldValue& v) {
    return std::to_string(std::get<int64_t>(v));
}

std::string FormatEnumeration(const SpecialFieldValue& v, std::span<const EnumText> texts) {
    const int64_t value = std::get<int64_t>(v);
    for (const EnumText& entry : texts) {
        if (entry.value == value) return entry.text;
    }
    return std::to_string(value);
}

std::string FormatBoolean(const SpecialFieldValue& v) {
    return std::get<bool>(v) ? "true" : "false";
}

std::string FormatColour(const SpecialFieldValue& v) {
    const TRGB& c = std::get<TRGB>(v);
    return "R=" + std::to_string(c.r) + ", G=" + std::to_string(c.g) + ", B=" + std::to_string(c.b);
}

std::string FormatText(const SpecialFieldValue& v) {
    return std::string(std::get<std::string_view>(v));
}

std::string FormatReal(const SpecialFieldValue& v) {
    return FormatRealGeneral(std::get<double>(v));
}

std::string FormatComments(const SpecialFieldValue& v) {
    const std::vector<std::string>* lines = std::get<const std::vector<std::string>*>(v);
    std::string out;
    if (!lines) return out;
    for (size_t i = 0; i < lines->size(); ++i) {
        if (i > 0) out += ", ";
        out += (*lines)[i];
    }
    return out;
}

// Whole days from 1 show as a date, days with a time of day as date and time, and values
// below 1 (the empty date 0 included) as a time of day only.
std::string FormatDate(const SpecialFieldValue& v) {
    const double value = std::get<double>(v);
    if (value >= 1) {
        return std::trunc(value) == value ? FormatShortDate(value) : FormatDateAndTime(value);
    }
    return FormatLongTime(value);
}

std::string FormatIconSize(const SpecialFieldValue& v) {
    const TICOSize& size = std::get<TICOSize>(v);
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

}  // namespace

std::span<const SpecialGroup> SpecialCatalogue() {
    return kGroups;
}

bool GroupApplies(const SpecialGroup& group, const TIOParamsVals& params, const std::string& path) {
    switch (group.test) {
        case GroupTest::FileType:
            return params.FileType == group.fileType;
        case GroupTest::AviExtension:
            return HasFileExt(path, ".AVI");
    }
    return false;
}

std::string FormatSpecialValue(const SpecialRow& row, const TIOParamsVals& params) {
    const SpecialFieldValue value = row.read(params);
    switch (row.rule) {
        case ValueRule::Integer: return FormatInteger(value);
        case ValueRule::Enumeration: return FormatEnumeration(value, row.texts);
        case ValueRule::Boolean: return FormatBoolean(value);
        case ValueRule::Colour: return FormatColour(value);
        case ValueRule::Text: return FormatText(value);
        case ValueRule::Real: return FormatReal(value);
        case ValueRule::Comments: return FormatComments(value);
        case ValueRule::Date: return FormatDate(value);
        case ValueRule::IconSize: return FormatIconSize(value);
    }
    return {};
}

std::string MarkerText(const TMarkerList& markers, int index) {
    const uint8_t* data = markers.GetMarkerData(index);
    const int length = markers.GetMarkerLength(index);
    if (!data || length <= 0) return {};
    const auto* begin = reinterpret_cast<const char*>(data);
    const auto* end = begin + length;
    return std::string(begin, std::find(begin, end, '\0'));
}

std::vector<std::string> SpecialColumnNames() {
    std::vector<std::string> names;
    for (const SpecialGroup& group : kGroups) {
        for (const SpecialRow& row : group.rows) names.emplace_back(row.name);
        if (group.endsWithMarkerRows) {
            names.emplace_back(kMarkerCountName);
            names.emplace_back(kMarkersColumnName);
        }
    }
    return names;
}

}  // namespace velmora
