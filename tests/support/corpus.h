// Access to the folder of real image files used by conformance tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace velmora::test {

// The corpus folder (from the VELMORA_CORPUS_DIR build setting), or empty when it does not exist.
std::string CorpusDir();
// The path of a file in the corpus folder (empty when the folder is absent).
std::string CorpusFile(const std::string& name);
// Every file of the corpus folder except its README, in name order (none when the folder is absent).
std::vector<std::filesystem::path> CorpusFiles();

}  // namespace velmora::test

// Skips the current test when the corpus folder is absent.
#define VELMORA_REQUIRE_CORPUS()                                                   \
    do {                                                                           \
        if (::velmora::test::CorpusDir().empty()) GTEST_SKIP() << "no image corpus"; \
    } while (0)
