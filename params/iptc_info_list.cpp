#include "params/iptc_info_list.h"

namespace velmora {

int TIPTCInfoList::GetCount() const { return static_cast<int>(entries_.size()); }

int TIPTCInfoList::GetRecordNumber(int index) const { return entries_[index].record; }

int TIPTCInfoList::GetDataSet(int index) const { return entries_[index].dataset; }

void TIPTCInfoList::SetRecordNumber(int index, int record) {
    entries_[index].record = record;
    EditedSinceLoad = true;
}

void TIPTCInfoList::SetDataSet(int index, int dataset) {
    entries_[index].dataset = dataset;
    EditedSinceLoad = true;
}

std::string TIPTCInfoList::GetStrings(int index) const {
    if (index < 0 || index >= GetCount()) return {};
    return entries_[index].data;
}

void TIPTCInfoList::SetStrings(int index, const std::string& value) {
    entries_[index].data = value;
    EditedSinceLoad = true;
}

int TIPTCInfoList::AddStringItem(int record, int dataset, const std::string& value) {
    entries_.push_back({record, dataset, value});
    EditedSinceLoad = true;
    return GetCount() - 1;
}

int TIPTCInfoList::AddBufferItem(int record, int dataset, const void* buffer, int length) {
    std::string data;
    if (buffer && length > 0) data.assign(static_cast<const char*>(buffer), static_cast<size_t>(length));
    return AddStringItem(record, dataset, data);
}

void TIPTCInfoList::InsertStringItem(int index, int record, int dataset, const std::string& value) {
    entries_.insert(entries_.begin() + index, Entry{record, dataset, value});
    EditedSinceLoad = true;
}

int TIPTCInfoList::IndexOf(int record, int dataset) const {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].record == record && entries_[i].dataset == dataset) return static_cast<int>(i);
    }
    return -1;
}

void TIPTCInfoList::DeleteItem(int index) {
    entries_.erase(entries_.begin() + index);
    EditedSinceLoad = true;
}

void TIPTCInfoList::Clear() {
    entries_.clear();
    EditedSinceLoad = true;
}

void TIPTCInfoList::Assign(const TIPTCInfoList* other) {
    if (!other) return;
    if (other != this) entries_ = other->entries_;
    EditedSinceLoad = true;
}

void TIPTCInfoList::SaveToStream(TStream& stream) const {
    stream.WriteI32(0, true);
    stream.WriteI32(GetCount(), true);
    for (const Entry& e : entries_) {
        stream.WriteI32(e.record, true);
        stream.WriteI32(e.dataset, true);
        stream.WriteI32(static_cast<int32_t>(e.data.size()), true);
        if (!e.data.empty()) stream.WriteBuffer(e.data.data(), e.data.size());
    }
}

void TIPTCInfoList::LoadFromStream(TStream& stream) {
    Clear();
    int32_t version, count;
    if (!stream.TryReadI32(version, true) || !stream.TryReadI32(count, true)) return;
    // Every entry takes at least 12 bytes, so a hostile count ends with the stream.
    for (int32_t i = 0; i < count; ++i) {
        int32_t record, dataset, length;
        if (!stream.TryReadI32(record, true) || !stream.TryReadI32(dataset, true) ||
            !stream.TryReadI32(length, true)) {
            return;
        }
        if (length < 0 || length > stream.Remaining()) return;
        std::string data(static_cast<size_t>(length), '\0');
        if (stream.Read(data.data(), data.size()) != data.size()) return;
        entries_.push_back({record, dataset, std::move(data)});
    }
}

}  // namespace velmora
