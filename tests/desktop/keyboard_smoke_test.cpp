// The main window at the keyboard: Tab reaches the two label buttons where they are read, the focus on
// one is framed, and Space and Enter click it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

#include "DesktopProgram.h"

namespace scorvane::testing {
namespace {

TEST(DesktopKeyboard, TabReachesTheLabelButtonsWhichShowTheFocusAndTakeSpaceAndEnter) {
    DesktopProgram app;
    QWidget& view = app.MainView();
    QApplication::setActiveWindow(&view);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    app.Find<QWidget>(view, "Combo1").setFocus();

    std::vector<std::string> order{"Combo1"};
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{"Combo1", "Command1", "Command3", "Drive1", "Command2", "Check1", "Combo1"}));

    // The focused label button is framed; the other one is drawn as before.
    auto& files = app.Find<QLabel>(view, "Command1");
    auto& folder = app.Find<QLabel>(view, "Command3");
    files.setFocus();
    const QImage framed = files.grab().toImage();
    folder.setFocus();
    const QImage plain = files.grab().toImage();
    EXPECT_NE(framed, plain);
    // A frame along the edge, in the text's colour, that the unfocused label does not have.
    const QColor text = files.palette().color(QPalette::WindowText);
    int framePixels = 0;
    for (int x = 0; x < framed.width(); ++x) {
        if (framed.pixelColor(x, 1) == text && plain.pixelColor(x, 1) != text) ++framePixels;
    }
    EXPECT_GT(framePixels, framed.width() / 4);

    Form1& form = app.program->form1();
    std::vector<std::string> clicks;
    form.Command1.onClick = [&clicks] { clicks.push_back("Command1"); };
    form.Command3.onClick = [&clicks] { clicks.push_back("Command3"); };
    QTest::keyClick(&files, Qt::Key_Space);
    QTest::keyClick(&folder, Qt::Key_Return);
    QTest::keyClick(&files, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&folder, Qt::Key_A);
    EXPECT_EQ(clicks, (std::vector<std::string>{"Command1", "Command3", "Command1"}));
}

}  // namespace
}  // namespace scorvane::testing
