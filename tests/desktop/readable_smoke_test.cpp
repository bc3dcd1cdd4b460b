// The views under light and dark themes and through assistive technologies: every text readable,
// every control named, and the drive list telling which file system it means.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QStyle>
#include <QStyleFactory>
#include <cmath>
#include <map>
#include <set>

#include "DesktopProgram.h"

namespace scorvane::testing {
namespace {

double Luminance(QRgb colour) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) + 0.0722 * channel(qBlue(colour));
}

double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of the text drawn in a box against the colour behind it: the most common colour of the
// box's inside is the base, the pixel furthest from it is the text.
double TextContrast(QWidget& box) {
    const QImage image = box.grab().toImage();
    std::map<QRgb, int> counts;
    const QRect inside = image.rect().adjusted(4, 4, -image.height(), -4);  // no border, no arrow
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) ++counts[image.pixel(x, y)];
    }
    const QRgb base =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    double most = 1;
    for (const auto& [colour, count] : counts) most = std::max(most, Contrast(colour, base));
    return most;
}

// Draws the main window under each theme and checks the text of both lists against their base.
TEST(DesktopReadable, TheListsAreReadableUnderLightAndDarkThemes) {
    const QPalette light = QApplication::palette();
    const QString original = QApplication::style()->name();
    QPalette dark;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(45, 45, 45)},
                                       {QPalette::Base, QColor(30, 30, 30)},
                                       {QPalette::Button, QColor(50, 50, 50)},
                                       {QPalette::WindowText, QColor(Qt::white)},
                                       {QPalette::Text, QColor(Qt::white)},
                                       {QPalette::ButtonText, QColor(Qt::white)}})
        dark.setColor(role, colour);
    struct Theme {
        const char* style;
        QPalette palette;
    };
    // Adwaita-Dark draws a list box in its own dark colours unless the view draws every part of it.
    const Theme themes[] = {{"Fusion", light}, {"Fusion", dark}, {"Adwaita-Dark", light}};
    for (const Theme& theme : themes) {
        SCOPED_TRACE(theme.style);
        QStyle* style = QStyleFactory::create(QString::fromLatin1(theme.style));
        ASSERT_NE(style, nullptr) << "the " << theme.style << " style is missing: run tools/setup";
        QApplication::setStyle(style);
        QApplication::setPalette(theme.palette);
        {
            DesktopProgram app;
            for (const char* name : {"Combo1", "Drive1"}) {
                auto& box = app.Find<QComboBox>(app.MainView(), name);
                EXPECT_GE(TextContrast(box), 4.5) << name;
                EXPECT_GE(Contrast(box.view()->palette().color(QPalette::Text).rgb(),
                                   box.view()->palette().color(QPalette::Base).rgb()),
                          4.5)
                    << name << "'s drop-down";
            }
            if (const char* folder = std::getenv("SCORVANE_SHOTS"))
                app.MainView().grab().save(
                    QStringLiteral("%1/main-%2-%3.png")
                        .arg(QString::fromLocal8Bit(folder), QString::fromLatin1(theme.style))
                        .arg(theme.palette == dark ? QStringLiteral("dark") : QStringLiteral("light")));
        }
    }
    QApplication::setStyle(original);
    QApplication::setPalette(light);
}

// Every name and role in the accessible tree below an interface.
void Walk(QAccessibleInterface* node, std::set<std::pair<QString, QAccessible::Role>>& seen) {
    if (node == nullptr) return;
    seen.insert({node->text(QAccessible::Name), node->role()});
    for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), seen);
}

