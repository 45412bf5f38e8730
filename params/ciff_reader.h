// Reading the EXIF fields, thumbnail and maker note of a Canon CRW file from its CIFF heaps.
#pragma once

#include <cstdint>

#include "params/io_params.h"
#include "params/stream.h"

namespace velmora {

// Deepest sub-heap nesting that is followed; deeper heaps are skipped.
inline constexpr int kCiffMaxHeapDepth = 8;
// Records read from one record table; the rest of a longer table is ignored.
inline constexpr int kCiffMaxRecordsPerTable = 256;
// Records looked at over the whole file, so that heaps sharing their data stay cheap.
inline constexpr int kCiffMaxRecordsTotal = 4096;

// Fills EXIF_ImageDescription, EXIF_Make, EXIF_Model, EXIF_Software, EXIF_ExifImageWidth and
// EXIF_ExifImageHeight, the thumbnail (the smallest embedded JPEG) and the maker-note block of a
// CIFF file that starts at the stream's position 0. EXIF_HasEXIF is left alone. Returns false,
// changing nothing, when the data carries no CIFF signature.
bool CRWGetCIFFAsExif(TStream& stream, TIOParamsVals& params);

}  // namespace velmora
