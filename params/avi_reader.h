// Reading the parameters of an AVI movie: its first video stream's length, rate and frame format.
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Reads the RIFF headers of the AVI file at the stream's position. AVI_FrameCount := the
// first video stream's length in frames. When ImageIndex names one of its frames, also the
// frame delay, size, bits and samples per pixel of the stream's frame format, the default
// resolution, and the palette is freed. No frame is decoded. A file without a readable video
// stream sets progress's abort flag.
void ReadAVIStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);

}  // namespace velmora
