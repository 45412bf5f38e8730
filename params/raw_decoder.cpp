#include "params/raw_decoder.h"

#include <libraw/libraw.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "params/x3f_header.h"

namespace velmora {

namespace {

// LibRaw reads through this view of a TStream, so only the bytes it asks for are read and a
// large file is never copied into memory. Offsets are relative to the stream's position when
// the view was made. Stream failures read as the end of the data.
class StreamRawSource : public LibRaw_abstract_datastream {
public:
    explicit StreamRawSource(TStream& stream) : stream_(stream), base_(stream.Position()) {
        size_ = std::max<int64_t>(stream.Size() - base_, 0);
    }

    int valid() override { return 1; }

    int read(void* buffer, size_t size, size_t count) override {
        if (size == 0 || count == 0) return 0;
        if (count > SIZE_MAX / size) count = SIZE_MAX / size;
        const size_t got = Read(buffer, size * count);
        return int(std::min<size_t>(got / size, INT32_MAX));
    }

    int seek(INT64 offset, int whence) override {
        int64_t target = offset;
        if (whence == SEEK_CUR) target = position_ + offset;
        else if (whence == SEEK_END) target = size_ + offset;
        else if (whence != SEEK_SET) return -1;
        position_ = std::clamp<int64_t>(target, 0, size_);
        return 0;
    }

    INT64 tell() override { return position_; }
    INT64 size() override { return size_; }
    int eof() override { return position_ >= size_; }

    int get_char() override {
        uint8_t c = 0;
        return Read(&c, 1) == 1 ? c : -1;
    }

    // One line, as fgets reads it.
    char* gets(char* text, int capacity) override {
        if (capacity <= 0) return nullptr;
        const int64_t start = position_;
        const size_t got = Read(text, size_t(capacity - 1));
        if (got == 0) return nullptr;
        const void* newline = std::memchr(text, '\n', got);
        const size_t used = newline ? size_t(static_cast<char*>(const_cast<void*>(newline)) - text) + 1 : got;
        text[used] = '\0';
        position_ = start + int64_t(used);
        return text;
    }

    // One number as fscanf reads it with a single conversion ("%d" or "%f").
    int scanf_one(const char* format, void* value) override {
        char token[32] = {};
        int c = get_char();
        while (c == ' ' || c == '\t' || c == '\n' || c == '\r') c = get_char();
        if (c < 0) return -1;
        size_t n = 0;
        while (c >= 0 && n + 1 < sizeof token && c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            token[n++] = char(c);
            c = get_char();
        }
        if (c >= 0) --position_;
        if (std::strcmp(format, "%d") == 0) return std::sscanf(token, "%d", static_cast<int*>(value));
        if (std::strcmp(format, "%f") == 0) return std::sscanf(token, "%f", static_cast<float*>(value));
        return 0;
    }

    void* make_jas_stream() override { return nullptr; }

private:
    size_t Read(void* buffer, size_t count) {
        if (position_ >= size_) return 0;
        count = size_t(std::min<int64_t>(int64_t(std::min<size_t>(count, INT64_MAX)), size_ - position_));
        size_t got = 0;
        try {
            stream_.Seek(base_ + position_);
            got = stream_.Read(buffer, count);
        } catch (...) {
            got = 0;
        }
        position_ += int64_t(got);
        return got;
    }

    TStream& stream_;
    int64_t base_;
    int64_t size_ = 0;
    int64_t position_ = 0;
};

std::string Field(const char (&text)[64]) { return std::string(text, strnlen(text, sizeof text)); }

// Canon CR2: a little-endian TIFF header followed by "CR" and major version 2.
bool IsCR2(TStream& stream) {
    uint8_t head[11];
    if (stream.Read(head, sizeof head) < sizeof head) return false;
    return std::memcmp(head, "II*\0", 4) == 0 && head[8] == 'C' && head[9] == 'R' && head[10] == 2;
}

}  // namespace

bool IdentifyCameraRaw(TStream& stream, RawIdentity* identity) {
    StreamPositionGuard guard(stream);
    const int64_t start = stream.Position();
    RawIdentity found;
    bool identified = false;
    try {
        auto decoder = std::make_unique<LibRaw>(LIBRAW_OPIONS_NO_MEMERR_CALLBACK | LIBRAW_OPIONS_NO_DATAERR_CALLBACK);
        StreamRawSource source(stream);
        identified = decoder->open_datastream(&source) == LIBRAW_SUCCESS;
        const libraw_data_t& data = decoder->imgdata;
        found.make = Field(data.idata.make);
        found.model = Field(data.idata.model);
        found.model2 = Field(data.color.model2);
        if (identified) {
            found.width = data.sizes.width;
            found.height = data.sizes.height;
        } else {
            stream.Seek(start);
            identified = IsCR2(stream);
        }
        decoder->recycle();
    } catch (...) {
        identified = false;
    }
    if (!identified) {
        stream.Seek(start);
        X3FInfo x3f;
        if (ReadX3FInfo(stream, x3f)) {
            identified = true;
            found = RawIdentity{x3f.make, x3f.model, {}, x3f.width, x3f.height};
        }
    }
    if (identified && identity) *identity = std::move(found);
    return identified;
}

}  // namespace velmora
