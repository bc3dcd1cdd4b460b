#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "startup/PathHelpers.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

TEST(PathHelpers, IsFolderIsTrueOnlyForARealFolder) {
    TestBed bed;
    std::filesystem::create_directory(bed.Work("sub"));
    WriteBytes(bed.Work("file.txt"), "x");
    ASSERT_EQ(::symlink(bed.Work("sub").c_str(), bed.Work("linkToSub").c_str()), 0);
    const std::pair<std::string, bool> rows[] = {
        {bed.Work("sub"), true},
        {bed.Work("sub/"), true},
        {bed.Work("sub//"), true},
        {bed.Work("sub/../sub"), true},
        {"/", true},
        {bed.Work("file.txt"), false},
        {bed.Work("file.txt/"), false},
        {bed.Work("missing"), false},
        {bed.Work("missing/"), false},
        {bed.Work("linkToSub"), false},
        {bed.Work("linkToSub/"), false},
        {"", false},
        {bed.Work("sub") + std::string(1, '\0') + "x", false},
    };
    for (const auto& [path, expected] : rows) EXPECT_EQ(IsFolder(bed.program(), path), expected) << path;
}

TEST(PathHelpers, BrowseForFolderFlagsFollowTheModeExactly) {
    const std::pair<double, unsigned> rows[] = {{1, 0x1},    {2, 0x2}, {3, 0x4}, {4, 0x8}, {5, 0x1000},
                                                {6, 0x2000}, {2.5, 0}, {7, 0},   {0, 0},   {-1, 0}};
    TestBed bed;
    FakeDesktop& desktop = bed.desktop;
    for (const auto& [mode, flags] : rows) {
        desktop.folderAnswers.push_back("/chosen");
        EXPECT_EQ(BrowseForFolder(bed.program(), "Pick one", mode), "/chosen");
        EXPECT_EQ(desktop.folderFlags.back(), flags) << mode;
        EXPECT_EQ(desktop.pickerTitles.back(), "Pick one");
    }
    desktop.folderAnswers.push_back("");
    EXPECT_EQ(BrowseForFolder(bed.program(), "Pick one", 3), "");
}

// Qt shows a name that is not UTF-8 with U+FFFD in place of its bad bytes; a sibling whose name really
// holds U+FFFD looks the same. Such a pick is refused with a box and never taken for another name.
TEST(PathHelpers, APickedPathHoldingTheReplacementCharacterIsRefused) {
    TestBed bed;
    bed.UseMarkerTexts();
    const std::string shown = bed.Work("bad\xEF\xBF\xBD");
    WriteBytes(bed.Work("bad\xFF"), "not UTF-8");
    WriteBytes(shown, "a real U+FFFD");
    const char raw[] = "All\0*.*\0";
    const std::string filter(raw, sizeof raw - 1);

    bed.desktop.folderAnswers = {shown};
    EXPECT_EQ(BrowseForFolder(bed.program(), "Folder", 1), "");
    bed.desktop.fileAnswers = {{bed.Work("good.txt"), shown}};
    EXPECT_EQ(OpenFileDialog(bed.program(), 1, "Files", "", filter, bed.Work(""), "*.*"), "");
    ASSERT_EQ(bed.desktop.messages.size(), 2u);
    for (const MessageRecord& box : bed.desktop.messages) {
        EXPECT_EQ(box.text, "L83\r" + shown);
        EXPECT_EQ(box.style, MessageStyle::Exclamation);
        EXPECT_EQ(box.title, "L28");
    }
    EXPECT_EQ(ReadBytes(bed.Work("bad\xFF")), "not UTF-8");
    EXPECT_EQ(ReadBytes(shown), "a real U+FFFD");
}

std::string Dialog(TestBed& bed, int mode, std::vector<std::string> answer) {
    bed.desktop.fileAnswers.push_back(std::move(answer));
    const char raw[] = "Language\0*.lng\0All\0*.*\0";
    const std::string filter(raw, sizeof raw - 1);
    return OpenFileDialog(bed.program(), mode, "Title", "", filter, "/start", "lng");
}

TEST(PathHelpers, OpenFileDialogGivesNothingForOtherModesAndForACancel) {
    TestBed bed;
    for (const int mode : {0, 2, -1, 3}) {
        EXPECT_EQ(OpenFileDialog(bed.program(), mode, "Title", "", "", "/start", "lng"), "") << mode;
    }
    EXPECT_TRUE(bed.desktop.pickerTitles.empty());
    EXPECT_EQ(Dialog(bed, 1, {}), "");  // cancelled
    EXPECT_EQ(bed.desktop.pickerTitles.size(), 1u);
}

TEST(PathHelpers, OpenFileDialogBufferForms) {
    const std::string nul(1, '\0');
    struct Row {
        std::vector<std::string> chosen;
        std::string content;  // the buffer without its NUL padding
    };
    std::vector<std::string> many;
    std::string manyContent = "/A" + nul;
    for (int i = 0; i < 30; ++i) {
        many.push_back("/A/a-rather-long-file-name-" + std::to_string(i) + ".txt");
        manyContent += many.back().substr(3) + nul;
    }
    const std::string longPath = "/" + std::string(299, 'p');
    const Row rows[] = {
        {{"/A/b.txt"}, "/A/b.txt"},
        {{"/A/b.txt", "/A/c.txt"}, "/A" + nul + "b.txt" + nul + "c.txt" + nul},
        {{"/b.txt", "/c.txt"}, "/" + nul + "b.txt" + nul + "c.txt" + nul},
        {{"/" + std::string(248, 'q')}, "/" + std::string(248, 'q')},
        {{"/" + std::string(249, 'q')}, "/" + std::string(249, 'q')},
        {{longPath}, longPath},
        {many, manyContent},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen.front() + " and " + std::to_string(row.chosen.size() - 1) + " more");
        TestBed bed;
        const std::string buffer = Dialog(bed, 1, row.chosen);
        // At least 250 characters, and one NUL more than the answer needs when it is longer.
        const std::size_t length = std::max<std::size_t>(250, row.content.size() + 1);
        EXPECT_EQ(buffer.size(), length);
        EXPECT_EQ(buffer.substr(0, row.content.size()), row.content);
        EXPECT_EQ(buffer.find_first_not_of('\0', row.content.size()), std::string::npos);
        if (row.chosen.size() > 1) {
            EXPECT_TRUE(buffer.ends_with(nul + nul));
        }
        EXPECT_EQ(bed.desktop.pickerTitles, std::vector<std::string>{"Title"});
        const std::vector<FileFilter> filters = {{"Language", "*.lng"}, {"All", "*.*"}};
        EXPECT_EQ(bed.desktop.fileFilters.back(), filters);
    }
}

}  // namespace
}  // namespace scorvane::testing
