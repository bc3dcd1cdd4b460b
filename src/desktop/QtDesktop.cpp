#include "desktop/QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "desktop/AboutBoxView.h"
#include "desktop/Accessibility.h"
#include "desktop/FilePicker.h"
#include "desktop/MainWindowView.h"
#include "desktop/MethodConfirmationView.h"
#include "desktop/ProgressWindowView.h"
#include "desktop/ViewSupport.h"
#include "model/Dialog.h"
#include "model/Form1.h"
#include "model/Form2.h"
#include "model/FrmAbout.h"

namespace scorvane {

namespace {
void SyncView(QWidget* view) {
    if (auto* model = dynamic_cast<ModelView*>(view)) model->Sync();
}

// The bytes of a path the pickers give; a name that was not UTF-8 comes back holding U+FFFD.
std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

// "*.*" is every file, as on the platform the patterns come from, not only names with a dot.
QString NameFilter(const std::string& description, const std::string& pattern) {
    QStringList globs = QString::fromStdString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& glob : globs) {
        glob = glob.trimmed();
        if (glob == QStringLiteral("*.*")) glob = QStringLiteral("*");
    }
    return QStringLiteral("%1 (%2)").arg(ToDisplay(description), globs.join(QLatin1Char(' ')));
}

// Dot-files are ordinary files here: both pickers list them.
void ListEveryEntry(QFileDialog& dialog) { dialog.setFilter(dialog.filter() | QDir::Hidden); }

// A window just shown is on the screen before the program goes on: the window system maps and exposes it
// and it is painted, while input waits for the program's next yield. A run that shows its progress window
// and then works for long before it yields has its window drawn all the same.
void AwaitExposure(QWidget& view) {
    constexpr qint64 kLongestWaitMs = 250;
    QElapsedTimer waited;
    waited.start();
    for (const QWindow* window = view.windowHandle(); window != nullptr && !window->isExposed();) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (waited.elapsed() >= kLongestWaitMs) break;
        QThread::usleep(500);
    }
    view.repaint();
}

void Centre(QWidget& view) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = view.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    view.move(frame.topLeft());
}
}  // namespace

QtDesktop::QtDesktop(std::function<void()> endProgram) : endProgram_(std::move(endProgram)) {
    monotonic_.start();
    InstallAccessibility();
}

QtDesktop::~QtDesktop() {
    for (auto& [window, view] : views_) delete view.data();
    for (const QPointer<QWidget>& view : leaving_) delete view.data();  // the models they draw end with us
}

