// The parameters of PPM, PGM and PBM files.
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Reads the header tokens from the stream's position (magic, width, height and, but for P1
// and P4, the maximum value) and collects the comment lines met on the way. Pixels are not
// decoded here: bitmap and parametersOnly only keep the signature every reader shares. An
// unknown magic, a size that is not above 0 or a maximum above 65535 sets the abort flag.
void PXMReadStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);

}  // namespace velmora
