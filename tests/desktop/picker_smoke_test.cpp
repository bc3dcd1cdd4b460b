// The real Qt pickers under the offscreen platform: every file is listed, dot-files and names without a
// dot included, and the chosen entry comes back as it is.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include "DesktopProgram.h"

namespace scorvane::testing {
namespace {

struct Seen {
    std::set<std::string> listed;  // the names the picker's list shows, enabled
    QStringList filters;
};

// Once the picker is up and has listed `expected` entries, records what it shows and chooses `path`.
void AnswerPicker(Seen& seen, int expected, const QString& path) {
    auto* answer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    QObject::connect(answer, &QTimer::timeout, [&seen, expected, path, answer, waited] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        auto* list = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
        // The listing fills in the background; a picker that lists fewer entries is read after 3 s.
        if (list == nullptr || (list->model()->rowCount(list->rootIndex()) < expected && ++*waited < 300)) return;
        answer->stop();
        answer->deleteLater();
        const QAbstractItemModel& model = *list->model();
        for (int row = 0; row < model.rowCount(list->rootIndex()); ++row) {
            const QModelIndex index = model.index(row, 0, list->rootIndex());
            if (model.flags(index) & Qt::ItemIsEnabled) seen.listed.insert(index.data().toString().toStdString());
        }
        auto* filterBox = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; filterBox != nullptr && i < filterBox->count(); ++i) seen.filters << filterBox->itemText(i);
        if (const char* folder = std::getenv("SCORVANE_SHOTS"))
            dialog->grab().save(QString::fromLocal8Bit(folder) +
                                QStringLiteral("/picker-%1.png").arg(QFileInfo(path).fileName()));
        // Typed as the user would: selectFile() leaves a focused name field alone.
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own accept() checks the choice
    });
    answer->start(10);
}

TEST(DesktopPicker, TheFilePickerListsEveryFileAndHandsBackTheOneChosen) {
    DesktopProgram app;
    const std::string folder = app.dir.path() + "/pick";
    MakeTree(folder, {".secret", "id_rsa", "noext", "README", "keep.txt", "sub/"});
    for (const auto& [description, pattern, chosen] :
         {std::tuple{"All files (*.*)", "*.*", "noext"}, std::tuple{"Texts", "*.txt;*.*", ".secret"}}) {
        SCOPED_TRACE(pattern);
        Seen seen;
        AnswerPicker(seen, 6, QString::fromStdString(folder + "/" + chosen));
        const auto paths = app.desktop.PickFiles("Choose", {{description, pattern}}, folder, true);
        EXPECT_EQ(seen.listed, (std::set<std::string>{".secret", "id_rsa", "keep.txt", "noext", "README", "sub"}));
        // The description is shown as the program built it.
        EXPECT_EQ(seen.filters, QStringList{QString::fromLatin1(description)});
        EXPECT_EQ(paths, std::vector<std::string>{folder + "/" + chosen});
    }
    // The language picker's own pattern still narrows the list.
    WriteBytes(folder + "/English.lng", "01=File");
    Seen seen;
    AnswerPicker(seen, 2, QString::fromStdString(folder + "/English.lng"));
    EXPECT_EQ(app.desktop.PickFiles("Language", {{"Language files", "*.lng"}}, folder, true),
              std::vector<std::string>{folder + "/English.lng"});
    EXPECT_EQ(seen.listed, (std::set<std::string>{"English.lng", "sub"}));
}

TEST(DesktopPicker, TheFolderPickerListsDotFolders) {
    DesktopProgram app;
    const std::string folder = app.dir.path() + "/pick";
    MakeTree(folder, {".cache/", "photos/", "file"});
    Seen seen;
    AnswerPicker(seen, 2, QString::fromStdString(folder + "/.cache"));
    // The folder picker opens in the current folder.
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const std::string chosen = app.desktop.PickFolder("Folder", 0);
    std::filesystem::current_path(before);
    EXPECT_EQ(seen.listed, (std::set<std::string>{".cache", "photos"}));
    EXPECT_EQ(chosen, folder + "/.cache");
}

}  // namespace
}  // namespace scorvane::testing
