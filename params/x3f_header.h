// The camera and image size of a Foveon X3F raw file, from its header and property list.
#pragma once

#include <cstdint>
#include <string>

#include "params/stream.h"

namespace velmora {

struct X3FInfo {
    std::string make;   // property CAMMANUF
    std::string model;  // property CAMMODEL
    int32_t width = 0;  // header columns
    int32_t height = 0; // header rows
};

// True when the data at the stream's position starts with the X3F signature "FOVb"; info then
// receives whatever the header and the first property section hold. Position restored.
bool ReadX3FInfo(TStream& stream, X3FInfo& info);

}  // namespace velmora
