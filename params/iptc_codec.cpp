// IPTC IIM datasets from and to the byte form carried in JPEG APP13 segments and TIFF files.
#include <cstring>
#include <limits>

#include "params/byte_order.h"
#include "params/iptc_info_list.h"

namespace velmora {

namespace {

constexpr uint8_t kTagMarker = 0x1C;
constexpr size_t kMaxStandardLength = 32767;
constexpr size_t kPhotoshopHeaderSize = 26;
constexpr size_t kSizeFieldOffset = 22;

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value >> 24));
    out.push_back(uint8_t(value >> 16));
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

}  // namespace

std::vector<uint8_t> TIPTCInfoList::SaveToStandardBuffer(bool photoshopWrapping) const {
    std::vector<uint8_t> out;
    if (entries_.empty()) return out;

    if (photoshopWrapping) {
        static const char kHeader[] = "Photoshop 3.0\0" "8BIM\x04\x04\0\0";
        out.assign(kHeader, kHeader + kSizeFieldOffset);
        out.resize(kPhotoshopHeaderSize, 0);
    } else {
        // Record version dataset 2:0 with the value 2.
        out = {kTagMarker, 0x02, 0x00, 0x00, 0x02, 0x00, 0x02};
    }

    uint32_t resourceSize = 0;
    for (const Entry& e : entries_) {
        const size_t length = e.data.size();
        if ((e.record == 2 && e.dataset == 0) || length == 0) continue;
        if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max())) continue;
        out.push_back(kTagMarker);
        out.push_back(static_cast<uint8_t>(e.record));
        out.push_back(static_cast<uint8_t>(e.dataset));
        if (length <= kMaxStandardLength) {
            out.push_back(uint8_t(length >> 8));
            out.push_back(uint8_t(length));
            resourceSize += static_cast<uint32_t>(5 + length);
        } else {
            // Extended dataset: high bit set and the count of length bytes that follow.
            out.push_back(0x80);
            out.push_back(0x04);
            PutBigEndian32(out, static_cast<uint32_t>(length));
            resourceSize += static_cast<uint32_t>(9 + length);
        }
        out.insert(out.end(), e.data.begin(), e.data.end());
    }

    if (out.size() % 2 != 0) out.push_back(0);
    if (photoshopWrapping) {
        StoreU32(out.data() + kSizeFieldOffset, resourceSize, false);
    }
    return out;
}

void TIPTCInfoList::LoadFromStandardBuffer(const void* buffer, size_t length) {
    Clear();
    if (!buffer || length == 0) return;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const size_t n = length;

    // Anything before the first tag marker (Photoshop header, other resources) is skipped.
    const void* found = std::memchr(bytes, kTagMarker, n);
    size_t i = found ? static_cast<size_t>(static_cast<const uint8_t*>(found) - bytes) : n;
    while (i + 1 < n && bytes[i + 1] == kTagMarker) ++i;

    while (i < n) {
        if (bytes[i] != kTagMarker || n - i <= 5) break;
        const int record = bytes[i + 1];
        const int dataset = bytes[i + 2];
        size_t dataStart;
        uint64_t dataLength;
        if (bytes[i + 3] & 0x80) {
            if (n - i < 9) break;
            const auto raw = static_cast<int32_t>(Be32(bytes + i + 5));
            // A length that reads as negative counts by its magnitude; INT32_MIN stays 2^31.
            dataLength = raw < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(raw)) : static_cast<uint64_t>(raw);
            dataStart = i + 9;
        } else {
            dataLength = uint64_t(bytes[i + 3]) << 8 | bytes[i + 4];
            dataStart = i + 5;
        }
        if (dataLength > n - dataStart) break;
        entries_.push_back({record, dataset,
                            std::string(reinterpret_cast<const char*>(bytes + dataStart),
                                        static_cast<size_t>(dataLength))});
        i = dataStart + static_cast<size_t>(dataLength);
    }
    EditedSinceLoad = false;
}

}  // namespace velmora
