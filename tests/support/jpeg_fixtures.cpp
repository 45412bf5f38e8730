#include "tests/support/jpeg_fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

#include "tests/support/tiff_builder.h"

namespace velmora::test {

namespace {

[[noreturn]] void FailEncoding(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    // Test fixtures encode only well-formed pictures; a failure here is a broken test.
    std::fprintf(stderr, "jpeg fixture: %s\n", message);
    std::abort();
}

// Sets up the compressor for the picture (destination still to be chosen).
void SetUpCompressor(jpeg_compress_struct& cinfo, const JpegPicture& picture) {
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    J_COLOR_SPACE stored = JCS_YCbCr;
    switch (picture.kind) {
        case JpegKind::Gray:
            cinfo.input_components = 1;
            cinfo.in_color_space = JCS_GRAYSCALE;
            stored = JCS_GRAYSCALE;
            break;
        case JpegKind::YCbCr:
        case JpegKind::Rgb:
            cinfo.input_components = 3;
            cinfo.in_color_space = JCS_RGB;
            stored = picture.kind == JpegKind::Rgb ? JCS_RGB : JCS_YCbCr;
            break;
        case JpegKind::Cmyk:
        case JpegKind::Ycck:
            cinfo.input_components = 4;
            cinfo.in_color_space = JCS_CMYK;
            stored = picture.kind == JpegKind::Ycck ? JCS_YCCK : JCS_CMYK;
            break;
    }
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, stored);
    cinfo.write_JFIF_header = FALSE;
    jpeg_set_quality(&cinfo, picture.quality, TRUE);
    if (picture.progressive) jpeg_simple_progression(&cinfo);
}

void WritePixels(jpeg_compress_struct& cinfo, const JpegPicture& picture) {
    const int components = cinfo.input_components;
    std::vector<JSAMPLE> row(size_t(picture.width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < picture.width; ++x) {
            for (int c = 0; c < components; ++c) {
                uint8_t v = c < static_cast<int>(picture.fill.size()) ? picture.fill[c] : 0;
                if (picture.gradient) v = static_cast<uint8_t>((x * 7 + y * 13 + c * 50) & 0xFF);
                row[size_t(x) * components + c] = v;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
}

// Takes over a buffer that libjpeg's memory destination allocated.
std::vector<uint8_t> TakeBuffer(unsigned char*& buffer, unsigned long size) {
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    buffer = nullptr;
    return out;
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const JpegPicture& picture) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    errors.error_exit = FailEncoding;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    SetUpCompressor(cinfo, picture);
    jpeg_start_compress(&cinfo, TRUE);
    WritePixels(cinfo, picture);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return TakeBuffer(buffer, size);
}

void EncodeAbbreviatedJpeg(const JpegPicture& picture, std::vector<uint8_t>& tables, std::vector<uint8_t>& image) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    errors.error_exit = FailEncoding;
    jpeg_create_compress(&cinfo);
    SetUpCompressor(cinfo, picture);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    jpeg_write_tables(&cinfo);
    tables = TakeBuffer(buffer, size);
    size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    jpeg_start_compress(&cinfo, FALSE);
    WritePixels(cinfo, picture);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    image = TakeBuffer(buffer, size);
}

std::vector<uint8_t> SegmentBytes(const JpegSegment& segment) {
    if (segment.payload.size() > 65533) throw std::length_error("segment payload too long");
    const size_t length = segment.payload.size() + 2;
    std::vector<uint8_t> out = {0xFF, segment.marker, uint8_t(length >> 8), uint8_t(length)};
    out.insert(out.end(), segment.payload.begin(), segment.payload.end());
    return out;
}

std::vector<uint8_t> InsertSegments(const std::vector<uint8_t>& jpeg, const std::vector<JpegSegment>& segments) {
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
    for (const JpegSegment& segment : segments) {
        const std::vector<uint8_t> bytes = SegmentBytes(segment);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

std::vector<uint8_t> MakeJpeg(const JpegPicture& picture, const std::vector<JpegSegment>& segments) {
    return InsertSegments(EncodeJpeg(picture), segments);
}

JpegSegment Segment(uint8_t marker, const std::string& payload) {
    return {marker, std::vector<uint8_t>(payload.begin(), payload.end())};
}

JpegSegment JfifSegment(uint8_t unit, uint16_t xDensity, uint16_t yDensity) {
    return {0xE0,
            {'J', 'F', 'I', 'F', 0, 1, 1, unit, uint8_t(xDensity >> 8), uint8_t(xDensity), uint8_t(yDensity >> 8),
             uint8_t(yDensity), 0, 0}};
}

JpegSegment Comment(const std::string& text) { return Segment(0xFE, text); }

JpegSegment ExifResolutionSegment(uint32_t xNumerator, uint32_t xDenominator, uint32_t yNumerator,
                                  uint32_t yDenominator, uint16_t unit, const std::string& make) {
    TiffBuilder builder(/*littleEndian=*/true);
    const int ifd0 = builder.AddDirectory();
    if (!make.empty()) builder.Ascii(ifd0, 271, make);
    builder.Rational(ifd0, 282, {{xNumerator, xDenominator}})
        .Rational(ifd0, 283, {{yNumerator, yDenominator}})
        .Short(ifd0, 296, {unit});
    return {0xE1, builder.Build(/*exifPrefix=*/true)};
}

JpegSegment XmpSegment(const std::string& packet) {
    std::string payload = "http://ns.adobe.com/xap/1.0/";
    payload.push_back('\0');
    payload += packet;
    return Segment(0xE1, payload);
}

JpegSegment IccChunk(uint8_t sequence, uint8_t count, const std::vector<uint8_t>& profileBytes) {
    std::vector<uint8_t> payload = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, sequence, count};
    payload.insert(payload.end(), profileBytes.begin(), profileBytes.end());
    return {0xE2, payload};
}

}  // namespace velmora::test
