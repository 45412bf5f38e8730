#include "params/avi_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "params/header_reader_support.h"

namespace velmora {

namespace {

// Least sizes of the stream header and of the frame format (a BITMAPINFOHEADER) that are read.
constexpr uint32_t kStreamHeaderSize = 36;
constexpr uint32_t kBitmapInfoSize = 16;

constexpr uint32_t FourCC(const char (&name)[5]) {
    return uint32_t(uint8_t(name[0])) | uint32_t(uint8_t(name[1])) << 8 | uint32_t(uint8_t(name[2])) << 16 |
           uint32_t(uint8_t(name[3])) << 24;
}

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

struct Chunk {
    uint32_t id = 0;
    // For RIFF and LIST chunks, the list type.
    uint32_t listType = 0;
    int64_t dataStart = 0;
    int64_t dataEnd = 0;
    // Start of the next chunk (the data is padded to an even size).
    int64_t next = 0;
};

// Reads the chunk header at pos within [pos, limit); a chunk that claims more than its
// container holds is clipped to the container.
bool ReadChunk(TStream& stream, int64_t pos, int64_t limit, Chunk& chunk) {
    uint8_t header[12];
    if (!ReadWithin(stream, pos, limit, header, 8)) return false;
    chunk.id = Le32(header);
    const uint32_t size = Le32(header + 4);
    chunk.dataStart = pos + 8;
    chunk.dataEnd = limit - chunk.dataStart < int64_t(size) ? limit : chunk.dataStart + int64_t(size);
    chunk.next = chunk.dataEnd + (size & 1);
    chunk.listType = 0;
    if (chunk.id == FourCC("RIFF") || chunk.id == FourCC("LIST")) {
        if (!ReadWithin(stream, chunk.dataStart, chunk.dataEnd, header + 8, 4)) return false;
        chunk.listType = Le32(header + 8);
        chunk.dataStart += 4;
    }
    return true;
}

struct VideoStream {
    uint32_t scale = 0;
    uint32_t rate = 0;
    uint32_t length = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
};

// The stream list (strl) of one stream: true when it is a video stream with a frame format.
bool ReadStreamList(TStream& stream, int64_t pos, int64_t end, VideoStream& video) {
    bool isVideo = false;
    bool hasFormat = false;
    Chunk chunk;
    // Each chunk takes at least 8 bytes, so the walk ends within (end - pos) / 8 steps.
    while (end - pos >= 8 && ReadChunk(stream, pos, end, chunk)) {
        if (chunk.id == FourCC("strh")) {
            uint8_t header[kStreamHeaderSize];
            if (!ReadWithin(stream, chunk.dataStart, chunk.dataEnd, header, sizeof header)) return false;
            if (Le32(header) != FourCC("vids")) return false;
            isVideo = true;
            video.scale = Le32(header + 20);
            video.rate = Le32(header + 24);
            video.length = Le32(header + 32);
        } else if (chunk.id == FourCC("strf") && isVideo) {
            uint8_t info[kBitmapInfoSize];
            if (!ReadWithin(stream, chunk.dataStart, chunk.dataEnd, info, sizeof info)) return false;
            video.width = static_cast<int32_t>(Le32(info + 4));
            video.height = static_cast<int32_t>(Le32(info + 8));
            video.bitCount = Le16(info + 14);
            hasFormat = true;
        }
        pos = chunk.next;
    }
    return isVideo && hasFormat;
}

// Finds the header list (hdrl) among the top-level chunks and its first video stream.
bool FindFirstVideoStream(TStream& stream, int64_t start, VideoStream& video) {
    Chunk riff;
    if (!ReadChunk(stream, start, stream.Size(), riff) || riff.id != FourCC("RIFF") ||
        riff.listType != FourCC("AVI ")) {
        return false;
    }
    int64_t pos = riff.dataStart;
    Chunk chunk;
    while (riff.dataEnd - pos >= 8 && ReadChunk(stream, pos, riff.dataEnd, chunk)) {
        if (chunk.id == FourCC("LIST") && chunk.listType == FourCC("hdrl")) {
            int64_t inner = chunk.dataStart;
            Chunk entry;
            while (chunk.dataEnd - inner >= 8 && ReadChunk(stream, inner, chunk.dataEnd, entry)) {
                if (entry.id == FourCC("LIST") && entry.listType == FourCC("strl") &&
                    ReadStreamList(stream, entry.dataStart, entry.dataEnd, video)) {
                    return true;
                }
                inner = entry.next;
            }
            return false;
        }
        pos = chunk.next;
    }
    return false;
}

// Bits per sample and samples per pixel of a frame of the given bit count.
void SetFrameDepth(TIOParamsVals& params, uint16_t bitCount) {
    switch (bitCount) {
        case 1:
        case 4:
        case 8:
            params.BitsPerSample = bitCount;
            params.SamplesPerPixel = 1;
            break;
        case 15:
            params.BitsPerSample = 5;
            params.SamplesPerPixel = 3;
            break;
        default:  // 16, 24 and 32 bits, and compressed formats decoded to true colour
            params.BitsPerSample = 8;
            params.SamplesPerPixel = 3;
            break;
    }
}

}  // namespace

void ReadAVIStream(TStream& stream, TImageBitmap* /*bitmap*/, TIOParamsVals& params, TProgressRec& progress,
                   bool /*parametersOnly*/) {
    params.AVI_FrameCount = 0;
    VideoStream video;
    bool found = false;
    RunHeaderRead(progress, [&] { found = FindFirstVideoStream(stream, stream.Position(), video); });
    if (!found) {
        progress.SetAborting();
        return;
    }
    params.AVI_FrameCount = ClampToInt32(video.length);
    params.AVI_FrameDelayTime = 0;
    const int64_t index = params.ImageIndex;
    if (index < 0 || index >= int64_t(video.length)) return;

    // 1000 / (rate / scale) milliseconds, truncated; a stream without a rate has no delay.
    params.AVI_FrameDelayTime = video.rate == 0 ? 0 : ClampToInt32(int64_t(uint64_t(1000) * video.scale / video.rate));
    SetFrameDepth(params, video.bitCount);
    SetDefaultResolution(params);
    // A negative height marks a top-down frame.
    params.Width = ClampToInt32(std::abs(int64_t(video.width)));
    params.Height = ClampToInt32(std::abs(int64_t(video.height)));
    params.FreeColorMap();
}

}  // namespace velmora
