#include "params/psd_reader.h"

#include <memory>
#include <string>
#include <vector>

#include "params/header_reader_support.h"
#include "params/jpeg_decode.h"

namespace velmora {

namespace {

// PSD files without a resolution resource report the screen resolution, not the default 300.
constexpr int32_t kPsdDpi = 96;
constexpr size_t kHeaderSize = 26;
// Bytes of the thumbnail resource's own header before its JPEG data.
constexpr uint32_t kThumbnailHeaderSize = 28;

enum : uint16_t {
    kResolutionInfo = 1005,
    kIptc = 1028,
    kThumbnail = 1036,
    kIccProfile = 1039,
    kXmp = 1060,
};

void HandleResource(uint16_t id, const std::vector<uint8_t>& data, TIOParamsVals& params) {
    switch (id) {
        case kResolutionInfo:
            // 16.16 fixed-point pixels per inch at 0 (horizontal) and 8 (vertical).
            if (data.size() >= 12) {
                params.SetDpiX(static_cast<int32_t>(Be32(&data[0])) / 65536);
                params.SetDpiY(static_cast<int32_t>(Be32(&data[8])) / 65536);
            }
            break;
        case kIptc:
            params.IPTC_Info.LoadFromStandardBuffer(data.data(), data.size());
            break;
        case kThumbnail:
            if (data.size() > kThumbnailHeaderSize) {
                TImageBitmap thumbnail;
                if (DecodeJpegToBitmap(data.data() + kThumbnailHeaderSize, data.size() - kThumbnailHeaderSize,
                                       thumbnail)) {
                    if (!params.EXIF_Bitmap) params.EXIF_Bitmap = std::make_unique<TImageBitmap>();
                    *params.EXIF_Bitmap = std::move(thumbnail);
                }
            }
            break;
        case kIccProfile:
            params.InputICC = data;
            break;
        case kXmp:
            params.XMP_Info.assign(data.begin(), data.end());
            break;
        default:
            break;
    }
}

bool IsHandled(uint16_t id) {
    return id == kResolutionInfo || id == kIptc || id == kThumbnail || id == kIccProfile || id == kXmp;
}

// Walks the image resources in [pos, end). Each resource: "8BIM", a 16-bit id, a name
// (a length byte and the characters, padded to an even size), a 32-bit data size and the
// data, padded to an even size. The walk ends at another signature or at a resource whose
// parts do not fit in the section; what was read before stays.
void WalkResources(TStream& stream, int64_t pos, int64_t end, TIOParamsVals& params) {
    // Every resource takes at least 12 bytes, so the walk ends within (end - pos) / 12 steps.
    while (end - pos >= 12) {
        uint8_t head[7];
        if (!ReadWithin(stream, pos, end, head, sizeof head)) return;
        if (Be32(head) != 0x3842494D) return;  // "8BIM"
        const uint16_t id = Be16(head + 4);
        const int64_t nameField = (1 + int64_t(head[6]) + 1) & ~int64_t(1);
        const int64_t sizePos = pos + 6 + nameField;
        uint8_t sizeBytes[4];
        if (!ReadWithin(stream, sizePos, end, sizeBytes, 4)) return;
        const uint32_t size = Be32(sizeBytes);
        const int64_t dataPos = sizePos + 4;
        if (end - dataPos < int64_t(size)) return;
        if (size > 0 && IsHandled(id)) {
            std::vector<uint8_t> data(size);
            if (!ReadWithin(stream, dataPos, end, data.data(), data.size())) return;
            HandleResource(id, data, params);
        }
        pos = dataPos + int64_t(size) + int64_t(size & 1);
    }
}

}  // namespace

void ReadPSD(TStream& stream, TImageBitmap* /*bitmap*/, TIOParamsVals& params, TProgressRec& progress,
             bool /*parametersOnly*/) {
    RunHeaderRead(progress, [&] {
        const int64_t start = stream.Position();
        const int64_t end = stream.Size();
        uint8_t header[kHeaderSize];
        if (!ReadWithin(stream, start, end, header, kHeaderSize) || Be32(header) != 0x38425053) {  // "8BPS"
            progress.SetAborting();
            return;
        }
        const uint16_t version = Be16(header + 4);
        const uint16_t channels = Be16(header + 12);
        const uint32_t rows = Be32(header + 14);
        const uint32_t columns = Be32(header + 18);
        const uint16_t depth = Be16(header + 22);
        const uint16_t colourMode = Be16(header + 24);
        if (version != 1 || channels < 1 || channels > 24 || depth < 1 || depth > 16 || colourMode >= 10 ||
            rows > 0x7FFFFFFFu || columns > 0x7FFFFFFFu) {
            progress.SetAborting();
            return;
        }
        params.Width = static_cast<int32_t>(columns);
        params.Height = static_cast<int32_t>(rows);
        params.BitsPerSample = depth;
        params.SamplesPerPixel = channels;
        params.SetDpiX(kPsdDpi);
        params.SetDpiY(kPsdDpi);

        // The colour mode data (an indexed image's palette) matters to the pixel decoder only.
        uint8_t length[4];
        int64_t pos = start + int64_t(kHeaderSize);
        if (!ReadWithin(stream, pos, end, length, 4) || end - (pos + 4) < int64_t(Be32(length))) {
            progress.SetAborting();
            return;
        }
        pos += 4 + int64_t(Be32(length));
        if (!ReadWithin(stream, pos, end, length, 4)) {
            progress.SetAborting();
            return;
        }
        pos += 4;
        const int64_t sectionLength = Be32(length);
        WalkResources(stream, pos, end - pos < sectionLength ? end : pos + sectionLength, params);
    });
}

}  // namespace velmora
