// The desktop entry point as the user starts it, each run in a process of its own (Qt allows one
// application per process): only the user's words reach the command-line job, and Qt's own texts
// speak the system's language.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "desktop/DesktopEntry.h"
#include "model/Program.h"

namespace scorvane {
namespace {

// Runs the entry point with these arguments in a child process; the child exits 0 when `check` passes,
// after printing what it found on the standard error.
[[noreturn]] void RunChild(std::vector<std::string> arguments, const std::function<bool(Program&)>& check) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int code = RunDesktop(static_cast<int>(argv.size()) - 1, argv.data(),
                                [&](Program& program) { return check(program) ? 0 : 1; });
    std::fflush(nullptr);
    std::_Exit(code);
}

TEST(DesktopEntryDeathTest, QtNeverTakesTheArgumentsAndTheJobGetsThemAll) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const auto check = [](Program& program) {
        const std::string style = QApplication::style()->name().toStdString();
        const std::string platform = QGuiApplication::platformName().toStdString();
        std::fprintf(stderr, "job: [%s] style: %s platform: %s arguments: %lld rtl: %d\n",
                     program.facts().commandLine.c_str(), style.c_str(), platform.c_str(),
                     static_cast<long long>(QCoreApplication::arguments().size()),
                     QGuiApplication::isRightToLeft() ? 1 : 0);
        return program.facts().commandLine == R"("-platform" "xcb" "-style" "Windows" "--help" "-reverse")" &&
               style != "windows" && platform == "offscreen" && QCoreApplication::arguments().size() == 1 &&
               !QGuiApplication::isRightToLeft();
    };
    EXPECT_EXIT(RunChild({"scorvane", "-platform", "xcb", "-style", "Windows", "--help", "-reverse"}, check),
                ::testing::ExitedWithCode(0), "");
}

TEST(DesktopEntryDeathTest, AQuestionBoxSpeaksTheSystemsLanguage) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::unsetenv("LANGUAGE");
    ::setenv("LANG", "de_DE.UTF-8", 1);
    const auto check = [](Program& program) {
        QString yes, no;
        // The user answers once the box is up; what its buttons read is kept.
        auto* answer = new QTimer(qApp);
        QObject::connect(answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            answer->stop();
            yes = box->button(QMessageBox::Yes)->text().remove(QLatin1Char('&'));
            no = box->button(QMessageBox::No)->text().remove(QLatin1Char('&'));
            if (const char* folder = std::getenv("SCORVANE_SHOTS"))
                box->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/question-de.png"));
            box->button(QMessageBox::No)->click();
        });
        answer->start(10);
        const int given = program.windows().MessageBox("Fortfahren?", MessageStyle::YesNo | 0x20, "Scorvane");
        std::fprintf(stderr, "buttons: %s / %s, answer %d\n", yes.toStdString().c_str(), no.toStdString().c_str(),
                     given);
        return yes == QStringLiteral("Ja") && no == QStringLiteral("Nein") && given == MessageAnswer::No;
    };
    EXPECT_EXIT(RunChild({"scorvane"}, check), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace scorvane
