#include "params/exif_reader.h"

#include <memory>
#include <vector>

#include "params/byte_order.h"
#include "params/image_bitmap.h"
#include "params/progress.h"
#include "params/tiff_reader.h"
#include "params/tiff_tag_tables.h"

namespace velmora {

namespace {

// The TIFF header of an EXIF block follows "Exif" and two bytes.
constexpr size_t kExifHeaderLength = 6;
constexpr size_t kSearchWindow = 0x20000;

// Reads directory `index` of the TIFF data at the stream's position into work.
// Returns false when the reader reported a failure.
bool ReadDirectory(TStream& stream, int64_t start, int index, bool thumbnailMode, TImageBitmap* bitmap,
                   TIOParamsVals& work) {
    stream.Seek(start);
    work.SetImageIndex(index);
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    int imageCount = 0;
    TIFFReadStream(bitmap, stream, imageCount, thumbnailMode, /*headerAtCurrentPosition=*/true,
                   /*parametersOnly=*/!thumbnailMode, progress, &work);
    return !aborting;
}

// Turns a thumbnail upright by the EXIF orientation (1 to 8). The mirrored turns (5 and 7)
// mirror first: 5 then comes out transposed and 7 transversed, as EXIF 2.2 defines them.
TImageBitmap& EmptyThumbnail(TIOParamsVals& params) {
    if (!params.EXIF_Bitmap) params.EXIF_Bitmap = std::make_unique<TImageBitmap>();
    params.EXIF_Bitmap->Clear();
    return *params.EXIF_Bitmap;
}

}  // namespace

void CopyEXIFFields(const TIOParamsVals& source, TIOParamsVals& target) {
    target.EXIF_Make = source.EXIF_Make;
    target.EXIF_Model = source.EXIF_Model;
    target.EXIF_Software = source.EXIF_Software;
    target.EXIF_XPTitle = source.EXIF_XPTitle;
    target.EXIF_XPComment = source.EXIF_XPComment;
    target.EXIF_XPAuthor = source.EXIF_XPAuthor;
    target.EXIF_XPKeywords = source.EXIF_XPKeywords;
    target.EXIF_XPSubject = source.EXIF_XPSubject;
    target.EXIF_Artist = source.EXIF_Artist;
    target.EXIF_DateTime = source.EXIF_DateTime;
    target.EXIF_WhitePoint = source.EXIF_WhitePoint;
    target.EXIF_PrimaryChromaticities = source.EXIF_PrimaryChromaticities;
    target.EXIF_YCbCrCoefficients = source.EXIF_YCbCrCoefficients;
    target.EXIF_ReferenceBlackWhite = source.EXIF_ReferenceBlackWhite;
    target.EXIF_YCbCrPositioning = source.EXIF_YCbCrPositioning;
    target.EXIF_Copyright = source.EXIF_Copyright;
    CopyTagTableFields(ExifDirectoryTags(), source, target);
    CopyTagTableFields(GpsDirectoryTags(), source, target);
    target.EXIF_MakerNote.SetData(source.EXIF_MakerNote.Data().Bytes());
    target.EXIF_MakerNote.Update();
    target.EXIF_ImageDescription = source.TIFF_ImageDescription;
    target.EXIF_ResolutionUnit = source.EXIF_ResolutionUnit;
    target.SetEXIF_Orientation(source.EXIF_Orientation);
    target.SetEXIF_XResolution(source.EXIF_XResolution);
    target.SetEXIF_YResolution(source.EXIF_YResolution);
}

bool LoadEXIFFromStandardBuffer(const void* buffer, size_t length, TIOParamsVals& params) {
    if (!CheckEXIFFromStandardBuffer(buffer, length)) return false;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    TMemoryStream stream(length > kExifHeaderLength ? std::vector<uint8_t>(bytes + kExifHeaderLength, bytes + length)
                                                    : std::vector<uint8_t>());
    TIOParamsVals work(params.Owner());
    TImageBitmap& thumbnail = EmptyThumbnail(params);

    ReadDirectory(stream, 0, 0, /*thumbnailMode=*/false, nullptr, work);
    CopyEXIFFields(work, params);
    params.EXIF_HasEXIF = true;

    if (!ReadDirectory(stream, 0, 1, /*thumbnailMode=*/true, &thumbnail, work)) thumbnail.Clear();
    thumbnail.TurnUpright(params.EXIF_Orientation);
    return true;
}

int64_t SearchEXIFInfo(TStream& stream) {
    StreamPositionGuard guard(stream);
    const int64_t size = stream.Size();
    const std::vector<uint8_t> window = stream.ReadBytes(kSearchWindow);
    for (size_t p = 0; p + 8 <= window.size(); ++p) {
        const uint8_t* at = window.data() + p;
        const bool intel = at[0] == 'I' && at[1] == 'I';
        if (!intel && !(at[0] == 'M' && at[1] == 'M')) continue;
        const uint16_t magic = LoadU16(at + 2, intel);
        if (magic != 42 && magic != 20306 && magic != 21330) continue;
        const int32_t first = static_cast<int32_t>(LoadU32(at + 4, intel));
        if (first >= 0 && first < size) return int64_t(p);
    }
    return -1;
}

bool LoadEXIFFromTIFF(TStream& stream, TIOParamsVals& params) {
    StreamPositionGuard guard(stream);
    const int64_t start = stream.Position();
    TIOParamsVals work(params.Owner());
    ReadDirectory(stream, start, 0, /*thumbnailMode=*/false, nullptr, work);
    CopyEXIFFields(work, params);
    params.EXIF_HasEXIF = true;

    TImageBitmap& thumbnail = EmptyThumbnail(params);
    for (int index = 0; index < 2; ++index) {
        if (ReadDirectory(stream, start, index, /*thumbnailMode=*/true, &thumbnail, work) && !thumbnail.IsEmpty() &&
            !thumbnail.IsAllBlack()) {
            return true;
        }
    }
    thumbnail.Clear();
    return true;
}

}  // namespace velmora
