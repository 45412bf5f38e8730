// The parameters of a Windows or OS/2 bitmap file.
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Reads the file header ("BM") and the information header from the stream's position: size,
// depth, resolution, header version, compression and palette. Pixels are not decoded here:
// bitmap and parametersOnly only keep the signature every reader shares. A bad signature or
// header sets the abort flag.
void BMPReadStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);

}  // namespace velmora
