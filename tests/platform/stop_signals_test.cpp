// Stop signals in a child process of their own: the first is noted for the event loop and the process
// goes on, a second ends it at once as the signal would, and a signal ignored from the start stays so.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "platform/StopSignals.h"

namespace scorvane {
namespace {

constexpr int kExited = 1000;

// How a child running `body` ended: the signal that ended it, or kExited plus its exit status.
int EndOfChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : kExited + WEXITSTATUS(status);
}

bool Readable(int descriptor) {
    pollfd watched{descriptor, POLLIN, 0};
    return ::poll(&watched, 1, 0) == 1;
}

TEST(StopSignals, TheFirstIsNotedForTheEventLoopAndTheSecondEndsTheProcessAtOnce) {
    EXPECT_EQ(EndOfChild([] {
                  const int descriptor = CatchStopSignals();
                  if (descriptor < 0 || Readable(descriptor)) return 1;
                  ::raise(SIGTERM);
                  if (!Readable(descriptor) || TakeStopSignal() != SIGTERM) return 2;
                  if (Readable(descriptor) || TakeStopSignal() != 0) return 3;
                  ::raise(SIGINT);
                  return 4;
              }),
              SIGINT);
    EXPECT_EQ(EndOfChild([] {
                  ::signal(SIGHUP, SIG_IGN);  // as nohup starts a program
                  const int descriptor = CatchStopSignals();
                  ::raise(SIGHUP);
                  return Readable(descriptor) ? 1 : 0;
              }),
              kExited);
    EXPECT_EQ(EndOfChild([] {
                  (void)CatchStopSignals();
                  EndBySignal(SIGTERM);
                  return 1;
              }),
              SIGTERM);
}

}  // namespace
}  // namespace scorvane
