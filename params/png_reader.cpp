#include "params/png_reader.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "params/header_reader_support.h"

namespace velmora {

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// An IDAT chunk without data and the IEND chunk, each with its CRC.
constexpr uint8_t kEmptyIdat[12] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
constexpr uint8_t kIend[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};

// Least limit on a decompressed text chunk; a larger stored chunk raises it to its own size.
constexpr png_alloc_size_t kMinChunkLimit = png_alloc_size_t(16) << 20;

constexpr uint32_t ChunkType(const char (&name)[5]) {
    return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 | uint32_t(uint8_t(name[2])) << 8 |
           uint32_t(uint8_t(name[3]));
}

// A run of bytes libpng is shown: a range of the stream, or fixed bytes.
struct Piece {
    int64_t offset = 0;
    int64_t size = 0;
    const uint8_t* bytes = nullptr;
};

// What libpng reads: the signature, the chunks the parameters come from in file order, one
// empty IDAT in place of the image data, and IEND. Chunks that are not needed (and whose
// faults therefore do not matter) are left out, and libpng never sees a chunk that claims
// more bytes than the stream holds.
struct PngSource {
    TStream* stream = nullptr;
    std::vector<Piece> pieces;
    size_t piece = 0;
    int64_t pieceOffset = 0;
    // Size of the largest chunk handed over, for libpng's allocation limit.
    uint32_t largestChunk = 0;
};

// Builds the pieces from the chunk list; false when the first chunk is not IHDR.
bool CollectChunks(TStream& stream, int64_t start, PngSource& source) {
    source.pieces.push_back({0, 8, kPngSignature});
    const int64_t end = stream.Size();
    int64_t pos = start + 8;
    bool first = true;
    bool idatSeen = false;
    // Every chunk takes at least 12 bytes, so the walk ends within size / 12 steps.
    while (end - pos >= 12) {
        uint8_t header[8];
        stream.Seek(pos);
        if (stream.Read(header, 8) != 8) break;
        const uint32_t length = Be32(header);
        const uint32_t type = Be32(header + 4);
        if (length > 0x7FFFFFFFu || end - pos - 12 < int64_t(length)) break;
        if (first && type != ChunkType("IHDR")) return false;
        first = false;
        if (type == ChunkType("IEND")) break;
        if (type == ChunkType("IDAT")) {
            if (!idatSeen) source.pieces.push_back({0, 12, kEmptyIdat});
            idatSeen = true;
        } else if (type == ChunkType("IHDR") || type == ChunkType("PLTE") || type == ChunkType("pHYs") ||
                   type == ChunkType("tEXt") || type == ChunkType("zTXt") || type == ChunkType("iTXt")) {
            source.pieces.push_back({pos, 12 + int64_t(length), nullptr});
            source.largestChunk = std::max(source.largestChunk, length);
        }
        pos += 12 + int64_t(length);
    }
    if (first) return false;
    source.pieces.push_back({0, 12, kIend});
    return true;
}

// Copies up to count bytes of the pieces; returns how many were available.
size_t ReadPieces(PngSource& source, uint8_t* out, size_t count) {
    size_t done = 0;
    while (done < count && source.piece < source.pieces.size()) {
        const Piece& piece = source.pieces[source.piece];
        const int64_t left = piece.size - source.pieceOffset;
        const size_t take = static_cast<size_t>(std::min<int64_t>(left, int64_t(count - done)));
        if (piece.bytes) {
            std::memcpy(out + done, piece.bytes + source.pieceOffset, take);
        } else {
            source.stream->Seek(piece.offset + source.pieceOffset);
            if (source.stream->Read(out + done, take) != take) return done;
        }
        done += take;
        source.pieceOffset += int64_t(take);
        if (source.pieceOffset == piece.size) {
            ++source.piece;
            source.pieceOffset = 0;
        }
    }
    return done;
}

void ReadCallback(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    bool complete = false;
    try {
        complete = ReadPieces(*source, out, count) == count;
    } catch (...) {
        complete = false;
    }
    // Raised outside the handler: the jump must not leave a catch block.
    if (!complete) png_error(png, "read error");
}

// Owns libpng's read and info structures.
struct PngReadHandles {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngReadHandles() = default;
    PngReadHandles(const PngReadHandles&) = delete;
    PngReadHandles& operator=(const PngReadHandles&) = delete;
    ~PngReadHandles() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

void ErrorCallback(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void WarningCallback(png_structp, png_const_charp) {}

// Runs libpng over the pieces. An error jumps back here; only trivially destructible
// locals live in this frame, so the jump skips no destructor.
bool ReadWithLibpng(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    png_read_end(png, info);
    return true;
}

int32_t SamplesOfColorType(int colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return 4;
        default:  // grey, palette
            return 1;
    }
}

void TakeResults(png_structp png, png_infop info, TIOParamsVals& params) {
    png_textp texts = nullptr;
    const int textCount = png_get_text(png, info, &texts, nullptr);
    for (int i = 0; i < textCount; ++i) {
        const png_text& text = texts[i];
        const size_t length = text.compression >= PNG_ITXT_COMPRESSION_NONE ? text.itxt_length : text.text_length;
        params.PNG_TextKeys.emplace_back(text.key ? text.key : "");
        params.PNG_TextValues.emplace_back(text.text ? std::string(text.text, length) : std::string());
    }

    params.Width = static_cast<int32_t>(png_get_image_width(png, info));
    params.Height = static_cast<int32_t>(png_get_image_height(png, info));
    params.BitsPerSample = png_get_bit_depth(png, info);
    const int colorType = png_get_color_type(png, info);
    params.SamplesPerPixel = SamplesOfColorType(colorType);

    png_uint_32 resX = 0;
    png_uint_32 resY = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    int32_t dpiX = 0;
    int32_t dpiY = 0;
    if (png_get_pHYs(png, info, &resX, &resY, &unit) && unit == PNG_RESOLUTION_METER) {
        dpiX = PixelsPerMetreToDpi(static_cast<int32_t>(std::min<png_uint_32>(resX, PNG_UINT_31_MAX)));
        dpiY = PixelsPerMetreToDpi(static_cast<int32_t>(std::min<png_uint_32>(resY, PNG_UINT_31_MAX)));
    }
    params.SetDpiX(dpiX != 0 ? dpiX : kDefaultResolution);
    params.SetDpiY(dpiY != 0 ? dpiY : kDefaultResolution);

    png_colorp palette = nullptr;
    int paletteCount = 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(png, info, &palette, &paletteCount)) {
        std::vector<TRGB> colors(static_cast<size_t>(std::max(paletteCount, 0)));
        for (size_t i = 0; i < colors.size(); ++i) {
            colors[i] = TRGB{palette[i].blue, palette[i].green, palette[i].red};
        }
        params.SetColorMap(std::move(colors));
    }

