#include "params/x3f_header.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "params/byte_order.h"
#include "params/code_page.h"

namespace velmora {

namespace {

// Header: signature, version, 16-byte identifier, mark bits, columns, rows.
constexpr size_t kHeaderSize = 36;
constexpr size_t kColumnsAt = 28;
constexpr size_t kRowsAt = 32;
constexpr size_t kDirectoryHeader = 12;  // "SECd", version, entry count
constexpr size_t kDirectoryEntry = 12;   // offset, length, type
constexpr size_t kPropertyHeader = 24;   // "SECp", version, count, format, reserved, length
constexpr uint32_t kMaxDirectoryEntries = 256;
constexpr uint32_t kMaxPropertySection = 1u << 20;

std::vector<uint8_t> ReadAt(TStream& stream, int64_t position, size_t count) {
    stream.Seek(position);
    return stream.ReadBytes(count);
}

// The zero-ended UTF-16 text at character index within the character area.
std::u16string WideAt(const uint8_t* chars, size_t charCount, uint32_t index) {
    std::u16string text;
    for (size_t i = index; i < charCount; ++i) {
        const char16_t c = char16_t(chars[2 * i] | chars[2 * i + 1] << 8);
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

void ReadProperties(const std::vector<uint8_t>& section, X3FInfo& info) {
    if (section.size() < kPropertyHeader || std::memcmp(section.data(), "SECp", 4) != 0) return;
    // Only the UTF-16 form (format 0) is known.
    if (Le32(section.data() + 12) != 0) return;
    const uint64_t count = Le32(section.data() + 8);
    const size_t room = section.size() - kPropertyHeader;
    if (count > room / 8) return;
    const uint8_t* entries = section.data() + kPropertyHeader;
    const uint8_t* chars = entries + count * 8;
    const size_t charCount = std::min<size_t>((room - count * 8) / 2, Le32(section.data() + 20));
    for (uint64_t k = 0; k < count; ++k) {
        const std::u16string name = WideAt(chars, charCount, Le32(entries + 8 * k));
        if (name != u"CAMMANUF" && name != u"CAMMODEL") continue;
        const std::string value = WideToCodePage(WideAt(chars, charCount, Le32(entries + 8 * k + 4)));
        (name == u"CAMMANUF" ? info.make : info.model) = value;
    }
}

}  // namespace

bool ReadX3FInfo(TStream& stream, X3FInfo& info) {
    StreamPositionGuard guard(stream);
    const int64_t base = stream.Position();
    const std::vector<uint8_t> header = stream.ReadBytes(kHeaderSize);
    if (header.size() < 4 || std::memcmp(header.data(), "FOVb", 4) != 0) return false;
    if (header.size() == kHeaderSize) {
        info.width = int32_t(std::min<uint32_t>(Le32(header.data() + kColumnsAt), INT32_MAX));
        info.height = int32_t(std::min<uint32_t>(Le32(header.data() + kRowsAt), INT32_MAX));
    }

    // The last 4 bytes give the position of the section directory.
    const int64_t size = stream.Size() - base;
    if (size < int64_t(kHeaderSize + 4)) return true;
    const std::vector<uint8_t> tail = ReadAt(stream, base + size - 4, 4);
    if (tail.size() < 4) return true;
    const uint32_t directory = Le32(tail.data());
    if (directory > size - 4 || size - 4 - directory < int64_t(kDirectoryHeader)) return true;
    const std::vector<uint8_t> head = ReadAt(stream, base + directory, kDirectoryHeader);
    if (head.size() < kDirectoryHeader || std::memcmp(head.data(), "SECd", 4) != 0) return true;
    const uint32_t room = uint32_t((size - 4 - directory - kDirectoryHeader) / kDirectoryEntry);
    const uint32_t count = std::min({Le32(head.data() + 8), kMaxDirectoryEntries, room});
    const std::vector<uint8_t> entries = ReadAt(stream, base + directory + kDirectoryHeader, count * kDirectoryEntry);

    for (size_t k = 0; k + kDirectoryEntry <= entries.size(); k += kDirectoryEntry) {
        const uint8_t* entry = entries.data() + k;
        if (std::memcmp(entry + 8, "PROP", 4) != 0) continue;
        const uint32_t offset = Le32(entry);
        const uint32_t length = std::min(Le32(entry + 4), kMaxPropertySection);
        if (offset > size || length > size - offset) continue;
        ReadProperties(ReadAt(stream, base + offset, length), info);
        if (!info.make.empty() || !info.model.empty()) break;
    }
    return true;
}

}  // namespace velmora
