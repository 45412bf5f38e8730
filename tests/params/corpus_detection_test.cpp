// Format detection over the real files of the corpus, by the format column of its README.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "params/format_detection.h"
#include "params/format_registry.h"
#include "params/image_io.h"
#include "tests/support/corpus.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

const std::map<std::string, int32_t>& ExpectedByFormat() {
    static const std::map<std::string, int32_t> table = {
        {"JPEG", ioJPEG},
        {"TIFF", ioTIFF},
        {"PNG", ioPNG},
        {"GIF", ioGIF},
        {"BMP", ioBMP},
        {"PCX", ioPCX},
        {"DCX", ioDCX},
        {"TGA", ioTGA},
        {"ICO", ioICO},
        {"CUR", ioCUR},
        {"PPM", ioPXM},
        {"PGM", ioPXM},
        {"PBM", ioPXM},
        {"WBMP", ioWBMP},
        {"PSD", ioPSD},
        {"JP2", ioJP2},
        {"J2C", ioJ2K},
        {"J2K", ioJ2K},
        // TIFF content with a raw extension.
        {"Canon CR2", ioRAW},
        // Extensions without a registry entry: verification gives 0 whatever the content.
        {"AVI", ioUnknown},
        {"DNG", ioUnknown},
        {"Canon CR3", ioUnknown},
        {"Panasonic RW2", ioUnknown},
        {"Sony ARW (truncated)", ioUnknown},
        // 64-bit offsets: no classic TIFF directory at the header's offset, and ".btf" is not
        // in the registry either.
        {"BigTIFF", ioUnknown},
        // JPEG content is not accepted by the camera raw extension.
        {"JPEG (with .nef extension)", ioUnknown},
        // Recognised by the camera raw identification, the last content test. The NEF file's
        // small first directory with SubIFDs and tag 37398 passes the DNG test, so it is not TIFF.
        {"Canon CRW", ioRAW},
        {"Fuji RAF", ioRAW},
        {"Minolta MRW", ioRAW},
        {"Sigma X3F", ioRAW},
        {"Nikon NEF", ioRAW},
    };
    return table;
}

// Files whose content does not meet the test of the format they belong to.
const std::map<std::string, int32_t>& ExpectedByFile() {
    static const std::map<std::string, int32_t> table = {
        // Garbage follows the SOI marker, so 0xFF 0xD8 0xFF occurs nowhere in the first 100 bytes.
        {"0x00-to-0xFF-between-segments.jpg", ioUnknown},
        // An OS/2 bitmap array starts "BA", not "BM".
        {"bmpsuite-x-ba-bm.bmp", ioUnknown},
        // Only the first 128 bytes of a raw file: too little for the raw identification.
        {"fixture.orf", ioUnknown},
    };
    return table;
}

struct ReadmeRow {
    std::string format;
    bool odd = false;  // a deliberately broken or unusual file
};

// The format column of every file row of the corpus README, and whether it is marked ODD.
std::map<std::string, ReadmeRow> RowsFromReadme(const std::string& dir) {
    std::ifstream in(fs::path(dir) / "README.md");
    const std::regex row(R"(^\| `([^`]+)` \| ([^|]+?) \| [^|]* \| ([^|]*)\|)");
    std::map<std::string, ReadmeRow> rows;
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
        if (std::regex_search(line, m, row)) rows[m[1]] = {m[2], m[3].str().rfind("ODD", 0) == 0};
    }
    return rows;
}

TEST(CorpusDetection, EveryFileGetsTheTypeOfItsFormat) {
    VELMORA_REQUIRE_CORPUS();
    const std::string dir = test::CorpusDir();
    const auto rows = RowsFromReadme(dir);
    ASSERT_GT(rows.size(), 100u);

    int checked = 0;
    for (const fs::path& file : test::CorpusFiles()) {
        const std::string name = file.filename().string();
        const std::string path = file.string();
        const int32_t found = FindFileFormat(path, true);

        const auto row = rows.find(name);
        ASSERT_NE(row, rows.end()) << name << " has no row in the README";
        const std::string& format = row->second.format;
        int32_t expected;
        if (const auto byFile = ExpectedByFile().find(name); byFile != ExpectedByFile().end()) {
            expected = byFile->second;
        } else {
            const auto byFormat = ExpectedByFormat().find(format);
            ASSERT_NE(byFormat, ExpectedByFormat().end()) << "no expectation for format " << format;
            expected = byFormat->second;
        }
        EXPECT_EQ(found, expected) << name << " (" << format << ")";

        // Loading keeps the detected type; only a reader that refuses a broken file clears it.
        TImageIO io;
        EXPECT_NO_THROW(io.ParamsFromFile(path)) << name;
        EXPECT_EQ(io.Params.FileName, path);
        if (row->second.odd) {
            EXPECT_TRUE(io.Params.FileType == expected || io.Params.FileType == ioUnknown) << name;
        } else {
            EXPECT_EQ(io.Params.FileType, expected) << name;
        }
        ++checked;
    }
    EXPECT_EQ(checked, int(rows.size()));
}

}  // namespace
}  // namespace velmora
