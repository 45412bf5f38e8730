// Decoding a complete JPEG image held in memory into a bitmap (thumbnails, previews).
#pragma once

#include <cstddef>
#include <cstdint>

#include "params/image_bitmap.h"

namespace velmora {

// Decodes the JPEG data into bitmap as RGB at 1/scaleDenominator size (1, 2, 4 or 8).
// Returns false, with the bitmap emptied, when the data is no decodable JPEG image.
// Never throws; libjpeg errors are caught.
bool DecodeJpegToBitmap(const uint8_t* data, size_t length, TImageBitmap& bitmap, int scaleDenominator = 1);

}  // namespace velmora
