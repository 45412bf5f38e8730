// The camera raw decoder: identification of raw files and what it reports about them.
#pragma once

#include <cstdint>
#include <string>

#include "params/stream.h"

namespace velmora {

struct RawIdentity {
    std::string make;
    std::string model;
    std::string model2;  // a second model or firmware string, often empty
    int32_t width = 0;   // the decoder's image size; 0 when unknown
    int32_t height = 0;
};

// Identifies camera raw data that starts at the stream's position. Reads only what
// identification needs and decodes no pixels; the position is restored. LibRaw decides first;
// files it refuses are still recognised when they are Foveon X3F files (which this LibRaw does
// not read) or Canon CR2 files whose raw image data was stripped.
bool IdentifyCameraRaw(TStream& stream, RawIdentity* identity = nullptr);

}  // namespace velmora
