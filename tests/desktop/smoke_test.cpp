// The real Qt views under the offscreen platform: drawn from their models, and user input reaching the
// program's handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "DesktopProgram.h"

namespace scorvane::testing {
namespace {

// True when the picture has more than a handful of colours: something was drawn. With
// SCORVANE_SHOTS set to a folder, the picture is also saved there to be looked at.
bool LooksDrawn(const QImage& image, const char* name) {
    if (const char* folder = std::getenv("SCORVANE_SHOTS"))
        image.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 7) colours.insert(image.pixel(x, y));
    }
    return colours.size() > 20;
}

TEST(DesktopSmoke, MainWindowIsDrawnWithItsTextsAndControls) {
    DesktopProgram app;
    QWidget& view = app.MainView();
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Scorvane 2.5.0.15"));
    EXPECT_TRUE(LooksDrawn(view.grab().toImage(), "main"));

    auto& combo = app.Find<QComboBox>(view, "Combo1");
    EXPECT_EQ(combo.count(), 9);
    EXPECT_EQ(combo.currentIndex(), 0);
    auto& drives = app.Find<QComboBox>(view, "Drive1");
    EXPECT_EQ(drives.currentText().toStdString(), app.dir.path());
    auto& description = app.Find<QLabel>(view, "Label9");
    EXPECT_EQ(description.text().toStdString(), app.program->MethodDesc[0]);
}

TEST(DesktopSmoke, ChoosingInTheComboBoxReachesTheMethodChoice) {
    DesktopProgram app;
    auto& combo = app.Find<QComboBox>(app.MainView(), "Combo1");
    combo.setFocus();
    QTest::keyClick(&combo, Qt::Key_End);
    QApplication::processEvents();

    Form1& form = app.program->form1();
    EXPECT_EQ(form.Combo1.listIndex, 8);
    EXPECT_EQ(form.Label9.caption, app.program->MethodDesc[8]);
    EXPECT_EQ(form.Label9.font.size, 10);
    EXPECT_EQ(ReadBytes(app.dir.path() + "/Scorvane.ini"), "8\r\nEnglish.lng\r\n");
    EXPECT_EQ(app.Find<QLabel>(app.MainView(), "Label9").text().toStdString(), app.program->MethodDesc[8]);
}

TEST(DesktopSmoke, ClickOnTheShutDownTextTogglesTheOptionAndHoverHighlights) {
    DesktopProgram app;
    auto& text = app.Find<QLabel>(app.MainView(), "Label4");
    QTest::mouseClick(&text, Qt::LeftButton);
    EXPECT_EQ(app.program->form1().Check1.value, 1);
    EXPECT_TRUE(app.Find<QCheckBox>(app.MainView(), "Check1").isChecked());

    auto& files = app.Find<QLabel>(app.MainView(), "Command1");
    const QPoint before = files.pos();
    QTest::mouseMove(&files, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(app.program->form1().Command1.foreColor, Palette::White);
    EXPECT_EQ(files.pos(), before + QPoint(1, 1));  // 20 twips
}

TEST(DesktopSmoke, ProgressWindowIsDrawnAndCancelAndEscapeStopTheRun) {
    DesktopProgram app;
    Dialog& dialog = app.program->dialog();
    dialog.Label8.caption = "Wiping: holiday-photos.tar...\r50% (" + app.program->Lang[69] + " 3)";
    dialog.Label9.visible = true;
    dialog.ImgBar.width = 3195;
    dialog.Show();
    app.desktop.Yield();
    QWidget* view = app.desktop.ViewOf(dialog);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_FALSE(view->windowFlags() & Qt::WindowTitleHint && !(view->windowFlags() & Qt::FramelessWindowHint));
    EXPECT_TRUE(LooksDrawn(view->grab().toImage(), "progress"));
    EXPECT_EQ(app.program->CancelFlag, 0);

    auto& cancel = app.Find<QPushButton>(*view, "CancelButton");
    cancel.click();
    EXPECT_EQ(app.program->CancelFlag, 1);
    EXPECT_EQ(dialog.Label9.caption, app.program->Lang[64]);

    app.program->CancelFlag = 0;
    cancel.setFocus();
    QTest::keyClick(&cancel, Qt::Key_Escape);
    EXPECT_EQ(app.program->CancelFlag, 1);

    app.program->CancelFlag = 0;
    view->close();  // closing it by any means is a stop request
    EXPECT_EQ(app.program->CancelFlag, 1);
    EXPECT_TRUE(dialog.IsLoaded());

    dialog.Unload();
    QApplication::processEvents();
    EXPECT_EQ(app.desktop.ViewOf(dialog), nullptr);
}

TEST(DesktopSmokeDeathTest, TheCloseButtonEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The ended program makes its temporary folder in a folder of this test's, where none is left. The
    // child runs this test again from its start: it finds the folder in its environment.
    const bool parent = std::getenv("SCORVANE_DEATH_FOLDER") == nullptr;
    const char* before = std::getenv("TMPDIR");
    const std::string kept = before != nullptr ? before : "";
    std::string folder = "/tmp/scorvane-death-XXXXXX";
    if (parent) {
        ASSERT_NE(::mkdtemp(folder.data()), nullptr);
        ::setenv("SCORVANE_DEATH_FOLDER", folder.c_str(), 1);
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    EXPECT_EXIT(
        {
            DesktopProgram app;
            app.MainView().close();
            std::_Exit(0);  // not reached when closing ends the program
        },
        ::testing::ExitedWithCode(kEndedCode), "");
    ::unsetenv("SCORVANE_DEATH_FOLDER");
    if (before != nullptr) {
        ::setenv("TMPDIR", kept.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
    for (const std::string& name : FolderEntries(folder)) EXPECT_FALSE(name.starts_with("scorvane-test-"));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
}  // namespace scorvane::testing

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
