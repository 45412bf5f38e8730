#include "params/bmp_reader.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

#include "params/header_reader_support.h"

namespace velmora {

namespace {

constexpr int64_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
// Width, height, planes and bit count: the least an information header must hold.
constexpr uint32_t kMinInfoHeaderSize = 16;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kOs2V2HeaderSize = 64;
// Of longer headers only this many bytes carry fields the record takes.
constexpr size_t kReadHeaderSize = 64;
constexpr uint32_t kBitFields = 3;

int32_t DpiOrDefault(int32_t pixelsPerMetre) {
    const int32_t dpi = PixelsPerMetreToDpi(pixelsPerMetre);
    return dpi > 0 ? dpi : kDefaultResolution;
}

// Reads up to count palette entries of entrySize bytes (blue, green, red first) at offset;
// entries the stream does not hold are left out.
std::vector<TRGB> ReadPalette(TStream& stream, int64_t offset, size_t count, size_t entrySize) {
    std::vector<TRGB> colors;
    if (offset < 0 || offset >= stream.Size()) return colors;
    stream.Seek(offset);
    const std::vector<uint8_t> bytes = stream.ReadBytes(count * entrySize);
    const size_t complete = bytes.size() / entrySize;
    colors.reserve(complete);
    for (size_t i = 0; i < complete; ++i) {
        const uint8_t* e = bytes.data() + i * entrySize;
        colors.push_back(TRGB{e[0], e[1], e[2]});
    }
    return colors;
}

void ReadBmp(TStream& stream, TIOParamsVals& params, TProgressRec& progress) {
    const int64_t base = stream.Position();
    uint8_t fileHeader[kFileHeaderSize];
    uint8_t sizeField[4];
    if (!ReadAt(stream, base, fileHeader, sizeof fileHeader) || fileHeader[0] != 'B' || fileHeader[1] != 'M' ||
        !ReadAt(stream, base + kFileHeaderSize, sizeField, sizeof sizeField)) {
        progress.SetAborting();
        return;
    }
    const uint32_t headerSize = Le32(sizeField);
    const int64_t headerStart = base + kFileHeaderSize;

    int32_t width = 0;
    int32_t height = 0;
    int bitCount = 0;
    std::vector<TRGB> palette;

    if (headerSize == kCoreHeaderSize) {
        uint8_t h[kCoreHeaderSize];
        if (!ReadAt(stream, headerStart, h, sizeof h)) {
            progress.SetAborting();
            return;
        }
        width = Le16(h + 4);
        height = Le16(h + 6);
        bitCount = Le16(h + 10);
        if (!FindPixelDepth(bitCount) || width == 0 || height == 0) {
            progress.SetAborting();
            return;
        }
        params.BMP_Version = ioBMP_BMOS2V1;
        params.BMP_Compression = ioBMP_UNCOMPRESSED;
        SetDefaultResolution(params);
        if (bitCount <= 8) palette = ReadPalette(stream, headerStart + kCoreHeaderSize, size_t(1) << bitCount, 3);
    } else {
        uint8_t h[kReadHeaderSize] = {};
        const size_t take = std::min<size_t>(headerSize, kReadHeaderSize);
        if (headerSize < kMinInfoHeaderSize || !ReadAt(stream, headerStart, h, take)) {
            progress.SetAborting();
            return;
        }
        width = LeI32(h + 4);
        height = LeI32(h + 8);
        bitCount = Le16(h + 14);
        const uint32_t compression = Le32(h + 16);
        if (!FindPixelDepth(bitCount) || width <= 0 || height == 0 || height == std::numeric_limits<int32_t>::min()) {
            progress.SetAborting();
            return;
        }
        params.BMP_Version = headerSize == kOs2V2HeaderSize ? ioBMP_BMOS2V2
                             : headerSize == kInfoHeaderSize ? ioBMP_BM3
                                                             : ioBMP_BM;
        params.BMP_Compression = (compression == 1 || compression == 2) ? ioBMP_RLE : ioBMP_UNCOMPRESSED;
        params.SetDpiX(DpiOrDefault(LeI32(h + 24)));
        params.SetDpiY(DpiOrDefault(LeI32(h + 28)));

        uint32_t colors = Le32(h + 32);
        if (colors > 256) colors = 0;
        if (colors == 0 && bitCount <= 8) colors = 1u << bitCount;
        // The three channel masks follow a 40-byte header; longer headers hold them inside.
        const int64_t masks = (compression == kBitFields && headerSize == kInfoHeaderSize) ? 12 : 0;
        if (colors > 0) palette = ReadPalette(stream, headerStart + int64_t(headerSize) + masks, colors, 4);
    }

    const PixelDepthLayout* depth = FindPixelDepth(bitCount);
    params.Width = width;
    params.Height = std::abs(height);  // a negative height marks a top-down bitmap
    params.BitsPerSample = depth->bitsPerSample;
    params.SamplesPerPixel = depth->samplesPerPixel;
    params.FreeColorMap();
    if (!palette.empty()) params.SetColorMap(std::move(palette));
}

}  // namespace

void BMPReadStream(TStream& stream, TImageBitmap*, TIOParamsVals& params, TProgressRec& progress, bool) {
    RunHeaderRead(progress, [&] { ReadBmp(stream, params, progress); });
}

}  // namespace velmora
