// What the real Qt file picker hands over is what the user named: names typed into its name field reach
// the run even when its list shows another folder or holds another selection.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>

#include "DesktopProgram.h"

namespace scorvane::testing {
namespace {

// Answers the modal windows as a user at the keyboard: types the next of `attempts` into the picker's
// name field and presses Enter (an empty attempt presses Escape), answers a question Yes and a message
// OK, and keeps what each box said. A picker that stays open gets the next attempt.
class Typist {
public:
    explicit Typist(std::deque<std::string> attempts) : attempts_(std::move(attempts)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* picker = qobject_cast<QFileDialog*>(modal); picker != nullptr && ready_ && !attempts_.empty()) {
                ready_ = false;
                const QString typed = QString::fromStdString(attempts_.front());
                attempts_.pop_front();
                auto* field = picker->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                // Typed after this tick, since the picker may answer with a modal message of its own.
                QTimer::singleShot(0, field, [this, picker, field, typed] {
                    field->setFocus();
                    QTest::keyClicks(field, typed);
                    QTest::keyClick(field, typed.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
                    ready_ = picker->isVisible();
                });
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
    std::deque<std::string> attempts_;
    bool ready_ = true;
    QTimer timer_;
};

// `"a" "b" "c"`, as Qt's picker reads several names.
std::string Quoted(const std::string& folder, const std::vector<std::string>& names) {
    std::string typed;
    for (const std::string& name : names) typed += (typed.empty() ? "\"" : " \"") + folder + "/" + name + "\"";
    return typed;
}

TEST(DesktopTypedNames, EveryTypedNameIsWipedOrThePickerStaysOpen) {
    DesktopProgram app;
    const std::string top = app.dir.path() + "/top", deep = top + "/a/b";
    const auto before = std::filesystem::current_path();
    std::filesystem::create_directories(top);
    std::filesystem::current_path(top);  // where the picker opens: two folders above the files
    struct Row {
        const char* what;
        std::deque<std::string> attempts;
        std::vector<std::string> wiped;
        std::vector<std::string> boxes;  // what each box says, from its start
    };
    const std::string completed = app.program->Lang[17], question = app.program->Lang[12];
    const Row rows[] = {
        {"three files two folders down",
         {Quoted(deep, {"x.txt", "ok.txt", "z.txt"})},
         {"x.txt", "ok.txt", "z.txt"},
         {question, completed}},
        // A name that names no file keeps the picker open with Qt's own message, and a folder's name opens
        // that folder; then the user cancels.
        {"one name missing", {Quoted(deep, {"x.txt", "gone.txt", "z.txt"}), ""}, {}, {"gone.txt\nFile not found."}},
        {"a folder among the names", {Quoted(deep, {"x.txt"}) + " \"" + top + "/a\"", ""}, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MakeTree(deep, {"x.txt", "ok.txt", "z.txt"});
        Typist typist(row.attempts);
        app.program->form1().Command1.onClick();

        for (const char* name : {"x.txt", "ok.txt", "z.txt"}) {
            const bool wiped = std::find(row.wiped.begin(), row.wiped.end(), name) != row.wiped.end();
            EXPECT_EQ(PathExists(deep + "/" + name), !wiped) << name;
        }
        ASSERT_EQ(typist.boxes.size(), row.boxes.size());
        for (std::size_t i = 0; i < row.boxes.size(); ++i)
            EXPECT_TRUE(typist.boxes[i].starts_with(row.boxes[i])) << typist.boxes[i];
    }
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace scorvane::testing
