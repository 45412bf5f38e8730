#include "params/tga_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "params/header_reader_support.h"
#include "params/user_locale.h"

namespace velmora {

namespace {

constexpr int64_t kHeaderSize = 18;
constexpr int64_t kFooterSize = 26;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE.";  // with its zero byte: 18 bytes
constexpr int64_t kExtensionSize = 495;
constexpr size_t kNameLength = 41;
constexpr int kSecondsPerDay = 86400;

bool IsGreyType(int type) { return type == 3 || type == 11; }
bool IsKnownType(int type) { return type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11; }

// The creation date and time, when every part is in range and the day exists.
bool StampToDate(const uint8_t* stamp, TDateTime& value) {
    const int month = Le16(stamp), day = Le16(stamp + 2), year = Le16(stamp + 4);
    const int hour = Le16(stamp + 6), minute = Le16(stamp + 8), second = Le16(stamp + 10);
    if (year < 1 || year > 2499 || month < 1 || month > 12 || day < 1 || day > 31 || hour >= 24 || minute >= 60 ||
        second >= 60) {
        return false;
    }
    TDateTime date = 0;
    if (!EncodeDate(year, month, day, date)) return false;
    const double time = double(hour * 3600 + minute * 60 + second) / kSecondsPerDay;
    // Before the day count's origin the time of day still adds its fraction away from zero.
    value = date >= 0 ? date + time : date - time;
    return true;
}

void ReadExtensionArea(TStream& stream, int64_t base, int64_t size, TIOParamsVals& params) {
    if (size < kHeaderSize + kFooterSize) return;
    uint8_t footer[kFooterSize];
    if (!ReadAt(stream, base + size - kFooterSize, footer, sizeof footer) ||
        std::memcmp(footer + 8, kFooterSignature, sizeof kFooterSignature) != 0) {
        return;
    }
    // The area lies between the header and the footer.
    const int64_t offset = Le32(footer);
    if (offset < kHeaderSize || size - kFooterSize - offset < kExtensionSize) return;
    uint8_t area[kExtensionSize];
    if (!ReadAt(stream, base + offset, area, sizeof area)) return;

    params.TGA_Author = TextUpToZero(area + 2, kNameLength);
    TDateTime date = 0;
    if (StampToDate(area + 367, date)) params.TGA_Date = date;
    params.TGA_ImageName = TextUpToZero(area + 379, kNameLength);
    params.TGA_Background = RgbToColor(area[471], area[472], area[473]);
    const uint16_t aspectNumerator = Le16(area + 474), aspectDenominator = Le16(area + 476);
    if (aspectNumerator != 0 && aspectDenominator != 0) params.TGA_AspectRatio = double(aspectNumerator) / aspectDenominator;
    const uint16_t gammaNumerator = Le16(area + 478), gammaDenominator = Le16(area + 480);
    if (gammaNumerator != 0 && gammaDenominator != 0) params.TGA_Gamma = double(gammaNumerator) / gammaDenominator;
}

TRGB MapEntryColor(const uint8_t* e, int entryBytes) {
    if (entryBytes == 2) {
        // 5 bits each of red, green and blue, the top bit unused.
        const uint16_t v = Le16(e);
        const auto widen = [](int five) { return uint8_t((five << 3) | (five >> 2)); };
        return RgbToColor(widen((v >> 10) & 0x1F), widen((v >> 5) & 0x1F), widen(v & 0x1F));
    }
    return TRGB{e[0], e[1], e[2]};  // blue, green, red (and alpha)
}

void ReadColorMap(TStream& stream, int64_t offset, const uint8_t* header, TIOParamsVals& params) {
    const uint16_t length = Le16(header + 5);
    const int entrySize = header[7];
    const int entryBytes = (entrySize == 15 || entrySize == 16) ? 2 : entrySize == 24 ? 3 : entrySize == 32 ? 4 : 0;
    if (entryBytes == 0 || length == 0 || offset >= stream.Size()) return;
    stream.Seek(offset);
    const std::vector<uint8_t> bytes = stream.ReadBytes(size_t(length) * size_t(entryBytes));
    std::vector<TRGB> colors;
    colors.reserve(bytes.size() / size_t(entryBytes));
    for (size_t i = 0; i + size_t(entryBytes) <= bytes.size(); i += size_t(entryBytes)) {
        colors.push_back(MapEntryColor(bytes.data() + i, entryBytes));
    }
    params.SetColorMap(std::move(colors));
}

void ReadTga(TStream& stream, TIOParamsVals& params, TProgressRec& progress) {
    const int64_t base = stream.Position();
    const int64_t size = stream.Size() - base;

    params.TGA_Author.clear();
    params.TGA_ImageName.clear();
    params.TGA_Date = TodayDate();
    params.TGA_Background = kBlack;
    params.TGA_AspectRatio = 1.0;
    params.TGA_Gamma = 2.2;
    ReadExtensionArea(stream, base, size, params);

    uint8_t h[kHeaderSize];
    if (!ReadAt(stream, base, h, sizeof h)) {
        progress.SetAborting();
        return;
    }
    params.TGA_XPos = Le16(h + 8);
    params.TGA_YPos = Le16(h + 10);
    const int type = h[2];
    const PixelDepthLayout* depth = FindPixelDepth(h[16]);
    const int32_t width = Le16(h + 12), height = Le16(h + 14);
    if (!IsKnownType(type) || !depth || width == 0 || height == 0) {
        progress.SetAborting();
        return;
    }
    params.Width = width;
    params.Height = height;
    SetDefaultResolution(params);

    const uint8_t idLength = h[0];
    uint8_t id[255];
    stream.Seek(base + kHeaderSize);
    const size_t idRead = stream.Read(id, idLength);
    params.TGA_Descriptor = TextUpToZero(id, idRead);

    params.BitsPerSample = depth->bitsPerSample;
    params.SamplesPerPixel = depth->samplesPerPixel;
    if (IsGreyType(type) && depth->depth == 16) {
        // Grey with alpha: two samples of 8 bits.
        params.BitsPerSample = 8;
        params.SamplesPerPixel = 2;
    }

    params.FreeColorMap();
    if (h[1] == 1) {
        ReadColorMap(stream, base + kHeaderSize + idLength, h, params);
        params.TGA_GrayLevel = false;
    } else {
        params.TGA_GrayLevel = depth->depth == 8 || IsGreyType(type);
    }
    params.TGA_Compressed = type >= 9;
}

}  // namespace

void ReadTGAStream(TStream& stream, TImageBitmap*, TIOParamsVals& params, TProgressRec& progress, bool) {
    RunHeaderRead(progress, [&] { ReadTga(stream, params, progress); });
}

}  // namespace velmora
