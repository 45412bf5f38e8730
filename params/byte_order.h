// Fixed-width integers held in a byte buffer in either byte order.
#pragma once

#include <cstdint>

namespace velmora {

inline uint16_t LoadU16(const uint8_t* p, bool littleEndian) {
    return littleEndian ? uint16_t(p[0] | p[1] << 8) : uint16_t(p[0] << 8 | p[1]);
}

inline uint32_t LoadU32(const uint8_t* p, bool littleEndian) {
    return littleEndian ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24
                        : uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

inline void StoreU16(uint8_t* p, uint16_t v, bool littleEndian) {
    p[littleEndian ? 0 : 1] = uint8_t(v);
    p[littleEndian ? 1 : 0] = uint8_t(v >> 8);
}

inline void StoreU32(uint8_t* p, uint32_t v, bool littleEndian) {
    StoreU16(p + (littleEndian ? 0 : 2), uint16_t(v), littleEndian);
    StoreU16(p + (littleEndian ? 2 : 0), uint16_t(v >> 16), littleEndian);
}

// Shorthands for formats that fix one byte order.
inline uint16_t Le16(const uint8_t* p) { return LoadU16(p, true); }
inline uint32_t Le32(const uint8_t* p) { return LoadU32(p, true); }
inline int32_t LeI32(const uint8_t* p) { return int32_t(Le32(p)); }
inline uint16_t Be16(const uint8_t* p) { return LoadU16(p, false); }
inline uint32_t Be32(const uint8_t* p) { return LoadU32(p, false); }

}  // namespace velmora
