// The parameters of a GIF file: logical screen, frame count, comments and the selected frame.
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Reads the header and walks the blocks from the stream's position, filling params for the
// frame params.GIF_ImageIndex. Pixels are not decoded here: bitmap and parametersOnly only
// keep the signature every reader shares. A bad signature or a stream that ends after the
// header sets the abort flag.
void ReadGIFStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);

}  // namespace velmora
