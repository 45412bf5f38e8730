// Builds small CIFF files (Canon CRW) in memory for tests, in either byte order.
//
// A heap is laid out as its records' data in record order, then the record table (16-bit count,
// 10-byte records), then the 32-bit offset of the table. Sub-heaps are built the same way and
// become the data of their record.
//
//   CiffHeap props;
//   props.Text(0x080A, std::string("Canon\0Model", 11));
//   CiffHeap root;
//   root.Heap(0x300A, props).Data(0x2008, thumbnailJpeg);
//   std::vector<uint8_t> crw = BuildCiffFile(root, /*littleEndian=*/true);
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

class CiffHeap {
public:
    // A record whose data (bytes or a zero-ended text) is stored in the heap.
    CiffHeap& Data(uint16_t tag, const std::vector<uint8_t>& data);
    CiffHeap& Text(uint16_t tag, const std::string& text);
    // 16-bit or 32-bit values in the file's byte order.
    CiffHeap& Shorts(uint16_t tag, const std::vector<uint16_t>& values);
    CiffHeap& Longs(uint16_t tag, const std::vector<uint32_t>& values);
    // A record whose data is the built sub-heap.
    CiffHeap& Heap(uint16_t tag, const CiffHeap& sub);
    // A record (tag 0x4000 or more) that keeps its 8 data bytes in place of size and offset.
    CiffHeap& InRecord(uint16_t tag, const std::vector<uint8_t>& eightBytes);
    // A record whose size and offset are written as given and which adds no data.
    CiffHeap& Raw(uint16_t tag, uint32_t size, uint32_t offset);
    // Writes this count into the table instead of the number of records.
    CiffHeap& CountOverride(uint16_t count);

    // The heap bytes. The offsets of records are relative to the heap's first byte.
    std::vector<uint8_t> Build(bool littleEndian) const;
    // Offset within the built heap of the data of record index (for Raw offsets).
    uint32_t DataOffset(bool littleEndian, size_t index) const;

private:
    struct Record {
        uint16_t tag;
        std::vector<uint8_t> data;
        std::vector<uint16_t> shorts;
        std::vector<uint32_t> longs;
        std::vector<CiffHeap> sub;
        std::optional<std::pair<uint32_t, uint32_t>> raw;
        bool inRecord = false;
    };
    std::vector<uint8_t> RecordData(const Record& r, bool littleEndian) const;

    std::vector<Record> records_;
    std::optional<uint16_t> count_;
};

// The 26-byte file header ("II" or "MM", header length, "HEAPCCDR", version, reserved) and the root heap.
std::vector<uint8_t> BuildCiffFile(const CiffHeap& root, bool littleEndian);

}  // namespace velmora::test
