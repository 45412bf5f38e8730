// TMarkerList: the APP and COM segments of a JPEG file, in file order.
#pragma once

#include <cstdint>
#include <vector>

#include "params/stream.h"

namespace velmora {

class TMarkerList {
public:
    int GetCount() const;
    uint8_t GetMarkerType(int index) const;
    const uint8_t* GetMarkerData(int index) const;
    int GetMarkerLength(int index) const;
    // The entry's data as a readable stream positioned at its start.
    TMemoryStream GetMarkerStream(int index) const;
    int IndexOf(uint8_t markerType) const;

    int AddMarker(uint8_t markerType, const void* data, uint16_t length);
    void InsertMarker(int index, const void* data, uint8_t markerType, uint16_t length);
    void SetMarker(int index, uint8_t markerType, const void* data, uint16_t length);
    void DeleteMarker(int index);
    void Clear();
    void Assign(const TMarkerList* other);
    // Orders for writing: by marker type, then an EXIF block first among the APP1 entries.
    void Sort();

    void SaveToStream(TStream& stream) const;
    void LoadFromStream(TStream& stream);

private:
    std::vector<uint8_t> types_;
    std::vector<std::vector<uint8_t>> data_;
};

}  // namespace velmora
