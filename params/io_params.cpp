#include "params/io_params.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <concepts>
#include <ctime>
#include <limits>
#include <type_traits>

#include "params/ascii_text.h"
#include "params/exif_block.h"
#include "params/format_registry.h"
#include "params/image_io.h"
#include "params/user_locale.h"

namespace velmora {
namespace {

constexpr uint8_t kApp1 = 0xE1;
constexpr int32_t kOwnerDefaultDpi = 300;

template <class T>
void SetDefault(T& field, const std::type_identity_t<T>& value) {
    field = value;
}

// Fields whose default is KeepValue{} are left alone by the table loop.
template <class T, class D>
    requires std::same_as<std::remove_cvref_t<D>, KeepValue>
void SetDefault(T&, D&&) {}

// x truncated toward zero, held within the int32 range (NaN gives 0).
int32_t TruncToInt32(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(x);
}

// The suffix GetFileTypeStr adds for a format: the text for each value of one field.
struct FileTypeSuffix {
    int32_t fileType;
    int (*value)(const TIOParamsVals&);
    std::array<const char*, 11> texts;  // by value; a value without a text adds nothing
};

const FileTypeSuffix kFileTypeSuffixes[] = {
    {ioTIFF, [](const TIOParamsVals& p) { return int(p.TIFF_Compression); },
     {{" Uncompressed", " Huffman", " Group 3 Fax", " Group 3 Fax 2D", " Group 4 Fax", " LZW",
       " Jpeg v.5", " Jpeg", " PackBits RLE", " ZIP", " Deflate"}}},
    {ioGIF, [](const TIOParamsVals& p) { return int(p.GIF_Interlaced); }, {{"", " Interlaced"}}},
    {ioJPEG, [](const TIOParamsVals& p) { return int(p.JPEG_ColorSpace); },
     {{"", " Gray level", " YCbCr", " CMYK", " YCbCrK"}}},
    {ioPCX, [](const TIOParamsVals& p) { return int(p.PCX_Compression); }, {{" Uncompressed"}}},
    {ioBMP, [](const TIOParamsVals& p) { return int(p.BMP_Version); },
     {{" ver.1", " ver.3", " OS/2 v.1", " OS/2 v.2"}}},
    {ioPNG, [](const TIOParamsVals& p) { return int(p.PNG_Interlaced); }, {{"", " Interlaced"}}},
    {ioTGA, [](const TIOParamsVals& p) { return int(p.TGA_Compressed); },
     {{" Uncompressed", " Compressed"}}},
    {ioJP2, [](const TIOParamsVals& p) { return int(p.J2000_ColorSpace); },
     {{" Gray level", " RGB", " YCbCr"}}},
    {ioJ2K, [](const TIOParamsVals& p) { return int(p.J2000_ColorSpace); },
     {{" Gray level", " RGB", " YCbCr"}}},
};

}  // namespace

TDateTime TodayDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    TDateTime today = 0;
    EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, today);
    return today;
}

TIOParamsVals::TIOParamsVals(TImageIO* owner) : owner_(owner) {
    // The owner is itself being built, so its bitmap is not there yet (and would be empty).
    ApplyDefaults(/*ownerBitmapReady=*/false);
}

void TIOParamsVals::SetDefaultParams() { ApplyDefaults(/*ownerBitmapReady=*/true); }

void TIOParamsVals::ApplyDefaults(bool ownerBitmapReady) {
    FreeColorMap();
#define VELMORA_SET_DEFAULT(type, name, def, key, form, access, fallback) SetDefault(name, def);
    VELMORA_GENERAL_FIELDS(VELMORA_SET_DEFAULT)
#undef VELMORA_SET_DEFAULT
    if (owner_) {
        if (ownerBitmapReady && !owner_->Bitmap.IsEmpty()) {
            Width = owner_->Bitmap.Width();
            Height = owner_->Bitmap.Height();
        }
        SetDpi(kOwnerDefaultDpi);
    }
    GIF_Comments.clear();
    PXM_Comments.clear();
    PNG_TextKeys.clear();
    PNG_TextValues.clear();
    JPEG_MarkerList.Clear();
    IPTC_Info.Clear();
    // Runs after the resolution setters: a fresh record has DpiX 300 but EXIF_XResolution 0.
    ResetEXIF();
    InputICC.clear();
}

void TIOParamsVals::ResetInfo() {
    IPTC_Info.Clear();
    JPEG_MarkerList.Clear();
    ResetEXIF();
    GIF_Comments.clear();
    PNG_TextKeys.clear();
    PNG_TextValues.clear();
    TIFF_DocumentName.clear();
    TIFF_ImageDescription.clear();
    TIFF_PageName.clear();
    TGA_Descriptor.clear();
    TGA_Author.clear();
    TGA_ImageName.clear();
    PXM_Comments.clear();
    XMP_Info.clear();
    InputICC.clear();
}

void TIOParamsVals::ResetEXIF() {
#define VELMORA_SET_DEFAULT(type, name, def, key, form, access, fallback) SetDefault(name, def);
    VELMORA_EXIF_FIELDS(VELMORA_SET_DEFAULT)
#undef VELMORA_SET_DEFAULT
    EXIF_Bitmap.reset();
    // A fresh store: an empty block and an empty tag table (re-reading an empty block would
    // keep the tags of the previous file).
    EXIF_MakerNote = TTagsHandler();
    for (int i = 0; i < JPEG_MarkerList.GetCount(); ++i) {
        if (JPEG_MarkerList.GetMarkerType(i) == kApp1 &&
            CheckEXIFFromStandardBuffer(JPEG_MarkerList.GetMarkerData(i),
                                        size_t(std::max(0, JPEG_MarkerList.GetMarkerLength(i))))) {
            JPEG_MarkerList.DeleteMarker(i);
            break;
        }
    }
}

