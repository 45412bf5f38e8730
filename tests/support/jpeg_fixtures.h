// Small JPEG files made in memory for tests: libjpeg encodes a picture, then chosen APPn and
// COM segments are put right after the start-of-image marker.
//
//   std::vector<uint8_t> jpeg = test::MakeJpeg({.width = 16, .height = 8},
//                                              {test::JfifSegment(1, 300, 300), test::Comment("hi")});
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

enum class JpegKind { Gray, YCbCr, Rgb, Cmyk, Ycck };

struct JpegPicture {
    int width = 16;
    int height = 8;
    JpegKind kind = JpegKind::YCbCr;
    bool progressive = false;
    // The sample values every pixel gets (one per input component: grey, RGB or CMYK).
    std::vector<uint8_t> fill = {200, 100, 50, 20};
    // A gradient instead of a plain fill.
    bool gradient = false;
    int quality = 95;
};

struct JpegSegment {
    uint8_t marker;  // 0xE0..0xEF, 0xFE
    std::vector<uint8_t> payload;
};

// Encodes the picture; no JFIF header is written (add one with JfifSegment). Four-channel
// kinds carry the Adobe segment libjpeg writes for them.
std::vector<uint8_t> EncodeJpeg(const JpegPicture& picture);
// The picture as an abbreviated pair: tables holds only the quantisation and Huffman tables,
// image the picture without them.
void EncodeAbbreviatedJpeg(const JpegPicture& picture, std::vector<uint8_t>& tables, std::vector<uint8_t>& image);
// Puts the segments, in order, right after the start-of-image marker of jpeg.
std::vector<uint8_t> InsertSegments(const std::vector<uint8_t>& jpeg, const std::vector<JpegSegment>& segments);
std::vector<uint8_t> MakeJpeg(const JpegPicture& picture, const std::vector<JpegSegment>& segments = {});
// The bytes of one segment: 0xFF, the marker, the length word and the payload.
std::vector<uint8_t> SegmentBytes(const JpegSegment& segment);

JpegSegment Segment(uint8_t marker, const std::string& payload);
JpegSegment JfifSegment(uint8_t unit, uint16_t xDensity, uint16_t yDensity);
JpegSegment Comment(const std::string& text);
// An APP1 EXIF block ("Exif\0\0", little-endian TIFF) whose IFD0 holds XResolution,
// YResolution and ResolutionUnit, plus Make when make is not empty.
JpegSegment ExifResolutionSegment(uint32_t xNumerator, uint32_t xDenominator, uint32_t yNumerator,
                                  uint32_t yDenominator, uint16_t unit, const std::string& make = {});
// An APP1 XMP packet around the given text.
JpegSegment XmpSegment(const std::string& packet);
// One APP2 ICC_PROFILE chunk.
JpegSegment IccChunk(uint8_t sequence, uint8_t count, const std::vector<uint8_t>& profileBytes);

}  // namespace velmora::test
