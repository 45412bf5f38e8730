// Reading the parameters (and the EXIF thumbnail) of TIFF-structured data.
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Reads directory params.TIFF_ImageIndex of the TIFF data in stream into params.
// headerAtCurrentPosition: the TIFF header is at the stream's position (else at 0).
// thumbnailMode: decode a small (at most 400 x 400) directory into bitmap.
// parametersOnly: no pixels are decoded. Failure sets progress's abort flag.
void TIFFReadStream(TImageBitmap* bitmap, TStream& stream, int& imageCount, bool thumbnailMode,
                    bool headerAtCurrentPosition, bool parametersOnly, TProgressRec& progress,
                    TIOParamsVals* params);

}  // namespace velmora