TEST(DesktopReadable, EveryControlOfTheMainWindowIsNamedForAssistiveTechnologies) {
    DesktopProgram app;
    Form1& form = app.program->form1();
    std::set<std::pair<QString, QAccessible::Role>> seen;
    Walk(QAccessible::queryAccessibleInterface(&app.MainView()), seen);
    const auto has = [&seen](const std::string& name, QAccessible::Role role) {
        return seen.contains({QString::fromStdString(name), role});
    };
    // The method list is announced by its label's caption, its choice being its value (Qt on Linux
    // would name it by its choice); the drive list is named by its choice.
    EXPECT_TRUE(has(form.Label1.caption, QAccessible::ComboBox));
    EXPECT_TRUE(has(app.dir.path(), QAccessible::ComboBox));
    QAccessibleInterface* methods = QAccessible::queryAccessibleInterface(&app.Find<QWidget>(app.MainView(), "Combo1"));
    EXPECT_EQ(methods->text(QAccessible::Value).toStdString(), form.Combo1.items[0]);
    ASSERT_EQ(methods->childCount(), 1);
    EXPECT_EQ(methods->child(0)->object(), app.Find<QComboBox>(app.MainView(), "Combo1").view());
    const auto labels = methods->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name).toStdString(), form.Label1.caption);
    EXPECT_EQ(app.Find<QWidget>(app.MainView(), "Drive1").accessibleDescription().toStdString(), form.Command2.caption);
    EXPECT_TRUE(has(form.Command2.caption, QAccessible::Button));
    EXPECT_TRUE(has(form.Label4.caption, QAccessible::CheckBox));
    EXPECT_TRUE(has(form.Command1.caption, QAccessible::Button));  // labels that act as buttons
    EXPECT_TRUE(has(form.Command3.caption, QAccessible::Button));
    EXPECT_EQ(app.Find<QComboBox>(app.MainView(), "Combo1").accessibleDescription().toStdString(),
              app.program->MethodDesc[0]);

    // Pressing the exposed button is a click on the label.
    int clicks = 0;
    form.Command3.onClick = [&clicks] { ++clicks; };
    QAccessibleInterface* command3 =
        QAccessible::queryAccessibleInterface(&app.Find<QWidget>(app.MainView(), "Command3"));
    ASSERT_NE(command3, nullptr);
    command3->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);
}

TEST(DesktopReadable, TheProgressWindowIsNamedByItsHeadingAndItsBarByTheProgressLine) {
    DesktopProgram app;
    Dialog& dialog = app.program->dialog();
    dialog.Label8.caption = "Wiping: notes.txt...\r50%";
    dialog.ImgBar.width = kBarFullWidth / 2;
    dialog.Show();
    app.desktop.Yield();
    QWidget& bar = app.Find<QWidget>(*app.desktop.ViewOf(dialog), "ImgBar");
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(&bar);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->role(), QAccessible::ProgressBar);
    EXPECT_EQ(node->text(QAccessible::Name), QStringLiteral("Wiping: notes.txt...\n50%"));
    EXPECT_EQ(node->valueInterface()->currentValue().toInt(), 50);
    // The window itself, which has no title bar, is named by its heading.
    const QString heading = QString::fromStdString(app.program->Lang[62] + " " + app.program->Lang[65]);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(app.desktop.ViewOf(dialog))->text(QAccessible::Name), heading);
    dialog.Unload();
}

TEST(DesktopReadable, TheDriveListShowsWholeMountPaths) {
    DesktopProgram app;
    const std::string deep = app.dir.path() + "/a-rather-long-folder-name/where-a-second-disk-is-mounted";
    app.drives.mounts = {app.dir.path(), deep};
    Form1& form = app.program->form1();
    form.Drive1.items = app.drives.mounts;
    form.Drive1.listIndex = 1;
    app.desktop.SyncAll();
    auto& drives = app.Find<QComboBox>(app.MainView(), "Drive1");
    EXPECT_EQ(drives.toolTip().toStdString(), deep);
    EXPECT_GE(drives.view()->minimumWidth(), drives.fontMetrics().horizontalAdvance(QString::fromStdString(deep)));
    EXPECT_EQ(app.Find<QWidget>(app.MainView(), "Command2").accessibleDescription().toStdString(), deep);
}

}  // namespace
}  // namespace scorvane::testing
