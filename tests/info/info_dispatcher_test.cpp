#include <gtest/gtest.h>

#include "info/info_dispatcher.h"
#include "tests/support/sample_files.h"
#include "tests/support/temp_dir.h"

namespace velmora {
namespace {

class DispatcherTest : public ::testing::Test {
protected:
    DispatcherTest() : dispatcher(io) {
        dispatcher.fillPreview = [this](const std::string& path) { previewFills.push_back(path); };
        bmpA = dir.WriteFile("a.bmp", test::TinyBmp(640, 480));
        bmpB = dir.WriteFile("b.bmp", test::TinyBmp(32, 16));
    }

    std::string CommonValue(int row) { return dispatcher.Session().CommonInfoList.Row(row).SubItem(0); }
    void Select(const std::string& name, bool selected = true) {
        dispatcher.FileListView1SelectItem(dir.Path(), name, selected);
    }

    test::TempDir dir;
    std::string bmpA, bmpB;
    TImageIO io;
    TInfoDispatcher dispatcher;
    std::vector<std::string> previewFills;
};

TEST_F(DispatcherTest, SelectionReadsTheFileFillsThePreviewAndListsThePages) {
    Select("a.bmp");
    EXPECT_EQ(dispatcher.CurrentFile(), bmpA);
    EXPECT_EQ(io.Params.FileType, 5);
    EXPECT_EQ(io.Params.FileName, bmpA);
    EXPECT_EQ(previewFills, std::vector<std::string>{bmpA});
    EXPECT_EQ(CommonValue(0), "a.bmp");
    EXPECT_EQ(CommonValue(1), "Windows Bitmap (BMP) ver.3");
}

TEST_F(DispatcherTest, DeselectionAndReselectionOfTheCurrentFileDoNothing) {
    Select("a.bmp");
    Select("b.bmp", false);
    EXPECT_EQ(dispatcher.CurrentFile(), bmpA);
    Select("a.bmp");
    EXPECT_EQ(previewFills.size(), 1u);
}

TEST_F(DispatcherTest, FolderChangeEmptiesThePagesAndTheSameFileStaysEmpty) {
    Select("a.bmp");
    dispatcher.Session().SpecialInfoList.AddRow("X", {"1", "help"});
    dispatcher.Session().ExifValueListEditor.InsertRow("EXIF_Make", "Cam");
    dispatcher.Session().ExifValueListEditor.InsertRow("", "kept");
    dispatcher.DirectoryTreeView1Change();

    EXPECT_EQ(dispatcher.CurrentFile(), bmpA);
    for (int row = 0; row < 9; ++row) EXPECT_EQ(CommonValue(row), "") << row;
    EXPECT_EQ(dispatcher.Session().CommonInfoList.Row(0).caption, "FileName");
    EXPECT_EQ(dispatcher.Session().SpecialInfoList.RowCount(), 0);
    // Rows with an empty key survive the clearing of an editor.
    ASSERT_EQ(dispatcher.Session().ExifValueListEditor.RowCount(), 2);
    EXPECT_EQ(dispatcher.Session().ExifValueListEditor.Row(1).value, "kept");

    Select("a.bmp");  // already current: nothing is re-listed
    EXPECT_EQ(CommonValue(0), "");
    Select("b.bmp");
    EXPECT_EQ(CommonValue(0), "b.bmp");
}

TEST_F(DispatcherTest, UnknownFormatBecomesCurrentButThePagesKeepThePreviousFile) {
    Select("a.bmp");
    dir.WriteFile("notes.txt", "hello");
    Select("notes.txt");
    EXPECT_EQ(dispatcher.CurrentFile(), dir.Path() + "notes.txt");
    EXPECT_EQ(CommonValue(0), "a.bmp");
    EXPECT_EQ(previewFills.size(), 1u);
}

TEST(FileQualifiesTest, KnownExtensionsAndAviInAnyCase) {
    struct Case {
        const char* path;
        bool qualifies;
    };
    const Case cases[] = {
        {"/a/b.JPEG", true}, {"/a/b.jpg", true}, {"/a/clip.avi", true}, {"/a/clip.AvI", true},
        {"/a/doc.pdf", false}, {"/a/page.ps", false}, {"/a/noext", false}, {"/a.jpg/noext", false},
        {"/a/x.txt", false},
    };
    for (const auto& c : cases) EXPECT_EQ(FileQualifies(c.path), c.qualifies) << c.path;
}

TEST_F(DispatcherTest, HintFollowsTheRowUnderTheMouse) {
    ReportList list;
    list.AddRow("A", {"1", "help A"});
    list.AddRow("B", {"2", "help B"});
    list.AddSeparator();

    HintUpdate first = dispatcher.InfoListMouseMove(list, 0);
    EXPECT_EQ(first.hintText, "help A");
    EXPECT_FALSE(first.cancelShownHint);  // the remembered row starts as 0
    HintUpdate same = dispatcher.InfoListMouseMove(list, 0);
    EXPECT_FALSE(same.cancelShownHint);
    HintUpdate other = dispatcher.InfoListMouseMove(list, 1);
    EXPECT_TRUE(other.cancelShownHint);
    EXPECT_EQ(other.hintText, "help B");
    EXPECT_EQ(dispatcher.HintRowIndex(), 1);

    HintUpdate separator = dispatcher.InfoListMouseMove(list, 2);
    EXPECT_TRUE(separator.cancelShownHint);
    EXPECT_EQ(separator.hintText, "");
    EXPECT_EQ(dispatcher.HintRowIndex(), -1);
    dispatcher.InfoListMouseMove(list, 1);
    HintUpdate below = dispatcher.InfoListMouseMove(list, -1);
    EXPECT_TRUE(below.cancelShownHint);
    EXPECT_EQ(dispatcher.HintRowIndex(), -1);
}

}  // namespace
}  // namespace velmora
