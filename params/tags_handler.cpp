#include "params/tags_handler.h"

#include <algorithm>
#include <cstring>

#include "params/byte_order.h"

namespace velmora {

namespace {

constexpr size_t kEntrySize = 12;

// Copies count bytes of the block from offset; what lies past its end reads as zero.
void ReadBlock(const std::vector<uint8_t>& block, uint64_t offset, void* out, size_t count) {
    std::memset(out, 0, count);
    if (offset >= block.size()) return;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count, block.size() - offset));
    std::memcpy(out, block.data() + offset, n);
}

uint16_t ReadU16At(const std::vector<uint8_t>& block, uint64_t offset) {
    uint8_t b[2];
    ReadBlock(block, offset, b, 2);
    return Le16(b);
}

uint32_t ReadU32At(const std::vector<uint8_t>& block, uint64_t offset) {
    uint8_t b[4];
    ReadBlock(block, offset, b, 4);
    return Le32(b);
}

uint64_t TypeSize(uint16_t type) {
    const int size = TiffTypeSize(type);
    return size > 0 ? static_cast<uint64_t>(size) : 1;
}

// True when the entry's values sit in its value field rather than at an offset.
bool IsInline(const TIFFTag& t) { return uint64_t(t.DataNum) * TypeSize(t.DataType) <= 4; }

double ReadRational(const std::vector<uint8_t>& block, uint64_t offset) {
    const auto numerator = static_cast<int32_t>(ReadU32At(block, offset));
    auto denominator = static_cast<int32_t>(ReadU32At(block, offset + 4));
    if (denominator == 0) denominator = 1;
    return static_cast<double>(numerator) / static_cast<double>(denominator);
}

}  // namespace

TTagsHandler::TTagsHandler() = default;

void TTagsHandler::SetData(const std::vector<uint8_t>& bytes) {
    data_.Clear();
    data_.Bytes() = bytes;
}

void TTagsHandler::Update() {
    const std::vector<uint8_t>& block = data_.Bytes();
    if (block.empty()) return;
    const uint16_t count = ReadU16At(block, 0);
    std::vector<TIFFTag> tags(count);
    for (uint16_t k = 0; k < count; ++k) {
        const uint64_t at = 2 + uint64_t(k) * kEntrySize;
        tags[k].IdTag = ReadU16At(block, at);
        tags[k].DataType = ReadU16At(block, at + 2);
        tags[k].DataNum = ReadU32At(block, at + 4);
        tags[k].DataPos = ReadU32At(block, at + 8);
    }
    tags_ = std::move(tags);
}

const TIFFTag* TTagsHandler::Find(uint16_t tag) const {
    for (const TIFFTag& t : tags_) {
        if (t.IdTag == tag) return &t;
    }
    return nullptr;
}

bool TTagsHandler::TagExists(uint16_t tag) const { return Find(tag) != nullptr; }

uint32_t TTagsHandler::TagLength(uint16_t tag) const {
    const TIFFTag* t = Find(tag);
    return t ? t->DataNum : 0;
}

int32_t TTagsHandler::GetInteger(uint16_t tag) const {
    const TIFFTag* t = Find(tag);
    if (!t) return 0;
    if (t->DataType == kTiffShort) return static_cast<int32_t>(t->DataPos & 0xFFFF);
    return static_cast<int32_t>(t->DataPos);
}

int32_t TTagsHandler::GetIntegerIndexed(uint16_t tag, int index) const {
    const TIFFTag* t = Find(tag);
    if (!t) return 0;
    const std::vector<uint8_t>& block = data_.Bytes();
    if (t->DataType == kTiffShort) {
        if (t->DataNum == 1) return static_cast<int32_t>(t->DataPos & 0xFFFF);
        if (t->DataNum == 2) {
            if (index == 0) return static_cast<int32_t>(t->DataPos & 0xFFFF);
            if (index == 1) return static_cast<int32_t>(t->DataPos >> 16);
            return 0;
        }
        if (index < 0 || static_cast<uint32_t>(index) >= t->DataNum) return 0;
        return ReadU16At(block, uint64_t(t->DataPos) + 2 * uint64_t(index));
    }
    if (t->DataType == kTiffLong) {
        if (index < 0 || static_cast<uint32_t>(index) >= t->DataNum) return 0;
        // A single LONG is held in the entry itself.
        if (t->DataNum == 1) return static_cast<int32_t>(t->DataPos);
        return static_cast<int32_t>(ReadU32At(block, uint64_t(t->DataPos) + 4 * uint64_t(index)));
    }
    return 0;
}

double TTagsHandler::GetRational(uint16_t tag) const {
    const TIFFTag* t = Find(tag);
    if (!t) return 0;
    return ReadRational(data_.Bytes(), t->DataPos);
}

double TTagsHandler::GetRationalIndexed(uint16_t tag, int index) const {
    const TIFFTag* t = Find(tag);
    if (!t || index < 0 || static_cast<uint32_t>(index) >= t->DataNum) return 0;
    return ReadRational(data_.Bytes(), uint64_t(t->DataPos) + 8 * uint64_t(index));
}

std::string TTagsHandler::GetString(uint16_t tag) const {
    const TIFFTag* t = Find(tag);
    if (!t || t->DataNum > kMaxTiffTextCount) return {};
    if (t->DataNum <= 4) return GetMiniString(tag);
    std::string text(t->DataNum, '\0');
    ReadBlock(data_.Bytes(), t->DataPos, text.data(), text.size());
    if (text.back() == '\0') text.pop_back();
    return text;
}

std::string TTagsHandler::GetMiniString(uint16_t tag) const {
    const TIFFTag* t = Find(tag);
    if (!t || t->DataNum == 0 || t->DataNum > 4) return {};
    std::string text(t->DataNum, '\0');
    for (uint32_t i = 0; i < t->DataNum; ++i) text[i] = static_cast<char>(t->DataPos >> (8 * i));
    return text;
}

std::vector<int32_t> TTagsHandler::GetIntegerArray(uint16_t tag) const {
    const TIFFTag* t = Find(tag);
    if (!t) return {};
    if (t->DataNum == 1) return {GetInteger(tag)};
    // Values beyond the end of the block would all read as 0: the array stops at the block's end.
    uint64_t count = t->DataNum;
    if (!IsInline(*t)) {
        const uint64_t size = DataSize() > 0 ? static_cast<uint64_t>(DataSize()) : 0;
        const uint64_t typeSize = TypeSize(t->DataType);
        const uint64_t held = t->DataPos < size ? (size - t->DataPos + typeSize - 1) / typeSize : 0;
        count = std::min(count, held);
    }
    std::vector<int32_t> values(static_cast<size_t>(count));
    for (size_t i = 0; i < values.size(); ++i) values[i] = GetIntegerIndexed(tag, static_cast<int>(i));
    return values;
}

std::vector<uint8_t> TTagsHandler::GetRawData(uint16_t tag) const {
    const TIFFTag* t = Find(tag);
    if (!t) return {};
    if (IsInline(*t)) {
        std::vector<uint8_t> bytes(t->DataNum);
        for (uint32_t i = 0; i < t->DataNum; ++i) bytes[i] = static_cast<uint8_t>(t->DataPos >> (8 * i));
        return bytes;
    }
    // Only what the block really holds is returned.
    const std::vector<uint8_t>& block = data_.Bytes();
    if (t->DataPos >= block.size()) return {};
    const size_t n = static_cast<size_t>(std::min<uint64_t>(t->DataNum, block.size() - t->DataPos));
    return std::vector<uint8_t>(block.begin() + t->DataPos, block.begin() + t->DataPos + n);
}

}  // namespace velmora
