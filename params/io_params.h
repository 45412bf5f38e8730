// TIOParamsVals: everything known about one image file after its parameters were read.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "params/image_bitmap.h"
#include "params/io_params_types.h"
#include "params/iptc_info_list.h"
#include "params/marker_list.h"
#include "params/tags_handler.h"

namespace velmora {

class TImageIO;

// Marks a field whose value the record's reset leaves alone.
struct KeepValue {};

using IcoSizeArray = std::array<TICOSize, 16>;
using IcoBitCountArray = std::array<int32_t, 16>;
using DoubleArray2 = std::array<double, 2>;
using DoubleArray3 = std::array<double, 3>;
using DoubleArray6 = std::array<double, 6>;
using IntArray2 = std::array<int32_t, 2>;

inline constexpr IcoSizeArray kDefaultIcoSizes{{{64, 64}}};
inline constexpr IcoBitCountArray kDefaultIcoBitCount{{8}};

// Today's date at midnight as a TDateTime.
TDateTime TodayDate();

// How a keyed field is written and read as text by GetProperty / SetProperty.
enum class PropertyForm { None, Int, Enum, Bool, Color, Double, String, Wide, Date };
enum class PropertyAccess { RW, RO };

}  // namespace velmora

#include "params/io_params_fields.h"

namespace velmora {

class TIOParamsVals {
public:
    explicit TIOParamsVals(TImageIO* owner = nullptr);
    TIOParamsVals(const TIOParamsVals&) = delete;
    TIOParamsVals& operator=(const TIOParamsVals&) = delete;

#define VELMORA_DECLARE_FIELD(type, name, def, key, form, access, fallback) type name{};
    VELMORA_GENERAL_FIELDS(VELMORA_DECLARE_FIELD)
    VELMORA_EXIF_FIELDS(VELMORA_DECLARE_FIELD)
#undef VELMORA_DECLARE_FIELD

    // Owned objects.
    TMarkerList JPEG_MarkerList;
    TIPTCInfoList IPTC_Info;
    TTagsHandler EXIF_MakerNote;
    std::vector<std::string> GIF_Comments;
    std::vector<std::string> PXM_Comments;
    std::vector<std::string> PNG_TextKeys;
    std::vector<std::string> PNG_TextValues;
    // The decoded EXIF thumbnail; none, or empty, when the file has none.
    std::unique_ptr<TImageBitmap> EXIF_Bitmap;
    // The palette, ColorMapCount entries.
    std::vector<TRGB> ColorMap;
    // The ICC profile gathered from the file, as bytes (empty when none).
    std::vector<uint8_t> InputICC;

    TImageIO* Owner() const { return owner_; }

    // Resets.
    void SetDefaultParams();
    void ResetInfo();
    void ResetEXIF();

    // Setters that keep fields together.
    void SetImageIndex(int32_t i);
    void SetImageCount(int32_t n);
    void SetGetThumbnail(bool b);
    void SetJPEG_GetExifThumbnail(bool b);
    void SetRAW_GetExifThumbnail(bool b);
    void SetTIFF_Orientation(int32_t o);
    void SetEXIF_Orientation(int32_t o);
    void SetDpiX(int32_t d);
    void SetDpiY(int32_t d);
    void SetDpi(int32_t d);
    void SetEXIF_XResolution(double x);
    void SetEXIF_YResolution(double y);
    // Replaces the palette; ColorMapCount follows.
    void SetColorMap(std::vector<TRGB> colors);
    void FreeColorMap();

    // Indexed access to the EXIF arrays; the caller keeps the index in range.
    int32_t GetEXIF_ISOSpeedRatings(int i) const { return EXIF_ISOSpeedRatings[i]; }
    void SetEXIF_ISOSpeedRatings(int i, int32_t v) { EXIF_ISOSpeedRatings[i] = v; }
    double GetEXIF_WhitePoint(int i) const { return EXIF_WhitePoint[i]; }
    void SetEXIF_WhitePoint(int i, double v) { EXIF_WhitePoint[i] = v; }
    double GetEXIF_PrimaryChromaticities(int i) const { return EXIF_PrimaryChromaticities[i]; }
    void SetEXIF_PrimaryChromaticities(int i, double v) { EXIF_PrimaryChromaticities[i] = v; }
    double GetEXIF_YCbCrCoefficients(int i) const { return EXIF_YCbCrCoefficients[i]; }
    void SetEXIF_YCbCrCoefficients(int i, double v) { EXIF_YCbCrCoefficients[i] = v; }
    double GetEXIF_ReferenceBlackWhite(int i) const { return EXIF_ReferenceBlackWhite[i]; }
    void SetEXIF_ReferenceBlackWhite(int i, double v) { EXIF_ReferenceBlackWhite[i] = v; }

    void Assign(const TIOParamsVals& source);

    // One-line description of FileType, e.g. "TIFF Bitmap (TIF) LZW"; empty for unknown types.
    std::string GetFileTypeStr() const;

    // Access by name.
    std::string GetProperty(const std::string& name) const;
    void SetProperty(const std::string& name, const std::string& value);
    // Every key in the record's field order (FILETYPESTR after FILETYPE).
    static const std::vector<std::string>& PropertyKeys();

private:
    // SetDefaultParams; the owner's bitmap size is taken only when ownerBitmapReady.
    void ApplyDefaults(bool ownerBitmapReady);

    TImageIO* owner_ = nullptr;
};

}  // namespace velmora
