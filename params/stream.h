// Byte streams that every reader works on: a read-only file and a growable memory buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora {

// Raised when a stream cannot be opened or a read that must be complete comes up short.
class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TStream {
public:
    virtual ~TStream() = default;

    virtual int64_t Size() const = 0;
    virtual int64_t Position() const = 0;
    // Positions beyond the end are allowed; reads there return nothing.
    virtual void Seek(int64_t position) = 0;
    // Reads up to count bytes; returns how many were read (fewer at the end of the data).
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Appends or overwrites at the position; read-only streams throw StreamError.
    virtual size_t Write(const void* buffer, size_t count);

    // Reads exactly count bytes or throws StreamError.
    void ReadBuffer(void* buffer, size_t count);
    void WriteBuffer(const void* buffer, size_t count);

    int64_t Remaining() const;
    // Reads at most limit bytes from the position into a vector (never more than remain).
    std::vector<uint8_t> ReadBytes(size_t limit);

    // Fixed-width integers in the given byte order; each throws StreamError on a short read.
    uint8_t ReadU8();
    uint16_t ReadU16(bool littleEndian);
    uint32_t ReadU32(bool littleEndian);
    uint64_t ReadU64(bool littleEndian);
    // Reads a signed 32-bit number; false (and nothing assigned) when the stream ends first.
    bool TryReadI32(int32_t& value, bool littleEndian);
    void WriteI32(int32_t value, bool littleEndian);
};

// A file opened for reading; other programs may read it but the intent is not to write it.
class TFileStream : public TStream {
public:
    explicit TFileStream(const std::string& path);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Size() const override;
    int64_t Position() const override;
    void Seek(int64_t position) override;
    size_t Read(void* buffer, size_t count) override;

private:
    std::FILE* file_ = nullptr;
    int64_t size_ = 0;
    int64_t position_ = 0;
};

// An owned, growable byte buffer with a position.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> data);
    TMemoryStream(const void* data, size_t count);

    int64_t Size() const override;
    int64_t Position() const override;
    void Seek(int64_t position) override;
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;

    const std::vector<uint8_t>& Bytes() const { return data_; }
    std::vector<uint8_t>& Bytes() { return data_; }
    void Clear();

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

// Restores a stream's position when it leaves scope.
class StreamPositionGuard {
public:
    explicit StreamPositionGuard(TStream& stream) : stream_(stream), saved_(stream.Position()) {}
    ~StreamPositionGuard() { stream_.Seek(saved_); }
    StreamPositionGuard(const StreamPositionGuard&) = delete;
    StreamPositionGuard& operator=(const StreamPositionGuard&) = delete;

private:
    TStream& stream_;
    int64_t saved_;
};

}  // namespace velmora
