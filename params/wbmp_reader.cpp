#include "params/wbmp_reader.h"

#include "params/header_reader_support.h"

namespace velmora {

namespace {

constexpr int kMaxIntegerBytes = 4;

// A multi-byte integer: 7 bits a byte, most significant group first, bit 7 set on every byte
// but the last; at most four bytes.
bool ReadMultiByteInteger(TStream& stream, uint32_t& value) {
    value = 0;
    for (int i = 0; i < kMaxIntegerBytes; ++i) {
        uint8_t byte = 0;
        if (stream.Read(&byte, 1) != 1) return false;
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

struct WbmpHeader {
    uint32_t type = 0;
    uint32_t fixedHeader = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

// Reads the four header values; true when they describe a type 0 image with a size.
bool ReadHeader(TStream& stream, WbmpHeader& h) {
    return ReadMultiByteInteger(stream, h.type) && ReadMultiByteInteger(stream, h.fixedHeader) &&
           ReadMultiByteInteger(stream, h.width) && ReadMultiByteInteger(stream, h.height) && h.type == 0 &&
           h.fixedHeader == 0 && h.width > 0 && h.height > 0;
}

}  // namespace

void WBMPReadStream(TStream& stream, TImageBitmap*, TIOParamsVals& params, TProgressRec& progress, bool) {
    RunHeaderRead(progress, [&] {
        WbmpHeader h;
        if (!ReadHeader(stream, h)) {
            progress.SetAborting();
            return;
        }
        params.BitsPerSample = 1;
        params.SamplesPerPixel = 1;
        params.Width = int32_t(h.width);  // at most 28 bits
        params.Height = int32_t(h.height);
        SetDefaultResolution(params);
        params.FreeColorMap();
    });
}

bool WBMPTryStream(TStream& stream, int32_t) {
    StreamPositionGuard guard(stream);
    try {
        WbmpHeader h;
        if (!ReadHeader(stream, h)) return false;
        const uint64_t rows = (uint64_t(h.width) + 7) / 8 * uint64_t(h.height);
        const int64_t rest = stream.Size() - stream.Position();
        return rest >= 0 && uint64_t(rest) == rows;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace velmora
