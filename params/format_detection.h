// Deciding what kind of image a file holds: by extension, by content, and both reconciled.
#pragma once

#include <cstdint>
#include <string>

#include "params/stream.h"

namespace velmora {

// True when the extension (from the last ".") has a registry entry that can be read.
bool IsKnownFormat(const std::string& fileName);
// Recognition by content from the stream's position; the position is restored.
int32_t FindStreamFormat(TStream& stream);
int32_t FindFileFormat(const std::string& fileName, bool verifyExtension);

// Content tests shared with the readers.
bool IsTIFFStream(TStream& stream);
bool IsDNGStream(TStream& stream);
// Position of 0xFF 0xD8 0xFF within the first 100 positions, or -1; position restored.
int64_t JpegTryStream(TStream& stream);
// The last content test: identification of camera raw data by the raw decoder.
bool CameraRawTryStream(TStream& stream);

}  // namespace velmora
