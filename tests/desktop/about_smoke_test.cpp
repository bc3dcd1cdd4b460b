// The about box's Qt view under the offscreen platform: drawn from its model, scrolling by its timer,
// and clicks and keys reaching the box's handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "DesktopProgram.h"
#include "desktop/ViewSupport.h"

namespace scorvane::testing {
namespace {

// The Qt desktop, except that shell opens are recorded instead of starting a browser.
class RecordingShell final : public WindowServices {
public:
    explicit RecordingShell(QtDesktop& desktop) : desktop_(desktop) {}
    int MessageBox(const std::string& t, int s, const std::string& c) override { return desktop_.MessageBox(t, s, c); }
    void Yield() override { desktop_.Yield(); }
    void Beep() override {}
    Result<CommandEnd> RunCommandLine(const std::string&) override { return MakeFailure(FailureNumber::FileNotFound); }
    void ShellOpen(const std::string& target) override { opened.push_back(target); }
    [[noreturn]] void EndProgram(int status = 0) override { desktop_.EndProgram(status); }
    double MonotonicSeconds() override { return desktop_.MonotonicSeconds(); }
    std::string PickFolder(const std::string& t, unsigned f) override { return desktop_.PickFolder(t, f); }
    std::vector<std::string> PickFiles(const std::string& t, const std::vector<FileFilter>& f, const std::string& i,
                                       bool m) override {
        return desktop_.PickFiles(t, f, i, m);
    }
    std::vector<std::string> opened;

private:
    QtDesktop& desktop_;
};

// The about box opened from the menu of a started program, with shell opens recorded.
struct AboutProgram : DesktopProgram {
    AboutProgram() : DesktopProgram([](QtDesktop& qt) { return std::make_unique<RecordingShell>(qt); }) {
        program->form1().mnuInfo.onClick();
        QApplication::processEvents();
    }
    QWidget* View() { return desktop.ViewOf(program->frmAboutUnloaded()); }
    QWidget* Child(const char* name) { return View()->findChild<QWidget*>(QString::fromLatin1(name)); }
    // Clicks the middle of a widget and lets the view settle.
    void Click(QWidget* widget) {
        ASSERT_NE(widget, nullptr);
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
        QApplication::processEvents();
    }
    bool MainShown() { return desktop.ViewOf(program->form1()) && desktop.ViewOf(program->form1())->isVisible(); }

    RecordingShell& shell = static_cast<RecordingShell&>(*windows);
};

TEST(AboutBoxSmoke, IsDrawnWithItsTextsAndScrollsItsPanel) {
    AboutProgram app;
    QWidget* view = app.View();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_FALSE(app.MainShown());
    EXPECT_EQ(view->windowTitle().toStdString(), app.program->Lang[9]);
    EXPECT_EQ(view->size(), QSize(425, 243));
    auto* version = view->findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Rel. 2.5.0.15"));
    auto* link = view->findChild<QLabel*>(QStringLiteral("lblHomePage"));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor);  // the program's own hand

    // Both pictures are drawn (many colours), and the panel lies inside Picture1.
    for (const char* name : {"Image1", "imgTitle"}) {
        const QPixmap picture = app.View()->findChild<QLabel*>(QString::fromLatin1(name))->pixmap();
        QSet<QRgb> colours;
        const QImage image = picture.toImage();
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
        }
        EXPECT_GT(colours.size(), 20) << name;
    }
    EXPECT_EQ(app.View()->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().size(), QSize(150, 120));
    EXPECT_EQ(app.View()->findChild<QLabel*>(QStringLiteral("imgTitle"))->pixmap().size(), QSize(77, 75));
    QWidget* panel = app.Child("Picture2");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->parentWidget(), app.Child("Picture1"));

    if (const char* folder = std::getenv("SCORVANE_SHOTS")) {
        app.program->frmAboutUnloaded().Picture2.top = -1920;  // where the panel rests
        app.desktop.Yield();
        view->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/about.png"));
        app.program->frmAboutUnloaded().Picture2.top = 2200;
        app.desktop.Yield();
    }
    const int before = panel->y();
    QTest::qWait(200);
    EXPECT_LT(panel->y(), before);
    EXPECT_EQ(panel->y(), TwipsToPixels(app.program->frmAboutUnloaded().Picture2.top));
}

TEST(AboutBoxSmoke, ClicksOnInertPartsKeepItTheLinkOpensTheHomePageAndATextClosesIt) {
    AboutProgram app;
    for (const char* name : {"Picture1", "Picture2", "Image1", "lblHomePageCap", "Frame1"}) {
        app.Click(app.Child(name));
        ASSERT_NE(app.View(), nullptr) << name;
        EXPECT_TRUE(app.program->frmAboutUnloaded().IsLoaded()) << name;
    }
    app.Click(app.Child("lblHomePage"));
    EXPECT_EQ(app.shell.opened, std::vector<std::string>{"https://scorvane.example.org"});
    EXPECT_TRUE(app.program->frmAboutUnloaded().IsLoaded());

    app.Click(app.Child("lblVersion"));
    EXPECT_FALSE(app.program->frmAboutUnloaded().IsLoaded());
    EXPECT_TRUE(app.MainShown());
}

TEST(AboutBoxSmoke, EscInPicture1TheSurfaceAndTheCloseButtonCloseIt) {
    const std::pair<const char*, std::function<void(AboutProgram&)>> ways[] = {
        {"Esc", [](AboutProgram& app) { QTest::keyClick(app.Child("Picture1"), Qt::Key_Escape); }},
        {"surface", [](AboutProgram& app) { QTest::mouseClick(app.View(), Qt::LeftButton, {}, QPoint(415, 10)); }},
        {"close button", [](AboutProgram& app) { app.View()->close(); }},
    };
    for (const auto& [what, close] : ways) {
        SCOPED_TRACE(what);
        AboutProgram app;
        QTest::keyClick(app.Child("Picture1"), Qt::Key_A);
        ASSERT_TRUE(app.program->frmAboutUnloaded().IsLoaded());
        close(app);
        QApplication::processEvents();
        EXPECT_FALSE(app.program->frmAboutUnloaded().IsLoaded());
        EXPECT_TRUE(app.MainShown());
    }
}

}  // namespace
}  // namespace scorvane::testing
