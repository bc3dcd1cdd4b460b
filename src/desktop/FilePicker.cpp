#include "desktop/FilePicker.h"

#include <pwd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

namespace scorvane {

namespace {
// "~" and "~user" at the start of a name, as Qt's picker expands them.
QString TildeExpanded(const QString& name) {
    if (!name.startsWith(QLatin1Char('~'))) return name;
    const qsizetype end = name.indexOf(QLatin1Char('/'));
    const QString user = name.mid(1, end < 0 ? -1 : end - 1);
    QString home;
    if (user.isEmpty()) {
        home = QDir::homePath();
    } else if (const passwd* entry = ::getpwnam(QFile::encodeName(user).constData())) {
        home = QFile::decodeName(entry->pw_dir);
    } else {
        return name;
    }
    return home + (end < 0 ? QString() : name.mid(end));
}

QStringList Cleaned(QStringList paths) {
    for (QString& path : paths) path = QDir::cleanPath(path);
    return paths;
}
}  // namespace

QStringList FilePicker::Chosen() const { return typed_ ? *typed_ : selectedFiles(); }

QStringList FilePicker::TypedNames() const {
    const auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString text = field != nullptr ? field->text() : QString();
    QStringList names;
    if (!text.contains(QLatin1Char('"'))) {
        names << text;
    } else {
        // Every second piece between the quotes is a name.
        const QStringList pieces = text.split(QLatin1Char('"'));
        for (qsizetype i = 1; i < pieces.size(); i += 2) names << pieces[i];
    }
    const QString folder = directory().absolutePath();
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QStringList paths;
    for (QString name : names) {
        if (name.isEmpty()) continue;
        if (!QFile::exists(prefix + name)) name = TildeExpanded(name);
        paths << (QDir::isRelativePath(name) ? prefix + name : name);
    }
    return paths;
}

void FilePicker::accept() {
    typed_.reset();
    const QStringList typed = TypedNames();
    if (typed.isEmpty() || Cleaned(typed) == Cleaned(selectedFiles()) ||
        (typed.size() > 1 && fileMode() != QFileDialog::ExistingFiles)) {
        QFileDialog::accept();
        return;
    }
    // The checks of Qt's own handling, made of the typed names.
    for (const QString& path : typed) {
        const QFileInfo file(path);
        if (!file.exists()) {
            QMessageBox::warning(this, windowTitle(),
                                 QCoreApplication::translate("QFileDialog",
                                                             "%1\nFile not found.\nPlease verify the "
                                                             "correct file name was given.")
                                     .arg(file.fileName()));
            return;
        }
        if (file.isDir()) {  // a folder's name opens it (".." goes up)
            setDirectory(file.absoluteFilePath());
            findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->clear();
            return;
        }
    }
    typed_ = typed;
    QDialog::accept();
}

}  // namespace scorvane
