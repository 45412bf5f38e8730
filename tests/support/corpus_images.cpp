#include "tests/support/corpus_images.h"

#include <gtest/gtest.h>

#include "params/image_io.h"
#include "tests/support/corpus.h"

namespace velmora::test {

void ExpectImageParams(const CorpusImage& image) {
    TImageIO io;
    io.ParamsFromFile(CorpusFile(image.file));
    const TIOParamsVals& p = io.Params;
    EXPECT_EQ(p.FileType, image.fileType);
    EXPECT_EQ(p.Width, image.width);
    EXPECT_EQ(p.Height, image.height);
    EXPECT_EQ(p.BitsPerSample, image.bits);
    EXPECT_EQ(p.SamplesPerPixel, image.samples);
}

}  // namespace velmora::test
