#include "params/stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "params/byte_order.h"

namespace velmora {

size_t TStream::Write(const void*, size_t) {
    throw StreamError("Stream write error");
}

void TStream::ReadBuffer(void* buffer, size_t count) {
    if (Read(buffer, count) != count) throw StreamError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
    if (Write(buffer, count) != count) throw StreamError("Stream write error");
}

int64_t TStream::Remaining() const {
    const int64_t rest = Size() - Position();
    return rest > 0 ? rest : 0;
}

std::vector<uint8_t> TStream::ReadBytes(size_t limit) {
    const auto rest = static_cast<uint64_t>(Remaining());
    std::vector<uint8_t> bytes(static_cast<size_t>(std::min<uint64_t>(rest, limit)));
    bytes.resize(Read(bytes.data(), bytes.size()));
    return bytes;
}

uint8_t TStream::ReadU8() {
    uint8_t v;
    ReadBuffer(&v, 1);
    return v;
}

uint16_t TStream::ReadU16(bool littleEndian) {
    uint8_t b[2];
    ReadBuffer(b, 2);
    return LoadU16(b, littleEndian);
}

uint32_t TStream::ReadU32(bool littleEndian) {
    uint8_t b[4];
    ReadBuffer(b, 4);
    return LoadU32(b, littleEndian);
}

uint64_t TStream::ReadU64(bool littleEndian) {
    const uint64_t first = ReadU32(littleEndian);
    const uint64_t second = ReadU32(littleEndian);
    return littleEndian ? (first | second << 32) : (first << 32 | second);
}

bool TStream::TryReadI32(int32_t& value, bool littleEndian) {
    uint8_t b[4];
    if (Read(b, 4) != 4) return false;
    value = static_cast<int32_t>(LoadU32(b, littleEndian));
    return true;
}

void TStream::WriteI32(int32_t value, bool littleEndian) {
    uint8_t b[4];
    StoreU32(b, static_cast<uint32_t>(value), littleEndian);
    WriteBuffer(b, 4);
}

TFileStream::TFileStream(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        throw StreamError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    }
    if (fseeko(file_, 0, SEEK_END) != 0) {
        std::fclose(file_);
        throw StreamError("Cannot open file \"" + path + "\". Not a seekable file");
    }
    size_ = ftello(file_);
    fseeko(file_, 0, SEEK_SET);
}

TFileStream::~TFileStream() {
    if (file_) std::fclose(file_);
}

int64_t TFileStream::Size() const { return size_; }
int64_t TFileStream::Position() const { return position_; }

void TFileStream::Seek(int64_t position) {
    position_ = std::max<int64_t>(0, position);
}

size_t TFileStream::Read(void* buffer, size_t count) {
    if (count == 0 || position_ >= size_) return 0;
    if (ftello(file_) != position_ && fseeko(file_, position_, SEEK_SET) != 0) return 0;
    const size_t got = std::fread(buffer, 1, count, file_);
    position_ += static_cast<int64_t>(got);
    return got;
}

TMemoryStream::TMemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}

TMemoryStream::TMemoryStream(const void* data, size_t count)
    : data_(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + count) {}

int64_t TMemoryStream::Size() const { return static_cast<int64_t>(data_.size()); }
int64_t TMemoryStream::Position() const { return position_; }

void TMemoryStream::Seek(int64_t position) {
    position_ = std::max<int64_t>(0, position);
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
    if (position_ >= Size()) return 0;
    const size_t n = std::min<size_t>(count, static_cast<size_t>(Size() - position_));
    if (n) std::memcpy(buffer, data_.data() + position_, n);
    position_ += static_cast<int64_t>(n);
    return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
    const auto end = static_cast<size_t>(position_) + count;
    if (end > data_.size()) data_.resize(end);
    if (count) std::memcpy(data_.data() + position_, buffer, count);
    position_ = static_cast<int64_t>(end);
    return count;
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

}  // namespace velmora
