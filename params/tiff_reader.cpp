#include "params/tiff_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "params/byte_order.h"
#include "params/iptc_info_list.h"
#include "params/jpeg_decode.h"
#include "params/maker_note.h"
#include "params/tiff_env.h"
#include "params/tiff_tag_tables.h"

namespace velmora {

namespace {

constexpr uint16_t kTagImageWidth = 256;
constexpr uint16_t kTagImageLength = 257;
constexpr uint16_t kTagBitsPerSample = 258;
constexpr uint16_t kTagCompression = 259;
constexpr uint16_t kTagPhotometric = 262;
constexpr uint16_t kTagStripOffsets = 273;
constexpr uint16_t kTagOrientation = 274;
constexpr uint16_t kTagSamplesPerPixel = 277;
constexpr uint16_t kTagRowsPerStrip = 278;
constexpr uint16_t kTagStripByteCounts = 279;
constexpr uint16_t kTagXResolution = 282;
constexpr uint16_t kTagYResolution = 283;
constexpr uint16_t kTagPlanarConfig = 284;
constexpr uint16_t kTagXPosition = 286;
constexpr uint16_t kTagYPosition = 287;
constexpr uint16_t kTagT4Options = 292;
constexpr uint16_t kTagResolutionUnit = 296;
constexpr uint16_t kTagColorMap = 320;
constexpr uint16_t kTagSubIFDs = 330;
constexpr uint16_t kTagJpegProc = 512;
constexpr uint16_t kTagJpegOffset = 513;
constexpr uint16_t kTagJpegLength = 514;
constexpr uint16_t kTagIptc = 33723;
constexpr uint16_t kTagExifPointer = 34665;
constexpr uint16_t kTagGpsPointer = 34853;
constexpr uint16_t kTagMakerNote = 37500;

constexpr int kDefaultDpi = 300;
constexpr double kInchPerCentimetre = 2.54;
constexpr int64_t kMaxThumbnailSide = 400;
// A JPEG thumbnail usually carries no size tags; larger pictures are decoded at 1/2, 1/4 or 1/8.
constexpr uint64_t kMaxJpegThumbnailPixels = uint64_t(1) << 22;
// 2^16 palette entries at most; deeper samples carry no palette.
constexpr int kMaxPaletteBits = 16;

struct CompressionCode {
    int64_t tag;
    TIOTIFFCompression value;
};
// Compression 3 depends on T4Options and is decided in code.
constexpr CompressionCode kCompressions[] = {
    {1, ioTIFF_UNCOMPRESSED}, {2, ioTIFF_CCITT1D}, {4, ioTIFF_G4FAX},  {5, ioTIFF_LZW},
    {6, ioTIFF_OLDJPEG},      {7, ioTIFF_JPEG},    {8, ioTIFF_DEFLATE}, {32773, ioTIFF_PACKBITS},
    {32946, ioTIFF_ZIP},
};

TIOTIFFCompression MapCompression(int64_t code, TTIFFEnv& env) {
    if (code == 3) return (TIFFReadSingleValDef(env, kTagT4Options, 0) & 1) ? ioTIFF_G3FAX2D : ioTIFF_G3FAX1D;
    for (const CompressionCode& c : kCompressions) {
        if (c.tag == code) return c.value;
    }
    return ioTIFF_UNKNOWN;
}

// A double as an int: rounded or truncated, clamped to the int range (NaN gives 0).
int32_t ClampToInt(double value) {
    if (!(value == value)) return 0;
    if (value >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (value <= double(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

TTIFFEnv EmptyEnv(bool intel, TStream& stream, int64_t base) {
    TTIFFEnv env;
    env.Intel = intel;
    env.Stream = &stream;
    env.StreamBase = base;
    return env;
}

// Directory number 0 of the chain at offset into env; env stays empty when it cannot be read.
bool ReadSubDirectory(int64_t offset, TTIFFEnv& env) {
    int count = 0;
    if (TIFFReadIFD(0, offset, env, count)) return true;
    env.IFD.clear();
    env.NumTags = 0;
    return false;
}

const TIFFTag* FindEntry(uint16_t tag, const TTIFFEnv& env) {
    const int index = TIFFFindTAG(tag, env);
    return index >= 0 && size_t(index) < env.IFD.size() ? &env.IFD[size_t(index)] : nullptr;
}

// BitsPerSample: 1 when absent; with several values all must be equal. False when they differ.
bool ReadBitsPerSample(TTIFFEnv& env, int32_t& bits) {
    bits = 1;
    const TIFFTag* entry = FindEntry(kTagBitsPerSample, env);
    if (!entry) return true;
    if (entry->DataNum <= 1) {
        bits = static_cast<int32_t>(TIFFReadSingleValDef(env, kTagBitsPerSample, 1));
        return true;
    }
    const std::vector<int32_t> values = TIFFReadArrayIntegers(env, kTagBitsPerSample);
    if (values.empty()) return true;
    if (std::any_of(values.begin(), values.end(), [&](int32_t v) { return v != values.front(); })) return false;
    bits = values.back();
    return true;
}

TIOTIFFPhotometInterpret MapPhotometric(int64_t code, const TIOParamsVals& params, int64_t compression,
                                        TIOTIFFPhotometInterpret current) {
    const bool bilevel = params.SamplesPerPixel == 1 && params.BitsPerSample == 1 && compression >= 1 &&
                         compression <= 4;
    if (bilevel && code == 2) code = 0;
    if (code >= 0 && code <= 6) return static_cast<TIOTIFFPhotometInterpret>(code);
    if (code == 8) return ioTIFF_CIELAB;
    return current;
}

void ReadResolution(TTIFFEnv& env, TIOParamsVals& params) {
    const double factor = TIFFReadSingleValDef(env, kTagResolutionUnit, 2) == 3 ? kInchPerCentimetre : 1.0;
    const double x = TIFFReadSingleRational(env, kTagXResolution) * factor;
    const double y = TIFFReadSingleRational(env, kTagYResolution) * factor;
    const int32_t dpiX = ClampToInt(std::round(x));
    const int32_t dpiY = ClampToInt(std::round(y));
    params.SetDpiX(dpiX == 0 ? kDefaultDpi : dpiX);
    params.SetDpiY(dpiY == 0 ? kDefaultDpi : dpiY);
    params.SetEXIF_XResolution(x);
    params.SetEXIF_YResolution(y);
    params.TIFF_XPos = ClampToInt(TIFFReadSingleRational(env, kTagXPosition) * factor);
    params.TIFF_YPos = ClampToInt(TIFFReadSingleRational(env, kTagYPosition) * factor);
}

// The palette holds 2^bits entries per channel, red values first, then green, then blue. A tag
// that holds fewer values than that is read with the number of entries it really has.
void ReadPalette(TTIFFEnv& env, TIOParamsVals& params) {
    const TIFFTag* entry = FindEntry(kTagColorMap, env);
    const int32_t bits = params.BitsPerSample;
    if (!entry || bits < 0 || bits > kMaxPaletteBits) {
        params.FreeColorMap();
        return;
    }
    const std::vector<int32_t> values = TIFFReadArrayIntegers(env, kTagColorMap);
    const size_t n = std::min(size_t(1) << bits, values.size() / 3);
    if (n == 0) {
        params.FreeColorMap();
        return;
    }
    const bool wide = std::any_of(values.begin(), values.end(), [](int32_t v) { return v > 255; });
    const auto channel = [&](size_t i) { return uint8_t(wide ? (uint32_t(values[i]) >> 8) : uint32_t(values[i])); };
    std::vector<TRGB> colors(n);
    for (size_t i = 0; i < n; ++i) {
        colors[i].r = channel(i);
        colors[i].g = channel(n + i);
        colors[i].b = channel(2 * n + i);
    }
    params.SetColorMap(std::move(colors));
}

void ReadIptc(TTIFFEnv& env, TIOParamsVals& params) {
    const TIFFTag* entry = FindEntry(kTagIptc, env);
    if (!entry) {
        params.IPTC_Info.Clear();
        return;
    }
    // count x type size bytes: writers store the block as BYTE, UNDEFINED or LONG values.
    const std::vector<uint8_t> bytes = TIFFReadRawData(env, kTagIptc);
    params.IPTC_Info.LoadFromStandardBuffer(bytes.data(), bytes.size());
}

// Up to length bytes at offset (relative to the base), as far as the stream holds them.
std::vector<uint8_t> ReadBytesAt(const TTIFFEnv& env, uint32_t offset, uint64_t length) {
    if (!env.Stream || length == 0) return {};
    TStream& stream = *env.Stream;
    const int64_t size = stream.Size();
    const int64_t position = env.StreamBase + int64_t(offset);
    if (position < 0 || position >= size) return {};
    stream.Seek(position);
    return stream.ReadBytes(size_t(std::min(length, uint64_t(size - position))));
}

// A JPEG thumbnail: compression 6, or an interchange-format offset whose JPEGProc is at most 1.
bool IsJpegThumbnail(TTIFFEnv& env) {
    if (TIFFReadSingleValDef(env, kTagCompression, 1) == 6) return true;
    return FindEntry(kTagJpegOffset, env) && TIFFReadSingleValDef(env, kTagJpegProc, 1) <= 1;
}

// Pixels of the frame that the JPEG data announces (0 when no frame header is found).
uint64_t JpegFramePixels(const std::vector<uint8_t>& data) {
    if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) return 0;
    size_t at = 2;
    while (data.size() - at >= 4) {
        if (data[at] != 0xFF) return 0;
        const uint8_t marker = data[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const size_t length = size_t(data[at + 2]) << 8 | data[at + 3];
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (data.size() - at < 9) return 0;
            return uint64_t(data[at + 5] << 8 | data[at + 6]) * uint64_t(data[at + 7] << 8 | data[at + 8]);
        }
        if (length < 2) return 0;
        at += 2 + length;
        if (at > data.size()) return 0;
    }
    return 0;
}

bool DecodeJpegThumbnail(TTIFFEnv& env, TImageBitmap& bitmap) {
    if (!FindEntry(kTagJpegOffset, env)) return false;
    const uint32_t offset = uint32_t(TIFFReadSingleValDef(env, kTagJpegOffset, 0));
    const uint32_t length = uint32_t(TIFFReadSingleValDef(env, kTagJpegLength, 0));
    const std::vector<uint8_t> data = ReadBytesAt(env, offset, length);
    if (data.empty()) return false;
    // A few bytes can announce a huge frame: such a picture is decoded at a reduced scale, and
    // refused when even 1/8 would be too large.
    const uint64_t pixels = JpegFramePixels(data);
    int scale = 1;
    while (scale < 8 && pixels / (uint64_t(scale) * scale) > kMaxJpegThumbnailPixels) scale *= 2;
    if (pixels / (uint64_t(scale) * scale) > kMaxJpegThumbnailPixels) return false;
    return DecodeJpegToBitmap(data.data(), data.size(), bitmap, scale);
}

// Uncompressed 8-bit RGB (chunky) or 8-bit grey strips.
bool DecodeStripThumbnail(TTIFFEnv& env, const TIOParamsVals& params, TImageBitmap& bitmap) {
    const int64_t photometric = TIFFReadSingleValDef(env, kTagPhotometric, 2);
    const int64_t samples = TIFFReadSingleValDef(env, kTagSamplesPerPixel, 1);
    const bool rgb = samples == 3 && photometric == 2 && TIFFReadSingleValDef(env, kTagPlanarConfig, 1) == 1;
    const bool grey = samples == 1 && (photometric == 0 || photometric == 1);
    if (TIFFReadSingleValDef(env, kTagCompression, 1) != 1 || params.BitsPerSample != 8 || !(rgb || grey)) {
        return false;
    }
    const int width = params.Width;
    const int height = params.Height;
    if (width <= 0 || height <= 0 || !FindEntry(kTagStripOffsets, env)) return false;
    if (!bitmap.Allocate(width, height)) return false;

    const uint64_t rowBytes = uint64_t(width) * uint64_t(samples);
    const uint64_t total = rowBytes * uint64_t(height);
    int64_t rowsPerStrip = TIFFReadSingleValDef(env, kTagRowsPerStrip, height);
    if (rowsPerStrip <= 0 || rowsPerStrip > height) rowsPerStrip = height;
    const std::vector<int32_t> offsets = TIFFReadArrayIntegers(env, kTagStripOffsets);
    const std::vector<int32_t> counts = TIFFReadArrayIntegers(env, kTagStripByteCounts);
    const uint64_t stripBytes = rowBytes * uint64_t(rowsPerStrip);

    for (size_t k = 0; k < offsets.size(); ++k) {
        const uint64_t start = uint64_t(k) * stripBytes;
        if (start >= total) break;
        uint64_t want = std::min(stripBytes, total - start);
        if (k < counts.size()) want = std::min<uint64_t>(want, uint32_t(counts[k]));
        const std::vector<uint8_t> data = ReadBytesAt(env, uint32_t(offsets[k]), want);
        for (size_t i = 0; i < data.size(); ++i) {
            const uint64_t at = start + i;
            const uint64_t y = at / rowBytes;
            const uint64_t column = at % rowBytes;
            uint8_t* pixel = bitmap.ScanLine(int(y)) + column / uint64_t(samples) * 3;
            if (rgb) {
                pixel[column % 3] = data[i];
            } else {
                const uint8_t v = photometric == 0 ? uint8_t(255 - data[i]) : data[i];
                pixel[0] = pixel[1] = pixel[2] = v;
            }
        }
    }
    return true;
}

// Decodes the selected directory into bitmap; false when it is too large or not decodable here.
bool DecodeThumbnail(TTIFFEnv& env, const TIOParamsVals& params, TImageBitmap& bitmap) {
    bitmap.Clear();
    if (TIFFReadSingleValDef(env, kTagImageWidth, 0) > kMaxThumbnailSide ||
        TIFFReadSingleValDef(env, kTagImageLength, 0) > kMaxThumbnailSide) {
        return false;
    }
    const bool ok = IsJpegThumbnail(env) ? DecodeJpegThumbnail(env, bitmap) : DecodeStripThumbnail(env, params, bitmap);
    if (!ok) bitmap.Clear();
    return ok;
}

}  // namespace

void TIFFReadStream(TImageBitmap* bitmap, TStream& stream, int& imageCount, bool thumbnailMode,
                    bool headerAtCurrentPosition, bool parametersOnly, TProgressRec& progress,
                    TIOParamsVals* params) {
    imageCount = 0;
    const int64_t base = headerAtCurrentPosition ? stream.Position() : 0;
    stream.Seek(base);
    uint8_t header[8];
    if (stream.Read(header, sizeof header) != sizeof header ||
        !((header[0] == 'I' && header[1] == 'I') || (header[0] == 'M' && header[1] == 'M'))) {
        progress.SetAborting();
        return;
    }
    const bool intel = header[0] == 'I';
    const uint32_t firstOffset = LoadU32(header + 4, intel);
    if (firstOffset == 0) return;

    TTIFFEnv env = EmptyEnv(intel, stream, base);
    if (!TIFFReadIFD(params ? params->TIFF_ImageIndex : -1, firstOffset, env, imageCount) || !params) return;
    TIOParamsVals& p = *params;

    if (p.TIFF_SubIndex >= 0) {
        const TIFFTag* subIfds = FindEntry(kTagSubIFDs, env);
        if (subIfds && uint32_t(p.TIFF_SubIndex) < subIfds->DataNum) {
            const int64_t offset = TIFFReadIndexValN(env, kTagSubIFDs, p.TIFF_SubIndex);
            TTIFFEnv sub = EmptyEnv(intel, stream, base);
            if (offset > 0 && ReadSubDirectory(offset, sub)) env = std::move(sub);
        }
    }

    TTIFFEnv exifEnv = EmptyEnv(intel, stream, base);
    TTIFFEnv gpsEnv = EmptyEnv(intel, stream, base);
    const int64_t exifOffset = TIFFReadSingleValDef(env, kTagExifPointer, 0);
    if (exifOffset > 0) {
        ReadSubDirectory(exifOffset, exifEnv);
        p.EXIF_HasEXIF = true;
    }
    const int64_t gpsOffset = TIFFReadSingleValDef(env, kTagGpsPointer, 0);
    if (gpsOffset > 0) ReadSubDirectory(gpsOffset, gpsEnv);

    int32_t bitsPerSample = 1;
    if (!ReadBitsPerSample(env, bitsPerSample)) {
        progress.SetAborting();
        return;
    }

    ApplyTagTable(MainDirectoryTags(), env, p);
    p.BitsPerSample = bitsPerSample;
    const int64_t compression = TIFFReadSingleValDef(env, kTagCompression, 1);
    p.TIFF_Compression = MapCompression(compression, env);
    p.TIFF_PhotometInterpret =
        MapPhotometric(TIFFReadSingleValDef(env, kTagPhotometric, 2), p, compression, p.TIFF_PhotometInterpret);
    p.SetEXIF_Orientation(static_cast<int32_t>(TIFFReadSingleValDef(env, kTagOrientation, 1)));
    ReadIptc(env, p);

    ApplyTagTable(ExifDirectoryTags(), exifEnv, p);
    LoadMakerNote(stream, intel, base, FindEntry(kTagMakerNote, exifEnv), p.EXIF_MakerNote);
    ApplyTagTable(GpsDirectoryTags(), gpsEnv, p);

    p.SetImageCount(imageCount);
    p.TIFF_ByteOrder = intel ? ioLittleEndian : ioBigEndian;
    ReadResolution(env, p);
    ReadPalette(env, p);

    if (!thumbnailMode && (p.Width == 0 || p.Height == 0)) {
        progress.SetAborting();
        return;
    }
    // Full-size pixels are decoded by the display layer; here only thumbnails are.
    if (parametersOnly || !thumbnailMode || !bitmap) return;
    if (!DecodeThumbnail(env, p, *bitmap)) progress.SetAborting();
}

}  // namespace velmora
