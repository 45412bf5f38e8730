#include "params/tiff_env.h"

#include <algorithm>
#include <unordered_set>

#include "params/byte_order.h"

namespace velmora {

namespace {

constexpr int64_t kEntrySize = 12;

const TIFFTag* FindEntry(const TTIFFEnv& env, uint16_t tag) {
    const int i = TIFFFindTAG(tag, env);
    return i < 0 ? nullptr : &env.IFD[size_t(i)];
}

// Bytes available at base + offset, or -1 when that position is outside the stream.
int64_t AvailableAt(const TTIFFEnv& env, int64_t offset) {
    if (!env.Stream) return -1;
    const int64_t size = env.Stream->Size();
    const int64_t pos = env.StreamBase + offset;
    if (pos < 0 || pos > size) return -1;
    return size - pos;
}

// Reads exactly n bytes at base + offset; false when they are not all there.
bool ReadExact(const TTIFFEnv& env, int64_t offset, void* buffer, size_t n) {
    const int64_t avail = AvailableAt(env, offset);
    if (avail < 0 || uint64_t(avail) < n) return false;
    env.Stream->Seek(env.StreamBase + offset);
    return env.Stream->Read(buffer, n) == n;
}

// The value field as it lies in the file (the table holds it converted to native order).
std::vector<uint8_t> ValueFieldBytes(const TTIFFEnv& env, const TIFFTag& e) {
    std::vector<uint8_t> b(4);
    for (int i = 0; i < 4; ++i) b[size_t(i)] = uint8_t(e.DataPos >> (env.Intel ? 8 * i : 8 * (3 - i)));
    return b;
}

// The n data bytes of an entry: inline when they fit in the value field, else at its offset.
// Out-of-line data is cut to what the stream holds; an offset outside the stream gives nothing.
std::vector<uint8_t> DataBytes(const TTIFFEnv& env, const TIFFTag& e, uint64_t n) {
    if (n == 0) return {};
    if (n <= 4) {
        auto b = ValueFieldBytes(env, e);
        b.resize(size_t(n));
        return b;
    }
    const int64_t avail = AvailableAt(env, e.DataPos);
    if (avail <= 0) return {};
    env.Stream->Seek(env.StreamBase + e.DataPos);
    return env.Stream->ReadBytes(size_t(std::min<uint64_t>(n, uint64_t(avail))));
}

uint16_t InlineShort(const TTIFFEnv& env, const TIFFTag& e, int which) {
    if (env.Intel) return which == 0 ? uint16_t(e.DataPos) : uint16_t(e.DataPos >> 16);
    return which == 0 ? uint16_t(e.DataPos >> 16) : uint16_t(e.DataPos);
}

double RationalAt(const TTIFFEnv& env, const TIFFTag& e, int index) {
    uint8_t b[8];
    if (!ReadExact(env, int64_t(e.DataPos) + 8 * int64_t(index), b, 8)) return 0.0;
    const auto num = int32_t(LoadU32(b, env.Intel));
    auto den = int32_t(LoadU32(b + 4, env.Intel));
    if (den == 0) den = 1;
    return double(num) / double(den);
}

}  // namespace

int TiffTypeSize(uint16_t type) {
    static constexpr int kSizes[13] = {1, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < 13 ? kSizes[type] : 0;
}

bool TIFFReadIFD(int index, int64_t offset, TTIFFEnv& env, int& imageCount) {
    imageCount = 0;
    env.IFD.clear();
    env.NumTags = 0;
    if (!env.Stream) return false;

    TStream& s = *env.Stream;
    const int64_t size = s.Size();
    const int64_t base = env.StreamBase;
    std::vector<uint8_t> table;
    bool found = false;
    std::unordered_set<int64_t> visited;

    int64_t current = offset;
    while (current != 0 && imageCount < kMaxDirectoryChain) {
        const int64_t pos = base + current;
        if (current < 0 || pos < 0 || pos >= size || size - pos < 2) break;
        uint8_t countBytes[2];
        s.Seek(pos);
        if (s.Read(countBytes, 2) != 2) break;
        const uint16_t count = LoadU16(countBytes, env.Intel);
        if (count == 0) break;

        // A table that runs past the end of the data ends the walk.
        const int64_t tableBytes = count * kEntrySize;
        const int64_t tableStart = pos + 2;
        if (size - tableStart < tableBytes) break;
        if (imageCount == index) {
            table.resize(size_t(tableBytes));
            if (s.Read(table.data(), table.size()) != table.size()) break;
            found = true;
        }

        // No room for the next-directory offset: the walk ends without counting this directory.
        const int64_t nextPos = tableStart + tableBytes;
        if (size - nextPos < 4) break;
        uint8_t nextBytes[4];
        s.Seek(nextPos);
        if (s.Read(nextBytes, 4) != 4) break;
        const auto next = int64_t(int32_t(LoadU32(nextBytes, env.Intel)));

        visited.insert(current);
        ++imageCount;
        // Offsets are relative to the base; one that points into the header, outside the data,
        // or to a directory already visited (a self-link or a longer cycle) ends the chain.
        if (next < 8 || next >= size - base || visited.count(next)) break;
        current = next;
    }

    if (!found) return false;
    const size_t n = table.size() / size_t(kEntrySize);
    env.IFD.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = table.data() + i * size_t(kEntrySize);
        env.IFD[i].IdTag = LoadU16(p, env.Intel);
        env.IFD[i].DataType = LoadU16(p + 2, env.Intel);
        env.IFD[i].DataNum = LoadU32(p + 4, env.Intel);
        env.IFD[i].DataPos = LoadU32(p + 8, env.Intel);
    }
    env.NumTags = uint16_t(n);
    return true;
}

int TIFFFindTAG(uint16_t tag, const TTIFFEnv& env) {
    const size_t n = std::min<size_t>(env.NumTags, env.IFD.size());
    for (size_t i = 0; i < n; ++i) {
        if (env.IFD[i].IdTag == tag) return int(i);
    }
    return -1;
}

int64_t TIFFReadSingleValDef(TTIFFEnv& env, uint16_t tag, int64_t fallback) {
    const TIFFTag* e = FindEntry(env, tag);
    if (!e) return fallback;
    if (e->DataType == kTiffShort) return InlineShort(env, *e, 0);
    return e->DataPos;
}

double TIFFReadSingleRational(TTIFFEnv& env, uint16_t tag) {
    return TIFFReadRationalIndex(env, tag, 0);
}

double TIFFReadRationalIndex(TTIFFEnv& env, uint16_t tag, int index) {
    const TIFFTag* e = FindEntry(env, tag);
    if (!e || index < 0 || uint32_t(index) >= e->DataNum) return 0.0;
    return RationalAt(env, *e, index);
}

int64_t TIFFReadIndexValN(TTIFFEnv& env, uint16_t tag, int index) {
    const TIFFTag* e = FindEntry(env, tag);
    if (!e || index < 0) return 0;
    if (e->DataType == kTiffLong) {
        if (uint32_t(index) >= e->DataNum) return 0;
        if (e->DataNum == 1) return e->DataPos;
        uint8_t b[4];
        return ReadExact(env, int64_t(e->DataPos) + 4 * int64_t(index), b, 4) ? LoadU32(b, env.Intel) : 0;
    }
    if (e->DataType == kTiffShort) {
        // A single SHORT answers every index, as cameras often give one value for a pair.
        if (e->DataNum == 1) return InlineShort(env, *e, 0);
        if (uint32_t(index) >= e->DataNum) return 0;
        if (e->DataNum == 2) return InlineShort(env, *e, index);
        uint8_t b[2];
        return ReadExact(env, int64_t(e->DataPos) + 2 * int64_t(index), b, 2) ? LoadU16(b, env.Intel) : 0;
    }
    return 0;
}

std::vector<int32_t> TIFFReadArrayIntegers(TTIFFEnv& env, uint16_t tag) {
    const TIFFTag* e = FindEntry(env, tag);
    if (!e || e->DataNum == 0) return {};
    if (e->DataNum == 1) return {int32_t(TIFFReadSingleValDef(env, tag, 0))};

    const int size = TiffTypeSize(e->DataType);
    if (size == 0) return {};
    const uint64_t total = uint64_t(e->DataNum) * uint64_t(size);
    const std::vector<uint8_t> data = DataBytes(env, *e, total);
    const size_t n = data.size() / size_t(size);
    std::vector<int32_t> values(n, 0);
    if (e->DataType == kTiffShort) {
        for (size_t i = 0; i < n; ++i) values[i] = LoadU16(data.data() + 2 * i, env.Intel);
    } else if (e->DataType == kTiffLong) {
        for (size_t i = 0; i < n; ++i) values[i] = int32_t(LoadU32(data.data() + 4 * i, env.Intel));
    }
    return values;
}

std::vector<uint8_t> TIFFReadRawData(TTIFFEnv& env, uint16_t tag) {
    const TIFFTag* e = FindEntry(env, tag);
    if (!e) return {};
    return DataBytes(env, *e, uint64_t(e->DataNum) * uint64_t(TiffTypeSize(e->DataType)));
}

std::string TIFFReadString(TTIFFEnv& env, uint16_t tag) {
    const TIFFTag* e = FindEntry(env, tag);
    if (!e || e->DataNum == 0 || e->DataNum > kMaxTiffTextCount) return {};
    if (e->DataNum <= 4) return TIFFReadMiniString(env, tag);
    const std::vector<uint8_t> bytes = DataBytes(env, *e, e->DataNum);
    std::string text(bytes.begin(), bytes.end());
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

std::string TIFFReadMiniString(TTIFFEnv& env, uint16_t tag) {
    const TIFFTag* e = FindEntry(env, tag);
    if (!e || e->DataNum == 0 || e->DataNum > kMaxTiffTextCount) return {};
    // Up to 4 bytes: the value field itself, zero bytes kept; longer: the bytes at the offset.
    const std::vector<uint8_t> bytes = DataBytes(env, *e, e->DataNum);
    return std::string(bytes.begin(), bytes.end());
}

std::u16string TIFFReadWideString(TTIFFEnv& env, uint16_t tag) {
    const TIFFTag* e = FindEntry(env, tag);
    if (!e || e->DataNum == 0 || e->DataNum > kMaxTiffTextCount) return {};
    const std::vector<uint8_t> bytes = DataBytes(env, *e, e->DataNum);
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) text.push_back(char16_t(bytes[i] | (bytes[i + 1] << 8)));
    if (!text.empty() && text.back() == u'\0') text.pop_back();
    return text;
}

}  // namespace velmora
