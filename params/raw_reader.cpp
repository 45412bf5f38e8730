#include "params/raw_reader.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "params/ciff_reader.h"
#include "params/exif_reader.h"
#include "params/raw_decoder.h"

namespace velmora {

namespace {

constexpr int32_t kDefaultDpi = 300;
constexpr int kResolutionUnitCentimetre = 3;

int32_t TruncDpi(double value) {
    if (!(value > INT32_MIN && value < INT32_MAX)) return 0;
    return int32_t(std::trunc(value));
}

// EXIF texts of fixed width are padded with zero bytes, which end the name.
std::string TextBeforeZero(const std::string& text) { return text.substr(0, text.find('\0')); }

// The parameter side: EXIF, identification, camera, resolution and size. False when the
// decoder does not identify the data.
bool ReadRawParameters(TStream& stream, TIOParamsVals& params) {
    stream.Seek(0);
    const int64_t tiff = SearchEXIFInfo(stream);
    if (tiff >= 0) {
        stream.Seek(tiff);
        LoadEXIFFromTIFF(stream, params);
        const double factor = params.EXIF_ResolutionUnit == kResolutionUnitCentimetre ? 2.54 : 1.0;
        params.SetDpiX(TruncDpi(params.EXIF_XResolution * factor));
        params.SetDpiY(TruncDpi(params.EXIF_YResolution * factor));
    } else {
        CRWGetCIFFAsExif(stream, params);
    }

    stream.Seek(0);
    RawIdentity camera;
    if (!IdentifyCameraRaw(stream, &camera)) return false;

    // The file's own tags name the camera in full; the decoder's make and model are the fallback.
    std::string make = TextBeforeZero(params.EXIF_Make);
    std::string model = TextBeforeZero(params.EXIF_Model);
    if (make.empty()) make = camera.make;
    if (model.empty()) model = camera.model;
    params.RAW_Camera = make + " " + model + " " + camera.model2;

    params.SetDpiX(kDefaultDpi);
    params.SetDpiY(kDefaultDpi);
    params.FreeColorMap();
    params.Width = std::max(camera.width - 2, 0);
    params.Height = std::max(camera.height - 2, 0);
    return true;
}

}  // namespace

void ReadCameraRAWStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                         bool parametersOnly) {
    StreamPositionGuard guard(stream);
    bool identified = false;
    try {
        identified = ReadRawParameters(stream, params);
    } catch (...) {
        identified = false;
    }
    if (!identified) {
        progress.SetAborting();
        return;
    }
    if (parametersOnly) return;

    // The pixels are not decoded here; the embedded thumbnail stands in when it is asked for.
    if (params.RAW_GetExifThumbnail && bitmap && params.EXIF_Bitmap && !params.EXIF_Bitmap->IsEmpty()) {
        *bitmap = *params.EXIF_Bitmap;
    }
}

}  // namespace velmora
