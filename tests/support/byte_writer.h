// Byte fixtures built in code: integers in either byte order, texts and fills.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

inline void AppendU16(std::vector<uint8_t>& out, uint16_t v, bool littleEndian) {
    out.push_back(littleEndian ? uint8_t(v) : uint8_t(v >> 8));
    out.push_back(littleEndian ? uint8_t(v >> 8) : uint8_t(v));
}

inline void AppendU32(std::vector<uint8_t>& out, uint32_t v, bool littleEndian) {
    AppendU16(out, uint16_t(littleEndian ? v : v >> 16), littleEndian);
    AppendU16(out, uint16_t(littleEndian ? v >> 16 : v), littleEndian);
}

// Overwrite bytes already written at `at`.
inline void PatchU16(std::vector<uint8_t>& out, size_t at, uint16_t v, bool littleEndian) {
    out.at(at) = littleEndian ? uint8_t(v) : uint8_t(v >> 8);
    out.at(at + 1) = littleEndian ? uint8_t(v >> 8) : uint8_t(v);
}

inline void PatchU32(std::vector<uint8_t>& out, size_t at, uint32_t v, bool littleEndian) {
    PatchU16(out, at, uint16_t(littleEndian ? v : v >> 16), littleEndian);
    PatchU16(out, at + 2, uint16_t(littleEndian ? v >> 16 : v), littleEndian);
}

// Appends values in one byte order, texts and fills; Patch* rewrite bytes already written.
template <bool kLittleEndian>
class ByteWriter {
public:
    ByteWriter& U8(uint8_t v) {
        data_.push_back(v);
        return *this;
    }
    ByteWriter& U16(uint16_t v) {
        AppendU16(data_, v, kLittleEndian);
        return *this;
    }
    ByteWriter& U32(uint32_t v) {
        AppendU32(data_, v, kLittleEndian);
        return *this;
    }
    ByteWriter& U64(uint64_t v) {
        return kLittleEndian ? U32(uint32_t(v)).U32(uint32_t(v >> 32)) : U32(uint32_t(v >> 32)).U32(uint32_t(v));
    }
    ByteWriter& Text(const std::string& s) {
        data_.insert(data_.end(), s.begin(), s.end());
        return *this;
    }
    // UTF-16 code units followed by a zero unit.
    ByteWriter& Wide(const std::u16string& s) {
        for (char16_t c : s) U16(c);
        return U16(0);
    }
    ByteWriter& Fill(size_t count, uint8_t v = 0) {
        data_.insert(data_.end(), count, v);
        return *this;
    }
    // Zero bytes up to the given size (nothing when already that long).
    ByteWriter& PadTo(size_t size) {
        if (data_.size() < size) data_.resize(size, 0);
        return *this;
    }
    ByteWriter& Bytes(const std::vector<uint8_t>& bytes) {
        data_.insert(data_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    void PatchU16(size_t at, uint16_t v) { test::PatchU16(data_, at, v, kLittleEndian); }
    void PatchU32(size_t at, uint32_t v) { test::PatchU32(data_, at, v, kLittleEndian); }

    size_t Size() const { return data_.size(); }
    const std::vector<uint8_t>& Data() const { return data_; }
    operator const std::vector<uint8_t>&() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

using LeBytes = ByteWriter<true>;
using BeBytes = ByteWriter<false>;

}  // namespace velmora::test
