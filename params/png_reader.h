// Reading the header parameters and text chunks of a PNG file.
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Fills size, depth, samples, resolution, palette, interlacing and the text chunks (tEXt,
// zTXt, iTXt, in file order) of the PNG image at the stream's position. Image data is never
// inflated. A bad signature, or a header libpng refuses, sets progress's abort flag.
void ReadPNGStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);

}  // namespace velmora
