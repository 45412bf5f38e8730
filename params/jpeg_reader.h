// Reading a JPEG file's parameters, markers and metadata (and, when asked, its pixels).
#pragma once

#include <cstdint>

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

struct JpegReadOptions {
    bool parametersOnly = true;
    bool raw = false;
    bool readMetadata = true;
    bool invertCMYK = false;
    bool dropICCMarkers = true;
    bool readICC = true;
    int maxRows = -1;
};

void ReadJPegStream(TStream& stream, TStream* tableStream, TImageBitmap& bitmap, TIOParamsVals& params,
                    TProgressRec& progress, const JpegReadOptions& options);
// Gathers the ICC profile of the APP2 chunks into params.InputICC; position restored.
void GetJpegICC(TStream& stream, TIOParamsVals& params);

}  // namespace velmora
