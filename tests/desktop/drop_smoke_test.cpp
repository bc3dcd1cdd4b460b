// Drops on the real main window view: local files and folders reach the drop handler of the control
// under the pointer, or of the window, as a drop of all three effects; anything else is refused.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include "DesktopProgram.h"

namespace scorvane::testing {
namespace {

struct Received {
    std::string target;
    std::vector<std::string> paths;
    int effect = 0;
};

// A drag entering `widget` at `at` and dropped there; true when the drag was taken.
bool DragAndDrop(QWidget& widget, QPoint at, const QList<QUrl>& urls, Qt::DropActions actions) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &enter);
    const bool taken = enter.isAccepted();
    if (taken) {
        EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    }
    QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &drop);
    QApplication::processEvents();  // the run starts once the drop is over
    return taken;
}

TEST(DesktopDrop, LocalFilesReachTheDropHandlerUnderThePointerWithAllThreeEffects) {
    DesktopProgram app;
    Form1& form = app.program->form1();
    std::vector<Received> received;
    auto recorder = [&received](const char* target) {
        return [&received, target](const std::vector<std::string>& paths, int& effect) {
            received.push_back({target, paths, effect});
        };
    };
    form.onOLEDragDrop = recorder("Form1");
    form.Label9.onOLEDragDrop = recorder("Label9");
    form.Combo1.onOLEDragDrop = recorder("Combo1");

    // A name that is not UTF-8 arrives byte for byte.
    const std::string odd = app.dir.path() + "/caf\xE9.bin";
    WriteBytes(odd, "x");
    const QUrl oddUrl = QUrl::fromEncoded("file://" + QByteArray::fromStdString(odd).toPercentEncoding("/"));
    const QUrl folderUrl = QUrl::fromLocalFile(QString::fromStdString(app.dir.path() + "/Files/"));
    const std::vector<std::string> both{odd, app.dir.path() + "/Files"};

    struct Row {
        const char* widget;
        QPoint at;  // empty: the widget's centre
        QList<QUrl> urls;
        Qt::DropActions actions;
        const char* target;  // empty: refused
    };
    const Row rows[] = {
        {"Form1Surface", QPoint(4, 4), {oddUrl, folderUrl}, Qt::CopyAction | Qt::MoveAction, "Form1"},
        {"Label9", QPoint(), {oddUrl, folderUrl}, Qt::MoveAction | Qt::CopyAction | Qt::LinkAction, "Label9"},
        {"Combo1", QPoint(), {oddUrl, folderUrl}, Qt::CopyAction, "Combo1"},
        {"Command1", QPoint(), {oddUrl, folderUrl}, Qt::CopyAction, ""},  // takes no drops
        {"Form1Surface", QPoint(4, 4), {QUrl(QStringLiteral("https://example.org/a.bin"))}, Qt::CopyAction, ""},
        {"Form1Surface", QPoint(4, 4), {oddUrl, QUrl(QStringLiteral("sftp://host/b.bin"))}, Qt::CopyAction, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.widget) + " -> " + row.target);
        received.clear();
        QWidget& widget = app.Find(app.MainView(), row.widget);
        const QPoint at = row.at.isNull() ? widget.rect().center() : row.at;
        const bool taken = DragAndDrop(widget, at, row.urls, row.actions);
        EXPECT_EQ(taken, *row.target != '\0');
        if (*row.target == '\0') {
            EXPECT_TRUE(received.empty());
            continue;
        }
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].target, row.target);
        EXPECT_EQ(received[0].paths, both);
        EXPECT_EQ(received[0].effect, 7);
    }
    EXPECT_EQ(ReadBytes(odd), "x");
}

}  // namespace
}  // namespace scorvane::testing
