#include "params/file_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(FileName, NameAndExtensionCutAtDelimitersAndDriveColon) {
    struct Case {
        const char* path;
        const char* name;
        const char* ext;
    };
    const Case cases[] = {
        {"/a/b.jpg", "b.jpg", ".jpg"},
        {"plain.tar.gz", "plain.tar.gz", ".gz"},
        {"/a.dir/noext", "noext", ""},
        {"C:\\pics\\x.TIF", "x.TIF", ".TIF"},
        {"C:x.bmp", "x.bmp", ".bmp"},
        {"a.b:c", "c", ""},
        {"/a/.hidden", ".hidden", ".hidden"},
        {"/a/dot.", "dot.", "."},
        {"/a/", "", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    }
}

TEST(FileName, ExtensionComparesWithoutAsciiCase) {
    EXPECT_TRUE(HasFileExt("/m/clip.AvI", ".avi"));
    EXPECT_TRUE(HasFileExt("clip.avi", ".AVI"));
    EXPECT_FALSE(HasFileExt("clip.avi2", ".AVI"));
    EXPECT_FALSE(HasFileExt("/m.avi/clip", ".AVI"));
    EXPECT_FALSE(HasFileExt("avi", ".AVI"));
}

}  // namespace
}  // namespace velmora
