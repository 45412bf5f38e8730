// Reading the header parameters of JPEG 2000 files (JP2) and bare code streams.
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Fills size, samples, bits per sample and the default resolution from a JP2 file (its
// header boxes and the SIZ marker of its code stream) or from a bare code stream at the
// stream's position; the palette is freed. The J2000_ writer options are left as they are.
// A missing signature, a broken box or marker, or an unsupported colour space sets
// progress's abort flag.
void J2KReadStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);

}  // namespace velmora
