#include "params/gif_reader.h"

#include <vector>

#include "params/header_reader_support.h"

namespace velmora {

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;  // "!"
constexpr uint8_t kImageSeparator = 0x2C;       // ","
constexpr uint8_t kTrailer = 0x3B;              // ";"
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kCommentLabel = 0xFE;
// Comment lines kept per file; a hostile file could otherwise add one line per three bytes.
constexpr size_t kMaxCommentLines = 10000;

struct ColorTable {
    bool present = false;
    int bits = 0;
    std::vector<TRGB> colors;
};

// Reads a colour table of 2^bits entries; false when the stream ends first.
bool ReadColorTable(TStream& stream, int bits, ColorTable& table) {
    const size_t count = size_t(1) << bits;
    uint8_t rgb[256 * 3];
    if (stream.Read(rgb, count * 3) != count * 3) return false;
    table.present = true;
    table.bits = bits;
    table.colors.resize(count);
    for (size_t i = 0; i < count; ++i) table.colors[i] = RgbToColor(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return true;
}

TRGB ColorAt(const ColorTable& table, size_t index) {
    return index < table.colors.size() ? table.colors[index] : kBlack;
}

bool ReadByte(TStream& stream, uint8_t& value) { return stream.Read(&value, 1) == 1; }

// Skips data sub-blocks through the zero-length terminator; false when the data ends first.
// Every step consumes at least one byte, so the walk ends within the stream's size.
bool SkipSubBlocks(TStream& stream) {
    for (;;) {
        uint8_t length = 0;
        if (!ReadByte(stream, length)) return false;
        if (length == 0) return true;
        if (stream.Remaining() < length) return false;
        stream.Seek(stream.Position() + length);
    }
}

// Adds each non-empty sub-block of a comment extension as a line.
bool ReadComment(TStream& stream, std::vector<std::string>& comments) {
    for (;;) {
        uint8_t length = 0;
        if (!ReadByte(stream, length)) return false;
        if (length == 0) return true;
        std::string line(length, '\0');
        if (stream.Read(line.data(), length) != length) return false;
        if (comments.size() < kMaxCommentLines) comments.push_back(std::move(line));
    }
}

// The disposal method; the reserved values 4 to 7 count as no action.
TGIFAction ActionOf(uint8_t packed) {
    const int method = (packed >> 2) & 7;
    return method <= ioGIF_RestorePrev ? TGIFAction(method) : ioGIF_None;
}

void ApplyColorTable(TIOParamsVals& params, const ColorTable& table, int fallbackBits) {
    if (table.present) {
        params.BitsPerSample = table.bits;
        params.SetColorMap(table.colors);
    } else {
        params.BitsPerSample = fallbackBits;
        params.FreeColorMap();
    }
}

void ReadGif(TStream& stream, TIOParamsVals& params, TProgressRec& progress) {
    uint8_t header[13];
    if (stream.Read(header, sizeof header) != sizeof header || header[0] != 'G' || header[1] != 'I' ||
        header[2] != 'F') {
        progress.SetAborting();
        return;
    }
    params.FreeColorMap();
    params.GIF_Version = TextUpToZero(header, 6);
    params.GIF_WinWidth = Le16(header + 6);
    params.GIF_WinHeight = Le16(header + 8);
    params.GIF_Ratio = header[12];
    SetDefaultResolution(params);
    params.SamplesPerPixel = 1;

    const int screenBits = (header[10] & 7) + 1;
    ColorTable global;
    if (header[10] & 0x80) {
        if (!ReadColorTable(stream, screenBits, global)) {
            progress.SetAborting();
            return;
        }
        params.GIF_Background = ColorAt(global, header[11]);
    } else {
        params.GIF_Background = kBlack;
    }
    if (stream.Remaining() == 0) {
        progress.SetAborting();
        return;
    }

    const int32_t wanted = params.GIF_ImageIndex;
    int32_t count = 0;
    bool found = false;
    uint8_t keptPacked = 0;
    uint16_t keptDelay = 0;
    uint8_t keptTransparent = 0;

    bool walking = true;
    while (walking) {
        uint8_t introducer = 0;
        if (!ReadByte(stream, introducer) || introducer == kTrailer) break;
        if (introducer == kExtensionIntroducer) {
            uint8_t label = 0;
            if (!ReadByte(stream, label)) break;
            if (label == kGraphicControlLabel) {
                uint8_t length = 0;
                if (!ReadByte(stream, length)) break;
                if (length == 0) continue;
                uint8_t block[255];
                if (stream.Read(block, length) != length) break;
                if (count == wanted && length >= 4) {
                    keptPacked = block[0];
                    keptDelay = Le16(block + 1);
                    keptTransparent = block[3];
                }
                walking = SkipSubBlocks(stream);
            } else if (label == kCommentLabel) {
                walking = ReadComment(stream, params.GIF_Comments);
            } else {
                walking = SkipSubBlocks(stream);
            }
        } else if (introducer == kImageSeparator) {
            uint8_t descriptor[9];
            if (stream.Read(descriptor, sizeof descriptor) != sizeof descriptor) break;
            ColorTable local;
            if ((descriptor[8] & 0x80) && !ReadColorTable(stream, (descriptor[8] & 7) + 1, local)) break;
            if (count == wanted) {
                found = true;
                const ColorTable& table = local.present ? local : global;
                params.GIF_XPos = Le16(descriptor);
                params.GIF_YPos = Le16(descriptor + 2);
                params.Width = Le16(descriptor + 4);
                params.Height = Le16(descriptor + 6);
                params.GIF_DelayTime = keptDelay;
                params.GIF_FlagTranspColor = (keptPacked & 1) != 0;
                params.GIF_Action = ActionOf(keptPacked);
                params.GIF_Interlaced = (descriptor[8] & 0x40) != 0;
                params.GIF_TranspColor = ColorAt(table, keptTransparent);
                ApplyColorTable(params, table, screenBits);
            }
            ++count;
            // The LZW code size, then the image data.
            uint8_t codeSize = 0;
            walking = ReadByte(stream, codeSize) && SkipSubBlocks(stream);
        } else {
            // Not a block: what follows is no GIF data.
            break;
        }
    }

    if (!found) {
        // The selected frame does not exist: report the logical screen rather than leave the
        // size of a previous file in the record.
        params.Width = params.GIF_WinWidth;
        params.Height = params.GIF_WinHeight;
        ApplyColorTable(params, global, screenBits);
    }
    params.SetImageCount(count);
}

}  // namespace

void ReadGIFStream(TStream& stream, TImageBitmap*, TIOParamsVals& params, TProgressRec& progress, bool) {
    RunHeaderRead(progress, [&] { ReadGif(stream, params, progress); });
}

}  // namespace velmora
