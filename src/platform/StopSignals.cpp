#include "platform/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace scorvane {

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// What the handler may touch: lock-free atomics and the pipe's write end.
std::atomic<int> caught{0};
std::atomic<int> noted{0};
int pipeEnds[2] = {-1, -1};

extern "C" void OnStopSignal(int signal) {
    if (caught.fetch_add(1) > 0) {
        // The second request: now, and as the signal would end the process.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    const int saved = errno;
    noted.store(signal);
    const char byte = 1;
    (void)!::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

}  // namespace

int CatchStopSignals() {
    if (pipeEnds[0] >= 0) return pipeEnds[0];
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return -1;
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals) sigaddset(&action.sa_mask, signal);
    for (const int signal : kStopSignals) {
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        ::sigaction(signal, &action, nullptr);
    }
    return pipeEnds[0];
}

int TakeStopSignal() {
    if (pipeEnds[0] < 0) return 0;
    char bytes[16];
    while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
    return noted.exchange(0);
}

void EndBySignal(int signal) {
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    std::_Exit(128 + signal);  // a signal whose default is not to end the process
}

}  // namespace scorvane
