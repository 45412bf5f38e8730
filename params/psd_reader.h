// Reading the header parameters and image resources of a PSD file.
#pragma once

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// Fills size, depth, channels and resolution from the header and the image resources, the
// IPTC list, the JPEG thumbnail (into EXIF_Bitmap), the ICC profile and the XMP packet.
// Layers and image data are not read. A bad signature or header sets progress's abort flag.
void ReadPSD(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
             bool parametersOnly);

}  // namespace velmora
