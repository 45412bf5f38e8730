#include "params/pcx_reader.h"

#include <algorithm>
#include <vector>

#include "params/header_reader_support.h"

namespace velmora {

namespace {

constexpr int64_t kHeaderSize = 128;
constexpr uint8_t kManufacturer = 10;
constexpr int kHeaderPaletteOffset = 16;
constexpr size_t kHeaderPaletteEntries = 16;
// The 256-colour palette: a marker byte, then 768 bytes of red, green, blue.
constexpr int64_t kTrailingPaletteSize = 769;
constexpr uint8_t kTrailingPaletteMarker = 12;

constexpr uint32_t kDcxMagic = 987654321u;
constexpr int kMaxDcxPages = 1024;

std::vector<TRGB> RgbTriples(const uint8_t* bytes, size_t count) {
    std::vector<TRGB> colors(count);
    for (size_t i = 0; i < count; ++i) colors[i] = RgbToColor(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]);
    return colors;
}

}  // namespace

bool ReadPcxHeaderAt(TStream& stream, int64_t start, int64_t length, TIOParamsVals& params) {
    uint8_t h[kHeaderSize];
    if (length < kHeaderSize || !ReadAt(stream, start, h, sizeof h)) return false;
    const int bits = h[3];
    const int planes = h[65];
    if (h[0] != kManufacturer || bits > 8 || h[2] > 1 || bits == 0 || planes == 0) return false;
    const int32_t width = int32_t(Le16(h + 8)) - int32_t(Le16(h + 4)) + 1;
    const int32_t height = int32_t(Le16(h + 10)) - int32_t(Le16(h + 6)) + 1;
    if (width <= 0 || height <= 0) return false;

    params.Width = width;
    params.Height = height;
    const int32_t dpiX = Le16(h + 12);
    const int32_t dpiY = Le16(h + 14);
    if (dpiX == 0 || dpiY == 0) {
        SetDefaultResolution(params);
    } else {
        params.SetDpiX(dpiX);
        params.SetDpiY(dpiY);
    }
    params.BitsPerSample = bits;
    params.SamplesPerPixel = planes;
    params.PCX_Version = h[1];

    params.FreeColorMap();
    if (bits == 8 && planes == 1) {
        // Only a palette behind its marker byte; otherwise those bytes are image data.
        uint8_t trailer[kTrailingPaletteSize];
        if (length - kHeaderSize >= kTrailingPaletteSize &&
            ReadAt(stream, start + length - kTrailingPaletteSize, trailer, sizeof trailer) &&
            trailer[0] == kTrailingPaletteMarker) {
            params.SetColorMap(RgbTriples(trailer + 1, 256));
        }
    } else if (bits == 1 && planes == 4) {
        params.SetColorMap(RgbTriples(h + kHeaderPaletteOffset, kHeaderPaletteEntries));
        params.BitsPerSample = 4;
        params.SamplesPerPixel = 1;
    } else if (bits < 8) {
        const size_t count = std::min<size_t>(size_t(1) << bits, kHeaderPaletteEntries);
        params.SetColorMap(RgbTriples(h + kHeaderPaletteOffset, count));
    }
    return true;
}

void ReadPcxStream(TStream& stream, TImageBitmap*, TIOParamsVals& params, TProgressRec& progress, bool) {
    RunHeaderRead(progress, [&] {
        const int64_t start = stream.Position();
        if (!ReadPcxHeaderAt(stream, start, stream.Size() - start, params)) progress.SetAborting();
    });
}

void DCXReadStream(TStream& stream, TImageBitmap*, TIOParamsVals& params, TProgressRec& progress, bool) {
    RunHeaderRead(progress, [&] {
        const int64_t base = stream.Position();
        const int64_t size = stream.Size() - base;
        uint8_t word[4];
        if (!ReadAt(stream, base, word, sizeof word) || Le32(word) != kDcxMagic) {
            progress.SetAborting();
            return;
        }
        // The page table: file offsets ended by a zero entry, each inside the file.
        std::vector<int64_t> pages;
        for (int i = 0; i < kMaxDcxPages; ++i) {
            if (!ReadAt(stream, base + 4 + 4 * int64_t(i), word, sizeof word)) {
                progress.SetAborting();
                return;
            }
            const uint32_t offset = Le32(word);
            if (offset == 0) break;
            if (int64_t(offset) >= size) {
                progress.SetAborting();
                return;
            }
            pages.push_back(offset);
        }
        if (pages.empty()) {
            progress.SetAborting();
            return;
        }

        const int32_t page = std::clamp<int32_t>(params.DCX_ImageIndex, 0, int32_t(pages.size()) - 1);
        params.SetImageIndex(page);
        const int64_t start = pages[size_t(page)];
        int64_t end = size;
        for (int64_t offset : pages) {
            if (offset > start && offset < end) end = offset;
        }
        if (!ReadPcxHeaderAt(stream, base + start, end - start, params)) progress.SetAborting();
    });
}

}  // namespace velmora
