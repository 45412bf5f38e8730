#include "tests/support/ciff_builder.h"

#include "tests/support/byte_writer.h"

namespace velmora::test {

CiffHeap& CiffHeap::Data(uint16_t tag, const std::vector<uint8_t>& data) {
    records_.push_back({tag, data, {}, {}, {}, {}, false});
    return *this;
}

CiffHeap& CiffHeap::Text(uint16_t tag, const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return Data(tag, bytes);
}

CiffHeap& CiffHeap::Shorts(uint16_t tag, const std::vector<uint16_t>& values) {
    records_.push_back({tag, {}, values, {}, {}, {}, false});
    return *this;
}

CiffHeap& CiffHeap::Longs(uint16_t tag, const std::vector<uint32_t>& values) {
    records_.push_back({tag, {}, {}, values, {}, {}, false});
    return *this;
}

CiffHeap& CiffHeap::Heap(uint16_t tag, const CiffHeap& sub) {
    records_.push_back({tag, {}, {}, {}, {sub}, {}, false});
    return *this;
}

CiffHeap& CiffHeap::InRecord(uint16_t tag, const std::vector<uint8_t>& eightBytes) {
    std::vector<uint8_t> bytes = eightBytes;
    bytes.resize(8, 0);
    records_.push_back({tag, bytes, {}, {}, {}, {}, true});
    return *this;
}

CiffHeap& CiffHeap::Raw(uint16_t tag, uint32_t size, uint32_t offset) {
    records_.push_back({tag, {}, {}, {}, {}, std::make_pair(size, offset), false});
    return *this;
}

CiffHeap& CiffHeap::CountOverride(uint16_t count) {
    count_ = count;
    return *this;
}

std::vector<uint8_t> CiffHeap::RecordData(const Record& r, bool little) const {
    if (r.inRecord || r.raw) return {};
    if (!r.sub.empty()) return r.sub.front().Build(little);
    std::vector<uint8_t> out = r.data;
    for (uint16_t v : r.shorts) AppendU16(out, v, little);
    for (uint32_t v : r.longs) AppendU32(out, v, little);
    return out;
}

uint32_t CiffHeap::DataOffset(bool little, size_t index) const {
    uint32_t offset = 0;
    for (size_t k = 0; k < index && k < records_.size(); ++k) offset += uint32_t(RecordData(records_[k], little).size());
    return offset;
}

std::vector<uint8_t> CiffHeap::Build(bool little) const {
    std::vector<uint8_t> heap;
    std::vector<uint8_t> table;
    AppendU16(table, count_.value_or(uint16_t(records_.size())), little);
    for (const Record& r : records_) {
        AppendU16(table, r.tag, little);
        if (r.inRecord) {
            table.insert(table.end(), r.data.begin(), r.data.end());
            continue;
        }
        if (r.raw) {
            AppendU32(table, r.raw->first, little);
            AppendU32(table, r.raw->second, little);
            continue;
        }
        const std::vector<uint8_t> data = RecordData(r, little);
        AppendU32(table, uint32_t(data.size()), little);
        AppendU32(table, uint32_t(heap.size()), little);
        heap.insert(heap.end(), data.begin(), data.end());
    }
    const uint32_t tableOffset = uint32_t(heap.size());
    heap.insert(heap.end(), table.begin(), table.end());
    AppendU32(heap, tableOffset, little);
    return heap;
}

std::vector<uint8_t> BuildCiffFile(const CiffHeap& root, bool little) {
    std::vector<uint8_t> file = little ? std::vector<uint8_t>{'I', 'I'} : std::vector<uint8_t>{'M', 'M'};
    AppendU32(file, 26, little);
    const std::string signature = "HEAPCCDR";
    file.insert(file.end(), signature.begin(), signature.end());
    AppendU32(file, 0x00010002, little);
    file.insert(file.end(), 8, 0);
    const std::vector<uint8_t> heap = root.Build(little);
    file.insert(file.end(), heap.begin(), heap.end());
    return file;
}

}  // namespace velmora::test
