// Movies have no registry entry, so reading their parameters for the pages gives nothing; the
// pages then show what the full load reads, as the window's preview gives it.
#include <gtest/gtest.h>

#include "tests/support/corpus.h"
#include "tests/support/run_command.h"

namespace velmora {
namespace {

TEST(CorpusMoviePagesTest, AviFilesShowTheirSizeFramesAndDelay) {
    VELMORA_REQUIRE_CORPUS();
    struct Case {
        const char* file;
        const char* expected;  // consecutive lines of the output
    };
    // Reference: 233 frames at 15/s, 600 at 24/s, 1 at 23.81/s.
    const Case cases[] = {
        {"RIFF.avi", "Width\t320\nHeight\t240\n"},
        {"RIFF.avi", "AVI_FrameCount\t233\nAVI_FrameDelayTime\t66\n"},
        {"Pentax.avi", "Width\t1280\nHeight\t720\n"},
        {"Pentax.avi", "AVI_FrameCount\t600\nAVI_FrameDelayTime\t41\n"},
        {"fixture.avi", "AVI_FrameCount\t1\nAVI_FrameDelayTime\t42\n"},
    };
    for (const auto& c : cases) {
        const auto result = test::RunVelmoraInfo({test::CorpusFile(c.file)});
        EXPECT_EQ(result.exitCode, 0) << c.file << result.errors;
        EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.file << "\n" << result.output;
    }
}

TEST(CorpusMoviePagesTest, ACsvExportNeverLoadsSoAMovieRowKeepsTheEmptyRecord) {
    VELMORA_REQUIRE_CORPUS();
    const auto result = test::RunVelmoraInfo({"--csv", "/dev/stdout", test::CorpusFile("RIFF.avi")});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_NE(result.output.find("\n\"RIFF.avi\",\"\","), std::string::npos) << result.output.substr(0, 400);
}

}  // namespace
}  // namespace velmora
