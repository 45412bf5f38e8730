#include "params/jpeg_decode.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/jpeg_fixtures.h"

namespace velmora {
namespace {

using test::JpegKind;
using test::JpegPicture;

void ExpectPixelNear(const TImageBitmap& bitmap, int x, int y, int r, int g, int b) {
    const uint8_t* p = bitmap.ScanLine(y) + x * 3;
    EXPECT_NEAR(p[0], r, 4) << "red at " << x << "," << y;
    EXPECT_NEAR(p[1], g, 4) << "green at " << x << "," << y;
    EXPECT_NEAR(p[2], b, 4) << "blue at " << x << "," << y;
}

TEST(DecodeJpegToBitmap, ConvertsEveryColourSpaceToRgb) {
    struct Case {
        JpegKind kind;
        std::vector<uint8_t> fill;
        int r, g, b;
    };
    // Four-channel samples are taken as stored inverted (the usual CMYK JPEG): red = C * K / 255.
    const Case cases[] = {
        {JpegKind::YCbCr, {200, 100, 50}, 200, 100, 50},
        {JpegKind::Rgb, {10, 120, 240}, 10, 120, 240},
        {JpegKind::Gray, {77}, 77, 77, 77},
        {JpegKind::Cmyk, {200, 100, 50, 255}, 200, 100, 50},
        {JpegKind::Cmyk, {200, 100, 50, 128}, 100, 50, 25},
        {JpegKind::Ycck, {200, 100, 50, 255}, 200, 100, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        JpegPicture picture;
        picture.kind = c.kind;
        picture.fill = c.fill;
        const std::vector<uint8_t> jpeg = test::EncodeJpeg(picture);
        TImageBitmap bitmap;
        ASSERT_TRUE(DecodeJpegToBitmap(jpeg.data(), jpeg.size(), bitmap));
        ASSERT_EQ(bitmap.Width(), 16);
        ASSERT_EQ(bitmap.Height(), 8);
        ExpectPixelNear(bitmap, 0, 0, c.r, c.g, c.b);
        ExpectPixelNear(bitmap, 15, 7, c.r, c.g, c.b);
    }
}

TEST(DecodeJpegToBitmap, ScalesByTheDenominator) {
    JpegPicture picture;
    picture.width = 40;
    picture.height = 23;
    picture.gradient = true;
    const std::vector<uint8_t> jpeg = test::EncodeJpeg(picture);
    struct Case {
        int denominator, width, height;
    };
    // libjpeg rounds scaled sizes up; an unsupported denominator decodes at full size.
    for (const Case& c : {Case{1, 40, 23}, Case{2, 20, 12}, Case{4, 10, 6}, Case{8, 5, 3}, Case{3, 40, 23}}) {
        TImageBitmap bitmap;
        ASSERT_TRUE(DecodeJpegToBitmap(jpeg.data(), jpeg.size(), bitmap, c.denominator));
        EXPECT_EQ(bitmap.Width(), c.width) << c.denominator;
        EXPECT_EQ(bitmap.Height(), c.height) << c.denominator;
    }
}

TEST(DecodeJpegToBitmap, RefusesWhatIsNoDecodableImage) {
    const std::vector<uint8_t> garbage(64, 0x42);
    TImageBitmap bitmap;
    bitmap.Allocate(3, 3);
    EXPECT_FALSE(DecodeJpegToBitmap(garbage.data(), garbage.size(), bitmap));
    EXPECT_TRUE(bitmap.IsEmpty());
    EXPECT_FALSE(DecodeJpegToBitmap(nullptr, 0, bitmap));

    // A frame header claiming 65000 x 65000 pixels is refused before anything is allocated.
    std::vector<uint8_t> huge = test::EncodeJpeg(JpegPicture{});
    for (size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = huge[i + 7] = 0xFD;
            huge[i + 6] = huge[i + 8] = 0xE8;
            break;
        }
    }
    EXPECT_FALSE(DecodeJpegToBitmap(huge.data(), huge.size(), bitmap));
    EXPECT_TRUE(bitmap.IsEmpty());
}

TEST(DecodeJpegToBitmap, SurvivesEveryTruncation) {
    JpegPicture picture;
    picture.progressive = true;
    picture.gradient = true;
    const std::vector<uint8_t> jpeg = test::EncodeJpeg(picture);
    for (size_t length = 0; length <= jpeg.size(); ++length) {
        TImageBitmap bitmap;
        const bool decoded = DecodeJpegToBitmap(jpeg.data(), length, bitmap);
        // Data cut inside the scans still decodes (the missing part left grey); a cut
        // header does not.
        EXPECT_EQ(decoded, !bitmap.IsEmpty()) << length;
        if (length == jpeg.size()) {
            EXPECT_TRUE(decoded);
        }
    }
}

}  // namespace
}  // namespace velmora
