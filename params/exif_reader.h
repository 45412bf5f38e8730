// Decoding EXIF blocks and the EXIF of TIFF-structured files into the parameter record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "params/exif_block.h"
#include "params/io_params.h"
#include "params/stream.h"

namespace velmora {

// Decodes an EXIF block as carried by a JPEG APP1 segment; false (record untouched) when
// the block does not begin with "Exif" and a zero byte.
bool LoadEXIFFromStandardBuffer(const void* buffer, size_t length, TIOParamsVals& params);
// Position of a TIFF header within the next 128 KiB, relative to the stream's position, or -1.
int64_t SearchEXIFInfo(TStream& stream);
// Reads the EXIF of TIFF-structured data starting at the stream's position.
bool LoadEXIFFromTIFF(TStream& stream, TIOParamsVals& params);
// Copies the EXIF fields of source into target (the EXIF copy of the decoders).
void CopyEXIFFields(const TIOParamsVals& source, TIOParamsVals& target);

}  // namespace velmora
