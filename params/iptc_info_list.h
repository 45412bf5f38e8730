// TIPTCInfoList: the IPTC datasets of an image, as (record, dataset, bytes) entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "params/stream.h"

namespace velmora {

class TIPTCInfoList {
public:
    // True while the list may differ from what was last decoded from a file.
    bool EditedSinceLoad = false;

    int GetCount() const;
    int GetRecordNumber(int index) const;
    int GetDataSet(int index) const;
    void SetRecordNumber(int index, int record);
    void SetDataSet(int index, int dataset);
    // The entry's bytes; empty for an index outside the list.
    std::string GetStrings(int index) const;
    void SetStrings(int index, const std::string& value);

    int AddStringItem(int record, int dataset, const std::string& value);
    int AddBufferItem(int record, int dataset, const void* buffer, int length);
    void InsertStringItem(int index, int record, int dataset, const std::string& value);
    int IndexOf(int record, int dataset) const;
    void DeleteItem(int index);
    void Clear();
    void Assign(const TIPTCInfoList* other);

    void SaveToStream(TStream& stream) const;
    void LoadFromStream(TStream& stream);

    // The IIM byte form; with the Photoshop wrapping for a JPEG APP13 segment.
    // An empty list gives an empty buffer.
    std::vector<uint8_t> SaveToStandardBuffer(bool photoshopWrapping) const;
    void LoadFromStandardBuffer(const void* buffer, size_t length);

private:
    struct Entry {
        int32_t record;
        int32_t dataset;
        std::string data;
    };
    std::vector<Entry> entries_;
};

}  // namespace velmora
