// `velmora-info --properties` on real files against values an independent metadata tool reads
// from the same files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include "tests/support/corpus.h"
#include "tests/support/run_command.h"

namespace velmora {
namespace {

std::map<std::string, std::string> ParseProperties(const std::string& text) {
    std::map<std::string, std::string> values;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const size_t eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return values;
}

struct Expected {
    const char* key;
    const char* value;  // a number is compared as a number, anything else as text
};

struct FileCase {
    const char* file;
    std::vector<Expected> values;
};

bool IsNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

TEST(CorpusPropertiesTest, CameraFieldsMatchAnIndependentReading) {
    VELMORA_REQUIRE_CORPUS();
    const FileCase cases[] = {
        {"Canon.jpg",
         {{"FILETYPE", "3"}, {"WIDTH", "8"}, {"HEIGHT", "8"}, {"EXIF_MAKE", "Canon"},
          {"EXIF_MODEL", "Canon EOS DIGITAL REBEL"}, {"EXIF_DATETIMEORIGINAL", "2003:12:04 06:46:52"},
          {"EXIF_EXPOSURETIME", "4"}, {"EXIF_FNUMBER", "14"}, {"EXIF_FOCALLENGTH", "34"},
          {"EXIF_ORIENTATION", "1"}, {"EXIF_EXIFIMAGEWIDTH", "160"}, {"EXIF_EXIFIMAGEHEIGHT", "120"}}},
        {"Nikon.jpg",
         {{"EXIF_MAKE", "NIKON"}, {"EXIF_MODEL", "E775"}, {"EXIF_DATETIMEORIGINAL", "2001:08:01 12:57:23"},
          {"EXIF_EXPOSURETIME", "0.004686035614"}, {"EXIF_FNUMBER", "9.4"}, {"EXIF_FOCALLENGTH", "8.6"},
          {"EXIF_EXIFIMAGEWIDTH", "1600"}, {"EXIF_EXIFIMAGEHEIGHT", "1200"}}},
        {"GPS.jpg",
         {{"WIDTH", "120"}, {"HEIGHT", "80"}, {"EXIF_MAKE", "FUJIFILM"}, {"EXIF_MODEL", "FinePixS1Pro"},
          {"EXIF_DATETIMEORIGINAL", "2002:07:13 15:58:28"}, {"EXIF_FNUMBER", "0.640234375"},
          {"EXIF_EXIFIMAGEWIDTH", "2400"}, {"EXIF_EXIFIMAGEHEIGHT", "1600"},
          // 54.9896666 N and 1.9141666 W, as degrees and decimal minutes.
          {"EXIF_GPSLATITUDEDEGREES", "54"}, {"EXIF_GPSLATITUDEMINUTES", "59.38"},
          {"EXIF_GPSLONGITUDEDEGREES", "1"}, {"EXIF_GPSLONGITUDEMINUTES", "54.85"}}},
        {"Reagan.tiff",
         {{"FILETYPE", "1"}, {"WIDTH", "200"}, {"HEIGHT", "130"}, {"EXIF_MAKE", "NIKON CORPORATION"},
          {"EXIF_MODEL", "NIKON D1X"}, {"EXIF_DATETIMEORIGINAL", "2004:06:21 23:37:53"},
          {"EXIF_EXPOSURETIME", "0.008"}, {"EXIF_FNUMBER", "5"}, {"EXIF_FOCALLENGTH", "42"},
          {"EXIF_ORIENTATION", "1"}, {"EXIF_EXIFIMAGEWIDTH", "2100"}, {"EXIF_EXIFIMAGEHEIGHT", "1368"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto result = test::RunVelmoraInfo({"--properties", test::CorpusFile(c.file)});
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        const auto values = ParseProperties(result.output);
        for (const auto& e : c.values) {
            const auto found = values.find(e.key);
            ASSERT_NE(found, values.end()) << e.key;
            double expected = 0, shown = 0;
            if (IsNumber(e.value, expected) && IsNumber(found->second, shown)) {
                EXPECT_NEAR(shown, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << e.key;
            } else {
                EXPECT_EQ(found->second, e.value) << e.key;
            }
        }
    }
}

// GPS references keep the zero byte of their two-byte value, so N and W arrive with it.
TEST(CorpusPropertiesTest, GpsReferencesKeepTheirZeroByte) {
    VELMORA_REQUIRE_CORPUS();
    const auto values = ParseProperties(test::RunVelmoraInfo({"--properties", test::CorpusFile("GPS.jpg")}).output);
    EXPECT_EQ(values.at("EXIF_GPSLATITUDEREF"), std::string("N\0", 2));
    EXPECT_EQ(values.at("EXIF_GPSLONGITUDEREF"), std::string("W\0", 2));
}

}  // namespace
}  // namespace velmora
