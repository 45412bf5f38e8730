// Reading the parameters of camera raw files (FileType 20).
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Reads the EXIF fields, thumbnail and maker note (from a TIFF structure in the file, or from
// the CIFF heaps of a CRW file), then has the raw decoder identify the file and fills RAW_Camera,
// the size and the resolution. A file the decoder does not identify sets the aborting mark; the
// EXIF fields read so far stay. Pixels are not decoded: with RAW_GetExifThumbnail and a
// thumbnail present, a full load gets the thumbnail as its image.
void ReadCameraRAWStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                         bool parametersOnly);

}  // namespace velmora
