// Little-endian byte fixtures for the header readers, and a way to run one reader on them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora::test {

// Appends little-endian values, texts and fills; Patch* rewrite bytes already written.
class LeBytes {
public:
    LeBytes& U8(uint8_t v) {
        data_.push_back(v);
        return *this;
    }
    LeBytes& U16(uint16_t v) { return U8(uint8_t(v)).U8(uint8_t(v >> 8)); }
    LeBytes& U32(uint32_t v) { return U16(uint16_t(v)).U16(uint16_t(v >> 16)); }
    LeBytes& Text(const std::string& s) {
        data_.insert(data_.end(), s.begin(), s.end());
        return *this;
    }
    LeBytes& Fill(size_t count, uint8_t v = 0) {
        data_.insert(data_.end(), count, v);
        return *this;
    }
    // Zero bytes up to the given size (nothing when already that long).
    LeBytes& PadTo(size_t size) {
        if (data_.size() < size) data_.resize(size, 0);
        return *this;
    }
    LeBytes& Bytes(const std::vector<uint8_t>& bytes) {
        data_.insert(data_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    void PatchU16(size_t at, uint16_t v) {
        data_.at(at) = uint8_t(v);
        data_.at(at + 1) = uint8_t(v >> 8);
    }
    void PatchU32(size_t at, uint32_t v) {
        PatchU16(at, uint16_t(v));
        PatchU16(at + 2, uint16_t(v >> 16));
    }

    size_t Size() const { return data_.size(); }
    const std::vector<uint8_t>& Data() const { return data_; }
    operator const std::vector<uint8_t>&() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

using HeaderReader = void (*)(TStream&, TImageBitmap*, TIOParamsVals&, TProgressRec&, bool);

// Runs a reader in parameters-only mode over bytes; true when it did not set the abort flag.
inline bool ReadHeader(HeaderReader reader, const std::vector<uint8_t>& bytes, TIOParamsVals& params) {
    TMemoryStream stream(bytes);
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    reader(stream, nullptr, params, progress, true);
    return !aborting;
}

}  // namespace velmora::test
