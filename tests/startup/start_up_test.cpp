#include <gtest/gtest.h>

#include "startup/Settings.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

TEST(StartUp, StoredMethodAndLanguageAreRestoredAndWrittenBack) {
    TestBed bed;
    bed.InstallShippedLanguage("German.lng");
    WriteBytes(bed.ProgramFolder() + "/Scorvane.ini", "3\r\nGerman.lng\r\n");

    Main(bed.program());

    Form1& form = bed.program().form1();
    EXPECT_EQ(form.Combo1.listIndex, 3);
    EXPECT_EQ(bed.program().LangFile, "German.lng");
    EXPECT_EQ(form.Combo1.items.size(), 9u);
    EXPECT_EQ(form.Label9.caption, bed.program().MethodDesc[3]);
    EXPECT_FALSE(form.Label9.caption.empty());
    EXPECT_TRUE(form.visible);
    EXPECT_EQ(form.caption, "Scorvane 2.5.0.15");
    EXPECT_EQ(ReadBytes(bed.ProgramFolder() + "/Scorvane.ini"), "3\r\nGerman.lng\r\n");
}

}  // namespace
}  // namespace scorvane::testing
