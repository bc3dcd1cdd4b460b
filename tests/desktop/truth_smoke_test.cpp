// A run over a file that cannot be wiped, chosen in the real Qt picker and answered in the real message
// boxes, names the file at its end and never says "completed".
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>

#include "DesktopProgram.h"
#include "model/TextIndex.h"

namespace scorvane::testing {
namespace {

// Answers whatever modal window is up: the picker gets the typed names, a question Yes, a message OK.
class Answerer {
public:
    explicit Answerer(QString typed) {
        QObject::connect(&timer_, &QTimer::timeout, [this, typed] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* picker = qobject_cast<QFileDialog*>(modal)) {
                picker->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
                static_cast<QDialog*>(picker)->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                boxes.push_back(box->text().toStdString());
                QAbstractButton* yes = box->button(QMessageBox::Yes);
                (yes != nullptr ? yes : box->button(QMessageBox::Ok))->click();
            }
        });
        timer_.start(5);
    }
    std::vector<std::string> boxes;

private:
    QTimer timer_;
};

TEST(DesktopTruth, AFileThatCannotBeWipedIsNamedAtTheEndOfARunThroughTheRealWindows) {
    DesktopProgram app;
    const std::string folder = app.dir.path() + "/pick", locked = folder + "/locked.txt";
    MakeTree(folder, {"locked.txt"});
    if (!SetImmutable(locked, true)) GTEST_SKIP() << "no immutable files on this file system";
    struct Release {
        std::string path;
        ~Release() { SetImmutable(path, false); }
    } release{locked};
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder);  // where the picker opens

    for (const int method : {0, 2, 8}) {
        SCOPED_TRACE("method " + std::to_string(method));
        WriteBytes(folder + "/ok.txt", "wipe me");
        app.program->form1().Combo1.listIndex = method;
        Answerer answerer(QStringLiteral("\"locked.txt\" \"ok.txt\""));
        app.program->form1().Command1.onClick();

        EXPECT_EQ(ReadBytes(locked), "locked.txt");
        EXPECT_FALSE(PathExists(folder + "/ok.txt"));
        ASSERT_FALSE(answerer.boxes.empty());
        for (const auto& text : answerer.boxes) EXPECT_EQ(text.find("completed"), std::string::npos) << text;
        const std::string& last = answerer.boxes.back();
        EXPECT_TRUE(last.starts_with("Not everything could be destroyed. Items that remain: 1")) << last;
        EXPECT_NE(last.find(locked), std::string::npos) << last;
    }
    std::filesystem::current_path(before);
}

// A file that changed during its wipe is kept, but its passes may have overwritten it already: its
// message must not promise that it was left as it was.
TEST(DesktopTruth, TheMessageOfAFileChangedDuringItsWipeSaysItMayBeOverwritten) {
    DesktopProgram app;
    const std::string& text = app.program->Lang[Text::ChangedWhileWiped];
    EXPECT_NE(text.find("not deleted"), std::string::npos) << text;
    EXPECT_NE(text.find("overwritten"), std::string::npos) << text;
    EXPECT_EQ(text.find("left as it is"), std::string::npos) << text;
}

}  // namespace
}  // namespace scorvane::testing