    params.PNG_Interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
}

// False when the signature, the chunk list or libpng refuses the file.
bool ReadPng(TStream& stream, TIOParamsVals& params) {
    const int64_t start = stream.Position();
    uint8_t signature[8];
    PngSource source;
    source.stream = &stream;
    if (stream.Read(signature, 8) != 8 || std::memcmp(signature, kPngSignature, 8) != 0 ||
        !CollectChunks(stream, start, source)) {
        return false;
    }

    PngReadHandles handles;
    handles.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorCallback, WarningCallback);
    if (handles.png) handles.info = png_create_info_struct(handles.png);
    if (!handles.info) return false;
    png_structp png = handles.png;
    png_set_read_fn(png, &source, ReadCallback);
    // The stand-in IDAT is taken as an opaque chunk, so nothing is inflated; the other chunks
    // keep libpng's usual checks.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_ALWAYS, reinterpret_cast<png_const_bytep>("IDAT\0"), 1);
    png_set_benign_errors(png, 1);
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_chunk_malloc_max(png,
                             std::max<png_alloc_size_t>(kMinChunkLimit, png_alloc_size_t(source.largestChunk) + 1));

    if (!ReadWithLibpng(png, handles.info)) return false;
    TakeResults(png, handles.info, params);
    return true;
}

}  // namespace

void ReadPNGStream(TStream& stream, TImageBitmap* /*bitmap*/, TIOParamsVals& params, TProgressRec& progress,
                   bool /*parametersOnly*/) {
    params.PNG_TextKeys.clear();
    params.PNG_TextValues.clear();
    RunHeaderRead(progress, [&] {
        if (!ReadPng(stream, params)) progress.SetAborting();
    });
}

}  // namespace velmora