void TIOParamsVals::SetImageIndex(int32_t i) {
    ImageIndex = TIFF_ImageIndex = DCX_ImageIndex = GIF_ImageIndex = ICO_ImageIndex = CUR_ImageIndex = i;
}

void TIOParamsVals::SetImageCount(int32_t n) {
    ImageCount = TIFF_ImageCount = AVI_FrameCount = GIF_ImageCount = MEDIAFILE_FrameCount = n;
}

void TIOParamsVals::SetGetThumbnail(bool b) {
    GetThumbnail = JPEG_GetExifThumbnail = RAW_GetExifThumbnail = b;
}

void TIOParamsVals::SetJPEG_GetExifThumbnail(bool b) { GetThumbnail = JPEG_GetExifThumbnail = b; }

void TIOParamsVals::SetRAW_GetExifThumbnail(bool b) { RAW_GetExifThumbnail = b; }

void TIOParamsVals::SetTIFF_Orientation(int32_t o) { TIFF_Orientation = EXIF_Orientation = o; }

void TIOParamsVals::SetEXIF_Orientation(int32_t o) { TIFF_Orientation = EXIF_Orientation = o; }

void TIOParamsVals::SetDpiX(int32_t d) {
    DpiX = d;
    EXIF_XResolution = d;
}

void TIOParamsVals::SetDpiY(int32_t d) {
    DpiY = d;
    EXIF_YResolution = d;
}

void TIOParamsVals::SetDpi(int32_t d) {
    SetDpiX(d);
    SetDpiY(d);
}

void TIOParamsVals::SetEXIF_XResolution(double x) {
    SetDpiX(TruncToInt32(x));
    EXIF_XResolution = x;
}

void TIOParamsVals::SetEXIF_YResolution(double y) {
    SetDpiY(TruncToInt32(y));
    EXIF_YResolution = y;
}

void TIOParamsVals::SetColorMap(std::vector<TRGB> colors) {
    ColorMap = std::move(colors);
    ColorMapCount = int32_t(ColorMap.size());
}

void TIOParamsVals::FreeColorMap() {
    ColorMap.clear();
    ColorMap.shrink_to_fit();
    ColorMapCount = 0;
}

void TIOParamsVals::Assign(const TIOParamsVals& source) {
    if (&source == this) return;
#define VELMORA_COPY_FIELD(type, name, def, key, form, access, fallback) name = source.name;
    VELMORA_GENERAL_FIELDS(VELMORA_COPY_FIELD)
    VELMORA_EXIF_FIELDS(VELMORA_COPY_FIELD)
#undef VELMORA_COPY_FIELD
    ColorMap = source.ColorMap;
    ColorMapCount = int32_t(ColorMap.size());
    GIF_Comments = source.GIF_Comments;
    PXM_Comments = source.PXM_Comments;
    PNG_TextKeys = source.PNG_TextKeys;
    PNG_TextValues = source.PNG_TextValues;
    JPEG_MarkerList.Assign(&source.JPEG_MarkerList);
    IPTC_Info.Assign(&source.IPTC_Info);
    EXIF_MakerNote = TTagsHandler();
    EXIF_MakerNote.SetData(source.EXIF_MakerNote.Data().Bytes());
    EXIF_MakerNote.Update();
    // Without a source thumbnail the copy has none either: a thumbnail must belong to the
    // EXIF data beside it.
    if (source.EXIF_Bitmap)
        EXIF_Bitmap = std::make_unique<TImageBitmap>(*source.EXIF_Bitmap);
    else
        EXIF_Bitmap.reset();
    InputICC = source.InputICC;

    // The coupled fields go through their setters, in this order.
    SetImageIndex(source.ImageIndex);
    SetImageIndex(source.TIFF_ImageIndex);
    SetImageIndex(source.DCX_ImageIndex);
    SetImageIndex(source.GIF_ImageIndex);
    SetImageIndex(source.ICO_ImageIndex);
    SetImageIndex(source.CUR_ImageIndex);
    SetTIFF_Orientation(source.TIFF_Orientation);
    SetDpiX(source.DpiX);
    SetDpiY(source.DpiY);
    EXIF_XResolution = source.EXIF_XResolution;
    EXIF_YResolution = source.EXIF_YResolution;
}

std::string TIOParamsVals::GetFileTypeStr() const {
    const TFileFormatInfo* info = FileFormatGetInfo(FileType);
    if (!info) return {};
    std::string text = info->DisplayName + " (" + UpperAscii(FileFormatGetExt(FileType, 0)) + ")";
    if (FileType == ioRAW) return text + " (" + RAW_Camera + ")";
    for (const FileTypeSuffix& suffix : kFileTypeSuffixes) {
        if (suffix.fileType != FileType) continue;
        const int value = suffix.value(*this);
        if (value >= 0 && size_t(value) < suffix.texts.size() && suffix.texts[size_t(value)])
            text += suffix.texts[size_t(value)];
        break;
    }
    return text;
}

}  // namespace velmora
