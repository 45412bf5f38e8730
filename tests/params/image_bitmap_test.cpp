#include <gtest/gtest.h>

#include "params/image_bitmap.h"

namespace velmora {
namespace {

// A 3 x 2 picture whose red channel holds x and green channel holds y of each pixel.
TImageBitmap Coordinates() {
    TImageBitmap bitmap;
    bitmap.Allocate(3, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            bitmap.ScanLine(y)[x * 3] = static_cast<uint8_t>(x);
            bitmap.ScanLine(y)[x * 3 + 1] = static_cast<uint8_t>(y);
        }
    }
    return bitmap;
}

TEST(ImageBitmapTest, TurnUprightFollowsTheExifOrientations) {
    constexpr int W = 3, H = 2;
    struct Case {
        int orientation;
        bool swapsSides;
        // The source pixel that lands at (u, v) of the upright picture.
        std::pair<int, int> (*source)(int u, int v);
    };
    const Case cases[] = {
        {1, false, [](int u, int v) { return std::make_pair(u, v); }},
        {2, false, [](int u, int v) { return std::make_pair(W - 1 - u, v); }},
        {3, false, [](int u, int v) { return std::make_pair(W - 1 - u, H - 1 - v); }},
        {4, false, [](int u, int v) { return std::make_pair(u, H - 1 - v); }},
        {5, true, [](int u, int v) { return std::make_pair(v, u); }},                  // transpose
        {6, true, [](int u, int v) { return std::make_pair(v, H - 1 - u); }},          // 90 clockwise
        {7, true, [](int u, int v) { return std::make_pair(W - 1 - v, H - 1 - u); }},  // transverse
        {8, true, [](int u, int v) { return std::make_pair(W - 1 - v, u); }},          // 90 anticlockwise
        {9, false, [](int u, int v) { return std::make_pair(u, v); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.orientation);
        TImageBitmap bitmap = Coordinates();
        bitmap.TurnUpright(c.orientation);
        ASSERT_EQ(bitmap.Width(), c.swapsSides ? H : W);
        ASSERT_EQ(bitmap.Height(), c.swapsSides ? W : H);
        for (int v = 0; v < bitmap.Height(); ++v) {
            for (int u = 0; u < bitmap.Width(); ++u) {
                const auto [x, y] = c.source(u, v);
                EXPECT_EQ(bitmap.ScanLine(v)[u * 3], x) << u << "," << v;
                EXPECT_EQ(bitmap.ScanLine(v)[u * 3 + 1], y) << u << "," << v;
            }
        }
    }
}

TEST(ImageBitmapTest, RefusesSizesItCannotHold) {
    TImageBitmap bitmap;
    EXPECT_FALSE(bitmap.Allocate(0, 5));
    EXPECT_FALSE(bitmap.Allocate(-1, 5));
    EXPECT_FALSE(bitmap.Allocate(1 << 16, 1 << 16));
    EXPECT_TRUE(bitmap.IsEmpty());
    EXPECT_TRUE(bitmap.Allocate(2, 2));
    EXPECT_TRUE(bitmap.IsAllBlack());
}

}  // namespace
}  // namespace velmora
