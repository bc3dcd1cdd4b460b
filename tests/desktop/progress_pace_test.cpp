// What a wipe costs the real progress window: each widget's font, palette and pointer are applied once,
// repaints keep to the display's pace instead of following every yield, the last state of a run is what
// was drawn last, and a yield still runs the event loop, so a click on Cancel stops the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <map>
#include <utility>

#include "DesktopProgram.h"
#include "desktop/ViewSupport.h"
#include "engine/OneFileWipe.h"
#include "engine/ProgressWindow.h"
#include "ui/DestroyFolderCommand.h"

namespace scorvane::testing {
namespace {

// Watches every event of the progress window's widgets, named by their controls.
class ViewSpy final : public QObject {
public:
    ViewSpy() { qApp->installEventFilter(this); }
    ~ViewSpy() override { qApp->removeEventFilter(this); }

    std::map<QString, int> fonts, palettes, pointers;
    int windowPaints = 0;
    std::map<QString, QString> lastPaintedText;

private:
    bool echo_ = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A window passes its platform window's pointer changes on to its widget: those are echoes.
        if (watched->isWindowType() && event->type() == QEvent::CursorChange) echo_ = true;
        if (!watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        const QString name = widget->objectName();  // none while Qt builds the widget
        if (widget->window()->objectName() != QStringLiteral("Dialog") || name.isEmpty()) return false;
        switch (event->type()) {
            case QEvent::FontChange:
                ++fonts[name];
                break;
            case QEvent::PaletteChange:
                ++palettes[name];
                break;
            case QEvent::CursorChange:
                if (!std::exchange(echo_, false)) ++pointers[name];
                break;
            case QEvent::Paint:
                if (widget->isWindow()) ++windowPaints;
                if (auto* label = qobject_cast<QLabel*>(widget)) lastPaintedText[name] = label->text();
                break;
            default:
                break;
        }
        return false;
    }
};

// Runs `seen` for every event of the application.
class EventWatch final : public QObject {
public:
    explicit EventWatch(std::function<void(QObject*, QEvent*)> seen) : seen_(std::move(seen)) {
        qApp->installEventFilter(this);
    }
    ~EventWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        seen_(watched, event);
        return false;
    }

private:
    std::function<void(QObject*, QEvent*)> seen_;
};

// Nobody is there to answer a message box: each one is noted and closed.
class BoxCloser final {
public:
    BoxCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible()) {
                    texts.push_back(box->text());
                    box->done(QMessageBox::Ok);
                }
            }
        });
        timer_.start(10);
    }
    std::vector<QString> texts;

private:
    QTimer timer_;
};

TEST(ProgressPace, AWipeAppliesEachLookOnceRepaintsAtTheDisplaysPaceAndDrawsItsLastState) {
    DesktopProgram app;
    Program& program = *app.program;
    const std::string path = app.dir.path() + "/five.bin";
    WriteBytes(path, std::string(5 * 1024, 'x'));

    ViewSpy spy;
    QElapsedTimer clock;
    clock.start();
    WipeFile(program, path, 5);  // seven passes of a hundred chunks, each chunk a yield
    const qint64 elapsedMs = clock.elapsed();
    EXPECT_FALSE(PathExists(path));

    for (const auto* counts : {&spy.fonts, &spy.palettes, &spy.pointers}) {
        for (const auto& [name, count] : *counts) EXPECT_LE(count, 1) << name.toStdString();
    }
    EXPECT_FALSE(spy.fonts.empty());
    EXPECT_FALSE(spy.pointers.empty());
    // The first show, a repaint a frame (about 15 ms) and the last one; 700 yields would be 700.
    EXPECT_LE(spy.windowPaints, 4 + 2 * elapsedMs / 15) << elapsedMs << " ms";

    // The run's last state is on the window when it goes, however soon after the last repaint that is.
    UnloadDialogIfLoaded(program);
    QApplication::processEvents();
    EXPECT_EQ(spy.lastPaintedText[QStringLiteral("Label8")].toStdString(), "Wiping: five.bin...\n100% (Pass 7)");
}

TEST(ProgressPace, AFolderRunHasItsProgressWindowOnTheScreenBeforeItWipesItsFirstFile) {
    DesktopProgram app;
    Program& program = *app.program;
    const std::string folder = app.dir.path() + "/flat";
    std::vector<std::string> names;
    for (int i = 0; i < 50; ++i) names.push_back("f" + std::to_string(i));
    MakeTree(folder, names);

    // The files still there when the progress window is first painted.
    std::size_t filesAtFirstPaint = 0;
    bool painted = false;
    EventWatch watch([&](QObject* watched, QEvent* event) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (painted || event->type() != QEvent::Paint || widget == nullptr || !widget->isWindow() ||
            widget->objectName() != QStringLiteral("Dialog")) {
            return;
        }
        painted = true;
        filesAtFirstPaint = FolderEntries(folder).size();
    });
    program.form1().Combo1.listIndex = 0;
    program.form1().FolderToWipe = folder;
    Command3_Click(program);
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(painted);
    EXPECT_EQ(filesAtFirstPaint, names.size());
}

// Posts itself again at each turn of the event loop and runs `last` at its `turns`-th turn.
void AtTurn(int turns, std::function<void()> last) {
    QTimer::singleShot(0, [turns, last = std::move(last)]() mutable {
        if (turns <= 1) {
            last();
        } else {
            AtTurn(turns - 1, std::move(last));
        }
    });
}

TEST(ProgressPace, YieldsKeepTurningTheEventLoopSoACancelClickStopsTheRun) {
    DesktopProgram app;
    Program& program = *app.program;
    const std::string path = app.dir.path() + "/large.bin";
    WriteBytes(path, std::string(8 << 20, 'x'));

    BoxCloser boxes;
    // Clicked at the third turn of the event loop, well inside the run's first pass.
    AtTurn(3, [&app, &program] {
        if (QWidget* view = app.desktop.ViewOf(program.dialogUnloaded())) {
            app.Find<QPushButton>(*view, "CancelButton").click();
        }
    });
    WipeFile(program, path, 5);

    EXPECT_EQ(program.CancelFlag, 1);
    EXPECT_TRUE(PathExists(path));  // stopped: never cut nor deleted
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], ToDisplay(program.Lang[27]));
}

}  // namespace
}  // namespace scorvane::testing
