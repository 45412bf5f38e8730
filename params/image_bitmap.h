// A small 24-bit RGB pixel buffer: the EXIF thumbnail and the preview's decoded image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

class TImageBitmap {
public:
    // Largest picture a reader may allocate (width * height); larger requests are refused.
    static constexpr int64_t kMaxPixels = int64_t(1) << 28;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return width_ == 0 || height_ == 0; }

    // Resizes to width x height filled with black; false (and empty) when the size is
    // not positive or exceeds kMaxPixels.
    bool Allocate(int width, int height);
    void Clear();
    void Fill(uint8_t r, uint8_t g, uint8_t b);

    // Row y, 3 bytes per pixel in the order red, green, blue.
    uint8_t* ScanLine(int y) { return pixels_.data() + size_t(y) * RowBytes(); }
    const uint8_t* ScanLine(int y) const { return pixels_.data() + size_t(y) * RowBytes(); }
    size_t RowBytes() const { return size_t(width_) * 3; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

    bool IsAllBlack() const;

    // Geometry used to turn a picture upright.
    void MirrorLeftRight();
    void MirrorTopBottom();
    // Positive angles turn counter-clockwise.
    void Rotate90CounterClockwise();
    void Rotate90Clockwise();
    // Turns a picture stored with an EXIF orientation (1 to 8) upright; other values do nothing.
    void TurnUpright(int orientation);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

}  // namespace velmora
