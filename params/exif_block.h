// The EXIF block as a JPEG APP1 segment carries it: "Exif", two zero bytes, a TIFF structure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace velmora {

// True when length is at least 5 and the data begins with "Exif" and a zero byte.
inline bool CheckEXIFFromStandardBuffer(const void* buffer, size_t length) {
    return buffer && length >= 5 && std::memcmp(buffer, "Exif\0", 5) == 0;
}

}  // namespace velmora
