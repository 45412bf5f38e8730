// Big-endian byte fixtures (PNG, JPEG 2000, PSD) built in code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

// Appends big-endian values, texts and fills.
class BeBytes {
public:
    BeBytes& U8(uint8_t v) {
        data_.push_back(v);
        return *this;
    }
    BeBytes& U16(uint16_t v) { return U8(uint8_t(v >> 8)).U8(uint8_t(v)); }
    BeBytes& U32(uint32_t v) { return U16(uint16_t(v >> 16)).U16(uint16_t(v)); }
    BeBytes& U64(uint64_t v) { return U32(uint32_t(v >> 32)).U32(uint32_t(v)); }
    BeBytes& Text(const std::string& s) {
        data_.insert(data_.end(), s.begin(), s.end());
        return *this;
    }
    BeBytes& Fill(size_t count, uint8_t v = 0) {
        data_.insert(data_.end(), count, v);
        return *this;
    }
    BeBytes& Bytes(const std::vector<uint8_t>& bytes) {
        data_.insert(data_.end(), bytes.begin(), bytes.end());
        return *this;
    }

    size_t Size() const { return data_.size(); }
    const std::vector<uint8_t>& Data() const { return data_; }
    operator const std::vector<uint8_t>&() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

}  // namespace velmora::test
