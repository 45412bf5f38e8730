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
// The scale denominator (1, 2, 4 or 8) a read uses for an image stored at storedWidth x
// storedHeight; for ioJPEG_AUTOCALC the largest reduction that still covers the wished size.
int JpegScaleDenominator(TIOJPEGScale scale, int storedWidth, int storedHeight, int wishedWidth, int wishedHeight);
// Gathers the ICC profile of the APP2 chunks into params.InputICC; position restored.
void GetJpegICC(TStream& stream, TIOParamsVals& params);

}  // namespace velmora
