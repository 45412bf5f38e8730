// The parameters of wireless bitmap (WBMP, type 0) files, and their content test.
#pragma once

#include <cstdint>

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Reads the type, fixed header, width and height at the stream's position. Pixels are not
// decoded here: bitmap and parametersOnly only keep the signature every reader shares. A
// type or fixed header other than 0, or an empty size, sets the abort flag.
void WBMPReadStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                    bool parametersOnly);

// Content test: type 0, fixed header 0, a width and height above 0, and exactly as many bytes
// after the header as the packed rows of that size need. The position is restored.
bool WBMPTryStream(TStream& stream, int32_t fileType);

}  // namespace velmora