int QtDesktop::MessageBox(const std::string& text, int style, const std::string& title) {
    QMessageBox box(ActiveParent());
    box.setWindowTitle(ToDisplay(title));
    box.setText(ToDisplay(text));
    const int icon = style & 0x70;
    box.setIcon(icon == MessageStyle::Exclamation   ? QMessageBox::Warning
                : icon == MessageStyle::Information ? QMessageBox::Information
                : icon == 0x20                      ? QMessageBox::Question
                : icon == 0x10                      ? QMessageBox::Critical
                                                    : QMessageBox::NoIcon);
    if ((style & 0x0F) == MessageStyle::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton((style & MessageStyle::SecondButtonDefault) ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

void QtDesktop::Yield() {
    // A wipe yields at every chunk, up to a hundred thousand times a second, and a turn of the event
    // loop costs about a microsecond even when nothing is pending. So the loop turns at a yield once a
    // millisecond has passed since its last turn here: Cancel, Esc and the window system are answered
    // within a millisecond, and a yield that comes sooner only reads the clock. The views catch up
    // with their models once a frame; events bring them up to date themselves.
    if (!RepaintDue()) return;
    if (pace_.Due()) SyncAll();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    eventTurn_.start();
}

// Views are drawn only when the event loop turns.
bool QtDesktop::RepaintDue() { return !eventTurn_.isValid() || eventTurn_.nsecsElapsed() >= kEventTurnNs; }

void QtDesktop::Beep() { QApplication::beep(); }

Result<CommandEnd> QtDesktop::RunCommandLine(const std::string& commandLine) {
    QStringList parts = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (parts.isEmpty()) return MakeFailure(FailureNumber::InvalidCall);
    QProcess process;
    process.setProgram(parts.takeFirst());
    process.setArguments(parts);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    process.start();
    if (!process.waitForStarted(-1)) {
        // Not found on the path, or not allowed to run.
        const bool found = !QStandardPaths::findExecutable(process.program()).isEmpty();
        Failure failure = MakeFailure(found ? FailureNumber::PermissionDenied : FailureNumber::FileNotFound);
        failure.description += ": " + process.program().toStdString();
        return failure;
    }
    if (process.state() != QProcess::NotRunning) loop.exec();
    CommandEnd end;
    end.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    const QList<QByteArray> lines = process.readAllStandardError().trimmed().split('\n');
    end.lastError = QString::fromLocal8Bit(lines.back()).trimmed().toStdString();
    return end;
}

void QtDesktop::ShellOpen(const std::string& target) {
    QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(target)));
}

void QtDesktop::EndProgram(int status) {
    if (endProgram_) endProgram_();
    std::fflush(nullptr);
    std::_Exit(status);
}

double QtDesktop::MonotonicSeconds() { return static_cast<double>(monotonic_.nsecsElapsed()) / 1e9; }

std::string QtDesktop::PickFolder(const std::string& title, unsigned /*flags*/) {
    QFileDialog dialog(ActiveParent(), ToDisplay(title));
    dialog.setFileMode(QFileDialog::Directory);
    // A link is handed back as the link, never as its target.
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks | QFileDialog::DontUseNativeDialog);
    ListEveryEntry(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return PathBytes(dialog.selectedFiles().constFirst());
}

std::vector<std::string> QtDesktop::PickFiles(const std::string& title, const std::vector<FileFilter>& filters,
                                              const std::string& initialFolder, bool multiple) {
    FilePicker dialog(ActiveParent(), ToDisplay(title), QFile::decodeName(QByteArray::fromStdString(initialFolder)));
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    // The user sees each description as the program built it; Qt reads the patterns from the brackets.
    dialog.setOptions(QFileDialog::DontResolveSymlinks | QFileDialog::DontUseNativeDialog |
                      QFileDialog::HideNameFilterDetails);
    QStringList patterns;
    for (const auto& [description, pattern] : filters) patterns << NameFilter(description, pattern);
    dialog.setNameFilters(patterns);
    ListEveryEntry(dialog);
    if (dialog.exec() != QDialog::Accepted) return {};
    std::vector<std::string> paths;
    for (const QString& path : dialog.Chosen()) paths.push_back(PathBytes(path));
    return paths;
}

QWidget* QtDesktop::EnsureView(Window& window) {
    auto& view = views_[&window];
    if (view) return view;
    auto afterEvent = [this] { SyncAll(); };
    if (auto* form = dynamic_cast<Form1*>(&window)) {
        view = new MainWindowView(*form, afterEvent);
    } else if (auto* dialog = dynamic_cast<Dialog*>(&window)) {
        view = new ProgressWindowView(*dialog, afterEvent);
        new AccessibleBar(*dialog, *view);
    } else if (auto* confirmation = dynamic_cast<Form2*>(&window)) {
        view = new MethodConfirmationView(*confirmation, afterEvent);
    } else if (auto* about = dynamic_cast<FrmAbout*>(&window)) {
        view = new AboutBoxView(*about, afterEvent);
    } else {
        view = new QWidget;
    }
    return view;
}

QWidget* QtDesktop::ViewOf(const Window& window) const {
    const auto found = views_.find(&window);
    return found == views_.end() ? nullptr : found->second.data();
}

QWidget* QtDesktop::ActiveParent() const {
    for (const auto& [window, view] : views_) {
        if (view && view->isVisible() && window->IsModal()) return view;
    }
    for (const auto& [window, view] : views_) {
        if (view && view->isVisible()) return view;
    }
    return nullptr;
}

void QtDesktop::Shown(Window& window) {
    QWidget* view = EnsureView(window);
    SyncView(view);
    if (!view->isVisible()) {
        view->show();
        // The main window is centred when it first appears and then stays where the user puts it.
        if (!dynamic_cast<MainWindowView*>(view) || !centred_.contains(&window)) Centre(*view);
        centred_.insert(&window);
        AwaitExposure(*view);
    }
    view->raise();
}

void QtDesktop::Hidden(Window& window) {
    if (QWidget* view = ViewOf(window)) view->hide();
}

void QtDesktop::Unloaded(Window& window) {
    const auto found = views_.find(&window);
    if (found != views_.end()) {
        if (found->second) {
            // The view may be inside one of its own events: it goes later, but it stops at once.
            found->second->hide();
            for (QTimer* timer : found->second->findChildren<QTimer*>()) timer->stop();
            found->second->deleteLater();
            std::erase_if(leaving_, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
            leaving_.emplace_back(found->second);
        }
        views_.erase(found);
    }
    centred_.erase(&window);
    if (const auto loop = modalLoops_.find(&window); loop != modalLoops_.end()) loop->second->quit();
}

void QtDesktop::Refresh(Window& window) {
    if (auto* progress = dynamic_cast<ProgressWindowView*>(ViewOf(window))) {
        progress->Refresh();  // asked for at every file of a run: at the display's pace
    } else if (QWidget* view = ViewOf(window)) {
        SyncView(view);
        view->repaint();
    }
}

void QtDesktop::RunModal(Window& window) {
    QWidget* view = EnsureView(window);
    view->setWindowModality(Qt::ApplicationModal);
    Shown(window);
    if (!window.IsLoaded()) return;
    QEventLoop loop;
    modalLoops_[&window] = &loop;
    loop.exec();
    modalLoops_.erase(&window);
}

void QtDesktop::SyncAll() {
    pace_.Done();
    for (auto& [window, view] : views_) {
        if (view) SyncView(view);
    }
}

}  // namespace scorvane
