#include "params/image_bitmap.h"

#include <algorithm>
#include <cstring>

namespace velmora {

bool TImageBitmap::Allocate(int width, int height) {
    Clear();
    if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxPixels) return false;
    width_ = width;
    height_ = height;
    pixels_.assign(size_t(width) * size_t(height) * 3, 0);
    return true;
}

void TImageBitmap::Clear() {
    width_ = height_ = 0;
    pixels_.clear();
    pixels_.shrink_to_fit();
}

void TImageBitmap::Fill(uint8_t r, uint8_t g, uint8_t b) {
    for (size_t i = 0; i + 2 < pixels_.size(); i += 3) {
        pixels_[i] = r;
        pixels_[i + 1] = g;
        pixels_[i + 2] = b;
    }
}

bool TImageBitmap::IsAllBlack() const {
    return std::all_of(pixels_.begin(), pixels_.end(), [](uint8_t v) { return v == 0; });
}

void TImageBitmap::MirrorLeftRight() {
    for (int y = 0; y < height_; ++y) {
        uint8_t* row = ScanLine(y);
        for (int l = 0, r = width_ - 1; l < r; ++l, --r) {
            for (int c = 0; c < 3; ++c) std::swap(row[l * 3 + c], row[r * 3 + c]);
        }
    }
}

void TImageBitmap::MirrorTopBottom() {
    std::vector<uint8_t> tmp(RowBytes());
    for (int t = 0, b = height_ - 1; t < b; ++t, --b) {
        std::memcpy(tmp.data(), ScanLine(t), RowBytes());
        std::memcpy(ScanLine(t), ScanLine(b), RowBytes());
        std::memcpy(ScanLine(b), tmp.data(), RowBytes());
    }
}

void TImageBitmap::Rotate90CounterClockwise() {
    // Source (x, y) goes to (y, width - 1 - x) in a picture of height x width.
    std::vector<uint8_t> out(pixels_.size());
    const int newWidth = height_;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const size_t src = (size_t(y) * width_ + x) * 3;
            const size_t dst = (size_t(width_ - 1 - x) * newWidth + y) * 3;
            std::memcpy(&out[dst], &pixels_[src], 3);
        }
    }
    std::swap(width_, height_);
    pixels_.swap(out);
}

void TImageBitmap::Rotate90Clockwise() {
    // Source (x, y) goes to (height - 1 - y, x).
    std::vector<uint8_t> out(pixels_.size());
    const int newWidth = height_;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const size_t src = (size_t(y) * width_ + x) * 3;
            const size_t dst = (size_t(x) * newWidth + (height_ - 1 - y)) * 3;
            std::memcpy(&out[dst], &pixels_[src], 3);
        }
    }
    std::swap(width_, height_);
    pixels_.swap(out);
}

void TImageBitmap::TurnUpright(int orientation) {
    if (IsEmpty()) return;
    // Orientations 5 and 7 mirror first: together with the turn that gives the transposed and
    // the transversed picture.
    switch (orientation) {
        case 2: MirrorLeftRight(); break;
        case 3: MirrorTopBottom(); MirrorLeftRight(); break;
        case 4: MirrorTopBottom(); break;
        case 5: MirrorLeftRight(); Rotate90CounterClockwise(); break;
        case 6: Rotate90Clockwise(); break;
        case 7: MirrorLeftRight(); Rotate90Clockwise(); break;
        case 8: Rotate90CounterClockwise(); break;
        default: break;
    }
}

}  // namespace velmora
