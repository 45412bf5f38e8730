#include "params/maker_note.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "params/byte_order.h"

namespace velmora {

namespace {

constexpr size_t kEntrySize = 12;
constexpr uint16_t kMaxEntries = 256;
constexpr uint16_t kMaxType = 12;

// Width of the byte-swapped unit of a type: rationals swap as two 32-bit halves.
size_t SwapUnit(uint16_t type) {
    switch (type) {
        case kTiffShort: case kTiffSShort: return 2;
        case kTiffLong: case kTiffSLong: case kTiffFloat: case kTiffRational: case kTiffSRational: return 4;
        case kTiffDouble: return 8;
        default: return 1;
    }
}

// Big-endian data becomes little-endian, value by value, so the block reads the same
// whatever order the file had.
void SwapToLittleEndian(uint8_t* data, size_t size, uint16_t type) {
    const size_t unit = SwapUnit(type);
    if (unit == 1) return;
    for (size_t at = 0; at + unit <= size; at += unit) std::reverse(data + at, data + at + unit);
}

// The value field of an entry whose values fit in it, as a little-endian 32-bit number.
uint32_t InlineValue(const uint8_t* field, uint16_t type, bool littleEndian) {
    if (littleEndian) return LoadU32(field, true);
    uint8_t bytes[4] = {field[0], field[1], field[2], field[3]};
    if (SwapUnit(type) == 2) {
        SwapToLittleEndian(bytes, 4, type);
    } else if (SwapUnit(type) != 1) {
        return LoadU32(field, false);
    }
    return LoadU32(bytes, true);
}

}  // namespace

void LoadMakerNote(TStream& stream, bool littleEndian, int64_t streamBase, const TIFFTag* entry,
                   TTagsHandler& handler) {
    handler.ClearData();
    if (!entry) return;

    const int64_t streamSize = stream.Size();
    const auto noteOffset = static_cast<int32_t>(entry->DataPos);
    if (noteOffset < 0) return;
    const int64_t noteStart = streamBase + noteOffset;
    if (noteStart < 0 || noteStart >= streamSize) return;

    StreamPositionGuard guard(stream);
    stream.Seek(noteStart);
    const std::vector<uint8_t> note = stream.ReadBytes(entry->DataNum);
    if (note.size() < 2) return;

    const uint16_t count = LoadU16(note.data(), littleEndian);
    if (count > kMaxEntries || note.size() < 2 + kEntrySize * count) return;

    std::vector<uint8_t> block(2 + kEntrySize * count, 0);
    StoreU16(block.data(), count, true);
    size_t slot = 2;
    // Out-of-line data copied so far; entries may share data, but together they never get
    // more than the stream itself holds.
    uint64_t copied = 0;

    for (uint16_t k = 0; k < count; ++k) {
        const uint8_t* raw = note.data() + 2 + kEntrySize * k;
        const uint16_t tag = LoadU16(raw, littleEndian);
        const uint16_t type = LoadU16(raw + 2, littleEndian);
        const uint32_t valueCount = LoadU32(raw + 4, littleEndian);
        const uint32_t value = LoadU32(raw + 8, littleEndian);
        if (type > kMaxType) return;  // a malformed directory: the block stays empty

        const uint64_t typeSize = static_cast<uint64_t>(std::max(TiffTypeSize(type), 1));
        const uint64_t size = uint64_t(valueCount) * typeSize;
        const bool inlineData = size <= 4;
        const auto signedValue = static_cast<int32_t>(value);
        if (signedValue <= 0 || static_cast<int64_t>(valueCount) >= streamSize) continue;
        const int64_t dataStart = streamBase + signedValue;
        if (!inlineData) {
            if (dataStart < 0 || size > static_cast<uint64_t>(streamSize - std::min(dataStart, streamSize))) continue;
            if (size > static_cast<uint64_t>(streamSize) - copied) continue;
            if (size > UINT32_MAX - block.size()) continue;  // offsets in the block are 32-bit
        }

        uint32_t stored;
        if (inlineData) {
            stored = InlineValue(raw + 8, type, littleEndian);
        } else {
            stream.Seek(dataStart);
            std::vector<uint8_t> data = stream.ReadBytes(static_cast<size_t>(size));
            data.resize(static_cast<size_t>(size), 0);
            if (!littleEndian) SwapToLittleEndian(data.data(), data.size(), type);
            stored = static_cast<uint32_t>(block.size());
            block.insert(block.end(), data.begin(), data.end());
            copied += size;
        }

        uint8_t* out = block.data() + slot;
        StoreU16(out, tag, true);
        StoreU16(out + 2, type, true);
        StoreU32(out + 4, valueCount, true);
        StoreU32(out + 8, stored, true);
        slot += kEntrySize;
    }

    handler.SetData(block);
    handler.Update();
}

}  // namespace velmora
