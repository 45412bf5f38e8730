// TTagsHandler: the normalised maker-note block and the tag table read from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "params/stream.h"
#include "params/tiff_env.h"

namespace velmora {

class TTagsHandler {
public:
    TTagsHandler();

    // The block: entry count, 12-byte entries and out-of-line data, all little-endian.
    TMemoryStream& Data() { return data_; }
    const TMemoryStream& Data() const { return data_; }
    int64_t DataSize() const { return data_.Size(); }
    void ClearData() { data_.Clear(); }
    void SetData(const std::vector<uint8_t>& bytes);

    // Re-reads the tag table from the block; an empty block keeps the previous table.
    void Update();

    bool TagExists(uint16_t tag) const;
    uint32_t TagLength(uint16_t tag) const;
    int32_t GetInteger(uint16_t tag) const;
    int32_t GetIntegerIndexed(uint16_t tag, int index) const;
    double GetRational(uint16_t tag) const;
    double GetRationalIndexed(uint16_t tag, int index) const;
    std::string GetString(uint16_t tag) const;
    std::string GetMiniString(uint16_t tag) const;
    std::vector<int32_t> GetIntegerArray(uint16_t tag) const;
    // count bytes at the entry's offset; empty when the tag is absent.
    std::vector<uint8_t> GetRawData(uint16_t tag) const;

    const std::vector<TIFFTag>& Tags() const { return tags_; }

private:
    const TIFFTag* Find(uint16_t tag) const;

    TMemoryStream data_;
    std::vector<TIFFTag> tags_;
};

}  // namespace velmora
