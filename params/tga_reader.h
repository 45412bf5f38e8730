// The parameters of Targa (TGA) files, with the TGA 2.0 extension area when the file has one.
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Reads the 18-byte header at the stream's position, the image identification field, the
// colour map and, through the footer at the end of the stream, the extension area (author,
// date, job name, key colour, aspect ratio, gamma). Pixels are not decoded here: bitmap and
// parametersOnly only keep the signature every reader shares. An image type or pixel depth
// that Targa does not define sets the abort flag.
void ReadTGAStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);

}  // namespace velmora
