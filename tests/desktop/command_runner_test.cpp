// The desktop's runner of command lines (the shutdown tool's): it waits for the command's end while
// the windows go on, and tells how it ended.
#include <gtest/gtest.h>

#include <QTimer>

#include "DesktopProgram.h"

namespace scorvane::testing {
namespace {

TEST(DesktopCommandRunner, TellsTheStatusAndLastWordsOfACommandOrWhyItCouldNotStart) {
    QtDesktop desktop;
    const Result<CommandEnd> refused =
        desktop.RunCommandLine(R"(sh -c "echo Polkit says: >&2; echo 'Access denied' >&2; echo ignored; exit 3")");
    ASSERT_TRUE(refused.ok());
    EXPECT_EQ(refused.value().status, 3);
    EXPECT_EQ(refused.value().lastError, "Access denied");

    const Result<CommandEnd> missing = desktop.RunCommandLine("scorvane-no-such-tool --now");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.failure().number, FailureNumber::FileNotFound);
    EXPECT_EQ(missing.failure().description, "File not found: scorvane-no-such-tool");

    // The command ends only once an event has been handled while it runs.
    TempDir dir;
    const std::string flag = dir.path() + "/handled";
    QTimer::singleShot(0, [&flag] { WriteBytes(flag, ""); });
    const Result<CommandEnd> waited =
        desktop.RunCommandLine("timeout 60 sh -c \"until [ -e '" + flag + "' ]; do sleep 0.01; done\"");
    ASSERT_TRUE(waited.ok());
    EXPECT_EQ(waited.value().status, 0);
    EXPECT_EQ(waited.value().lastError, "");
}

}  // namespace
}  // namespace scorvane::testing
