// Helpers shared by the header readers of GIF, BMP, ICO/CUR, PCX/DCX, WBMP, PXM and TGA files.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "params/byte_order.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

// The resolution reported when a file states none.
inline constexpr int32_t kDefaultResolution = 300;

inline void SetDefaultResolution(TIOParamsVals& params) {
    params.SetDpiX(kDefaultResolution);
    params.SetDpiY(kDefaultResolution);
}

// round(pixels per metre / 100 * 2.54), the resolution in dots per inch.
inline int32_t PixelsPerMetreToDpi(int32_t pixelsPerMetre) {
    return int32_t(std::lround(double(pixelsPerMetre) / 100.0 * 2.54));
}

// How a packed pixel depth of BMP and TGA files splits into bits per sample and samples.
struct PixelDepthLayout {
    int depth;
    int32_t bitsPerSample;
    int32_t samplesPerPixel;
};

// The layout of a depth of 1, 4, 8, 16 (5-5-5 or 5-6-5), 24 or 32 bits; nullptr for others.
inline const PixelDepthLayout* FindPixelDepth(int depth) {
    static constexpr PixelDepthLayout kDepths[] = {
        {1, 1, 1}, {4, 4, 1}, {8, 8, 1}, {16, 5, 3}, {24, 8, 3}, {32, 8, 4},
    };
    for (const PixelDepthLayout& d : kDepths) {
        if (d.depth == depth) return &d;
    }
    return nullptr;
}

// Reads count bytes at an absolute offset when the stream holds all of them.
inline bool ReadAt(TStream& stream, int64_t offset, void* buffer, size_t count) {
    const int64_t size = stream.Size();
    if (offset < 0 || offset > size || uint64_t(size - offset) < count) return false;
    stream.Seek(offset);
    return stream.Read(buffer, count) == count;
}

// Reads exactly count bytes at pos, never past limit.
inline bool ReadWithin(TStream& stream, int64_t pos, int64_t limit, void* out, size_t count) {
    if (pos < 0 || limit - pos < int64_t(count)) return false;
    stream.Seek(pos);
    return stream.Read(out, count) == count;
}

// The bytes up to the first zero byte, at most length of them.
inline std::string TextUpToZero(const uint8_t* bytes, size_t length) {
    size_t n = 0;
    while (n < length && bytes[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

inline TRGB RgbToColor(uint8_t red, uint8_t green, uint8_t blue) { return TRGB{blue, green, red}; }

// Runs a header read. Readers report failure through the abort flag and never raise, so a
// failing stream (or an allocation failure) marks the read as aborted.
template <class Read>
void RunHeaderRead(TProgressRec& progress, Read&& read) {
    try {
        read();
    } catch (const std::exception&) {
        progress.SetAborting();
    }
}

}  // namespace velmora
