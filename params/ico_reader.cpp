#include "params/ico_reader.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "params/bmp_reader.h"
#include "params/header_reader_support.h"

namespace velmora {

namespace {

constexpr int64_t kDirectoryHeaderSize = 6;
constexpr int64_t kEntrySize = 16;
constexpr size_t kListedSizes = 16;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestInfoHeader = 124;
// The header's size replaces a differing entry size only below this (icons are small).
constexpr int32_t kHeaderSizeLimit = 2048;
// Signature, chunk length and type, width, height, bit depth and colour type of a PNG image.
constexpr size_t kPngHeaderSize = 26;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct DirectoryEntry {
    uint8_t width = 0;
    uint8_t height = 0;
    uint8_t colors = 0;
    uint16_t planes = 0;    // cursor: hot spot x
    uint16_t bitCount = 0;  // cursor: hot spot y
    uint32_t offset = 0;
};

struct Directory {
    uint16_t count = 0;
    std::vector<DirectoryEntry> entries;  // the entries the stream really holds
};

// What the image data of one entry states about itself: a BITMAPINFOHEADER, or the IHDR of
// an embedded PNG image.
struct ImageHeader {
    bool png = false;
    int32_t width = 0;   // the image's own width
    int32_t height = 0;  // the image's own height (half the bitmap header's, which counts the mask)
    int32_t headerWidth = 0;
    int32_t headerHeight = 0;  // the bitmap header's height as stored
    int bitCount = 0;
    int32_t pixelsPerMetreX = 0;
    int32_t pixelsPerMetreY = 0;
    int64_t paletteOffset = 0;
    int pngBitDepth = 0;
    int pngSamples = 0;
};

// Bits for a colour count: 2 colours give 1 bit, 16 give 4 and so on; 0 for none.
int BitsForColors(int colors) {
    if (colors <= 0) return 0;
    int bits = 1;
    while ((1 << bits) < colors) ++bits;
    return bits;
}

bool ReadDirectory(TStream& stream, int64_t base, Directory& dir, bool& isBitmap) {
    uint8_t h[kDirectoryHeaderSize];
    if (!ReadAt(stream, base, h, sizeof h)) return false;
    isBitmap = h[0] == 'B' && h[1] == 'M';
    if (isBitmap) return true;
    dir.count = Le16(h + 4);
    // Never more entries than the stream holds.
    const int64_t room = (stream.Size() - base - kDirectoryHeaderSize) / kEntrySize;
    const size_t held = size_t(std::clamp<int64_t>(room, 0, dir.count));
    std::vector<uint8_t> bytes(held * kEntrySize);
    if (held > 0 && !ReadAt(stream, base + kDirectoryHeaderSize, bytes.data(), bytes.size())) return false;
    dir.entries.resize(held);
    for (size_t i = 0; i < held; ++i) {
        const uint8_t* e = bytes.data() + i * kEntrySize;
        DirectoryEntry& d = dir.entries[i];
        d.width = e[0];
        d.height = e[1];
        d.colors = e[2];
        d.planes = Le16(e + 4);
        d.bitCount = Le16(e + 6);
        d.offset = Le32(e + 12);
    }
    return true;
}

int SamplesOfPngColorType(uint8_t colorType) {
    switch (colorType) {
        case 2: return 3;
        case 4: return 2;
        case 6: return 4;
        default: return 1;
    }
}

bool ReadImageHeader(TStream& stream, int64_t offset, ImageHeader& header) {
    if (offset < 0 || offset >= stream.Size()) return false;
    stream.Seek(offset);
    const std::vector<uint8_t> bytes = stream.ReadBytes(kInfoHeaderSize);
    const uint8_t* h = bytes.data();
    if (bytes.size() >= kPngHeaderSize && std::equal(std::begin(kPngSignature), std::end(kPngSignature), h)) {
        if (Be32(h + 12) != 0x49484452u) return false;  // "IHDR"
        header.png = true;
        header.width = int32_t(std::min<uint32_t>(Be32(h + 16), 0x7FFFFFFF));
        header.height = int32_t(std::min<uint32_t>(Be32(h + 20), 0x7FFFFFFF));
        header.headerWidth = header.width;
        header.headerHeight = header.height;
        header.pngBitDepth = h[24];
        header.pngSamples = SamplesOfPngColorType(h[25]);
        header.bitCount = header.pngBitDepth * header.pngSamples;
        return true;
    }
    if (bytes.size() < kInfoHeaderSize) return false;
    const uint32_t size = Le32(h);
    header.headerWidth = LeI32(h + 4);
    header.headerHeight = LeI32(h + 8);
    header.width = header.headerWidth;
    header.height = header.headerHeight == INT32_MIN ? 0 : std::abs(header.headerHeight) / 2;
    header.bitCount = Le16(h + 14);
    header.pixelsPerMetreX = LeI32(h + 24);
    header.pixelsPerMetreY = LeI32(h + 28);
    const uint32_t paletteAfter = (size >= kInfoHeaderSize && size <= kLargestInfoHeader) ? size : kInfoHeaderSize;
    header.paletteOffset = offset + int64_t(paletteAfter);
    return true;
}

void SetResolution(TIOParamsVals& params, const ImageHeader& header) {
    const int32_t dpiX = PixelsPerMetreToDpi(header.pixelsPerMetreX);
    const int32_t dpiY = PixelsPerMetreToDpi(header.pixelsPerMetreY);
    params.SetDpiX(dpiX >= 1 ? dpiX : kDefaultResolution);
    params.SetDpiY(dpiY >= 1 ? dpiY : kDefaultResolution);
}

// The entry's size; a zero byte (256 pixels or more) takes the image's own size.
void SetSize(TIOParamsVals& params, const DirectoryEntry& entry, const ImageHeader& header) {
    params.Width = entry.width != 0 ? entry.width : (header.width > 0 ? header.width : 256);
    params.Height = entry.height != 0 ? entry.height : (header.height > 0 ? header.height : 256);
}

// Palette of four-byte entries (blue, green, red, reserved); entries the stream lacks are left out.
void SetPalette(TStream& stream, TIOParamsVals& params, int64_t offset, size_t count) {
    params.FreeColorMap();
    if (count == 0 || offset < 0 || offset >= stream.Size()) return;
    stream.Seek(offset);
    const std::vector<uint8_t> bytes = stream.ReadBytes(count * 4);
    std::vector<TRGB> colors;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) colors.push_back(TRGB{bytes[i], bytes[i + 1], bytes[i + 2]});
    params.SetColorMap(std::move(colors));
}

void SetPngLayout(TIOParamsVals& params, const ImageHeader& header) {
    params.BitsPerSample = header.pngBitDepth;
    params.SamplesPerPixel = header.pngSamples;
    params.FreeColorMap();
    SetDefaultResolution(params);
}

void ReadIco(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
             bool parametersOnly) {
    const int64_t base = stream.Position();
    Directory dir;
    bool isBitmap = false;
    if (!ReadDirectory(stream, base, dir, isBitmap)) {
        progress.SetAborting();
        return;
    }
    if (isBitmap) {
        stream.Seek(base);
        BMPReadStream(stream, bitmap, params, progress, parametersOnly);
        return;
    }
    const int32_t index = params.ICO_ImageIndex;
    if (index < 0 || index >= dir.count) return;

    params.ICO_Sizes = {};
    params.ICO_BitCount = {};
    // Images of 256 pixels (a zero size byte) are not listed.
    std::vector<size_t> listed;
    for (size_t i = 0; i < dir.entries.size() && listed.size() < kListedSizes; ++i) {
        const DirectoryEntry& e = dir.entries[i];
        if (e.width == 0 || e.height == 0) continue;
        const size_t k = listed.size();
        params.ICO_Sizes[k] = TICOSize{e.width, e.height};
        params.ICO_BitCount[k] = e.bitCount != 0 ? e.bitCount : e.colors != 0 ? BitsForColors(e.colors) : 24;
        listed.push_back(i);
    }

    // The index counts the listed images; an index beyond them counts every entry.
    size_t selected = size_t(index);
    if (size_t(index) < listed.size()) {
        selected = listed[size_t(index)];
    } else if (selected >= dir.entries.size()) {
        progress.SetAborting();  // the directory is cut short before the entry
        return;
    }
    const DirectoryEntry& entry = dir.entries[selected];
    ImageHeader header;
    if (!ReadImageHeader(stream, base + int64_t(entry.offset), header)) {
        progress.SetAborting();
        return;
    }

    if (header.png) {
        SetPngLayout(params, header);
    } else {
        SetResolution(params, header);
        const int depth = header.bitCount != 0 ? header.bitCount
                          : entry.bitCount != 0 ? entry.bitCount
                                                : BitsForColors(entry.colors);
        if (depth == 0) {
            progress.SetAborting();
            return;
        }
        if (depth <= 8) {
            params.BitsPerSample = depth;
            params.SamplesPerPixel = 1;
            SetPalette(stream, params, header.paletteOffset, size_t(1) << depth);
        } else {
            params.BitsPerSample = 8;
            params.SamplesPerPixel = depth == 32 ? 4 : 3;
            params.FreeColorMap();
        }
    }

    SetSize(params, entry, header);
    const bool headerSmall = header.headerWidth > 0 && header.headerWidth < kHeaderSizeLimit &&
                             header.headerHeight > 0 && header.headerHeight < kHeaderSizeLimit;
    if (entry.width != 0 && entry.width != header.headerWidth && headerSmall) {
        params.Width = header.width;
        params.Height = header.height;
    }
}

void ReadCur(TStream& stream, TIOParamsVals& params, TProgressRec& progress) {
    const int64_t base = stream.Position();
    Directory dir;
    bool isBitmap = false;
    if (!ReadDirectory(stream, base, dir, isBitmap) || isBitmap) {
        progress.SetAborting();
        return;
    }
    const int32_t index = params.CUR_ImageIndex;
    if (index < 0 || index >= dir.count) return;
    if (size_t(index) >= dir.entries.size()) {
        progress.SetAborting();  // the directory is cut short before the entry
        return;
    }
    const DirectoryEntry& entry = dir.entries[size_t(index)];
    ImageHeader header;
    if (!ReadImageHeader(stream, base + int64_t(entry.offset), header)) {
        progress.SetAborting();
        return;
    }

    SetSize(params, entry, header);
    params.SamplesPerPixel = 1;
    params.CUR_XHotSpot = entry.planes;
    params.CUR_YHotSpot = entry.bitCount;
    if (header.png) {
        SetDefaultResolution(params);
        params.BitsPerSample = header.bitCount;
        params.FreeColorMap();
        return;
    }
    SetResolution(params, header);
    const int depth = header.bitCount != 0 ? header.bitCount : BitsForColors(entry.colors);
    if (depth == 0) {
        progress.SetAborting();
        return;
    }
    params.BitsPerSample = depth;
    if (depth <= 8) {
        const size_t count = entry.colors == 255 ? 256 : entry.colors != 0 ? entry.colors : size_t(1) << depth;
        SetPalette(stream, params, header.paletteOffset, count);
    } else {
        params.FreeColorMap();
    }
}

}  // namespace

void ICOReadStream(TStream& stream, TImageBitmap* bitmap, TIOParamsVals& params, TProgressRec& progress,
                   bool parametersOnly) {
    RunHeaderRead(progress, [&] { ReadIco(stream, bitmap, params, progress, parametersOnly); });
}

void CURReadStream(TStream& stream, TImageBitmap*, TIOParamsVals& params, TProgressRec& progress, bool) {
    RunHeaderRead(progress, [&] { ReadCur(stream, params, progress); });
}

}  // namespace velmora
