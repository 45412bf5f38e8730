// The parameters of Windows icon and cursor files (one directory layout, types 1 and 2).
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Lists the icon sizes and depths and reads the image params.ICO_ImageIndex. An index outside
// the directory reads nothing and reports nothing. A stream that begins "BM" is read as a
// bitmap. Pixels are not decoded here: bitmap and parametersOnly only keep the signature
// every reader shares.
void ICOReadStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);
// Reads the cursor params.CUR_ImageIndex: size, hot spot, depth, resolution and palette.
void CURReadStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly);

}  // namespace velmora
