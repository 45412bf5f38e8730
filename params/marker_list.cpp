#include "params/marker_list.h"

#include <algorithm>
#include <numeric>

#include "params/exif_block.h"

namespace velmora {

namespace {

constexpr uint8_t kApp1 = 0xE1;
// A segment payload can never exceed what a 16-bit length word allows.
constexpr int64_t kMaxPayload = 0xFFFF;

std::vector<uint8_t> CopyBytes(const void* data, uint16_t length) {
    if (!data || length == 0) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + length);
}

}  // namespace

int TMarkerList::GetCount() const { return static_cast<int>(types_.size()); }

uint8_t TMarkerList::GetMarkerType(int index) const { return types_[index]; }

const uint8_t* TMarkerList::GetMarkerData(int index) const { return data_[index].data(); }

int TMarkerList::GetMarkerLength(int index) const { return static_cast<int>(data_[index].size()); }

TMemoryStream TMarkerList::GetMarkerStream(int index) const { return TMemoryStream(data_[index]); }

int TMarkerList::IndexOf(uint8_t markerType) const {
    const auto it = std::find(types_.begin(), types_.end(), markerType);
    return it == types_.end() ? -1 : static_cast<int>(it - types_.begin());
}

int TMarkerList::AddMarker(uint8_t markerType, const void* data, uint16_t length) {
    types_.push_back(markerType);
    data_.push_back(CopyBytes(data, length));
    return GetCount() - 1;
}

void TMarkerList::InsertMarker(int index, const void* data, uint8_t markerType, uint16_t length) {
    types_.insert(types_.begin() + index, markerType);
    data_.insert(data_.begin() + index, CopyBytes(data, length));
}

void TMarkerList::SetMarker(int index, uint8_t markerType, const void* data, uint16_t length) {
    types_[index] = markerType;
    data_[index] = CopyBytes(data, length);
}

void TMarkerList::DeleteMarker(int index) {
    types_.erase(types_.begin() + index);
    data_.erase(data_.begin() + index);
}

void TMarkerList::Clear() {
    types_.clear();
    data_.clear();
}

void TMarkerList::Assign(const TMarkerList* other) {
    if (!other || other == this) return;
    types_ = other->types_;
    data_ = other->data_;
}

void TMarkerList::Sort() {
    // Stable, so segments of one type keep their file order (XMP and extended XMP, ICC chunks).
    std::vector<size_t> order(types_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t a, size_t b) { return types_[a] < types_[b]; });
    std::vector<uint8_t> types;
    std::vector<std::vector<uint8_t>> data;
    types.reserve(order.size());
    data.reserve(order.size());
    for (size_t i : order) {
        types.push_back(types_[i]);
        data.push_back(std::move(data_[i]));
    }
    types_ = std::move(types);
    data_ = std::move(data);

    // The EXIF block must be the first APP1 segment.
    const int first = IndexOf(kApp1);
    if (first < 0) return;
    for (size_t i = static_cast<size_t>(first) + 1; i < types_.size() && types_[i] == kApp1; ++i) {
        if (CheckEXIFFromStandardBuffer(data_[i].data(), data_[i].size())) {
            std::swap(data_[i], data_[first]);
        }
    }
}

void TMarkerList::SaveToStream(TStream& stream) const {
    const uint8_t version = 0;
    stream.WriteBuffer(&version, 1);
    stream.WriteI32(GetCount(), true);
    for (size_t i = 0; i < types_.size(); ++i) {
        stream.WriteBuffer(&types_[i], 1);
        stream.WriteI32(static_cast<int32_t>(data_[i].size()), true);
        if (!data_[i].empty()) stream.WriteBuffer(data_[i].data(), data_[i].size());
    }
}

void TMarkerList::LoadFromStream(TStream& stream) {
    Clear();
    uint8_t version;
    if (stream.Read(&version, 1) != 1) return;
    int32_t count;
    if (!stream.TryReadI32(count, true) || count < 0) return;
    // Each entry takes at least 5 bytes, so the stream's size bounds the loop as well.
    for (int32_t i = 0; i < count; ++i) {
        uint8_t type;
        int32_t length;
        if (stream.Read(&type, 1) != 1 || !stream.TryReadI32(length, true)) return;
        if (length < 0 || length > kMaxPayload || length > stream.Remaining()) return;
        std::vector<uint8_t> bytes(static_cast<size_t>(length));
        if (stream.Read(bytes.data(), bytes.size()) != bytes.size()) return;
        types_.push_back(type);
        data_.push_back(std::move(bytes));
    }
}

}  // namespace velmora
