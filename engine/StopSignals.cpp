#include "engine/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>

namespace stopsignals {

namespace {

constexpr std::array<int, 5> kSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};

// Written by the handler, read by the link and GUI threads: lock-free atomics are safe for both.
std::atomic<int> received{0};
std::atomic<bool> suspendRequested{false};
std::atomic<int> notifyRead{-1};
std::atomic<int> notifyWrite{-1};
static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

void Handle(int signal) {
    if (signal == SIGTSTP) {
        suspendRequested = true;
    } else {
        int none = 0;
        received.compare_exchange_strong(none, signal);
    }
    const int fd = notifyWrite.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
}

}  // namespace

void Catch() {
    if (notifyRead.load() >= 0)
        return;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifyRead = fds[0];
        notifyWrite = fds[1];
    }
    struct sigaction action {};
    action.sa_handler = Handle;
    // While one signal is handled the others wait, so two close together are both noted.
    sigemptyset(&action.sa_mask);
    for (int s : kSignals)
        sigaddset(&action.sa_mask, s);
    // No SA_RESTART: a question waiting on standard input is given up (and the run stopped).
    action.sa_flags = 0;
    for (int s : kSignals)
        sigaction(s, &action, nullptr);
}

int Received() {
    return received.load();
}

bool FromSystem() {
    const int signal = received.load();
    return signal != 0 && signal != SIGINT;
}

bool SuspendRequested() {
    return suspendRequested.load();
}

bool Pending() {
    return Received() != 0 || SuspendRequested();
}

void SuspendNow() {
    suspendRequested = false;
    ::raise(SIGSTOP);
}

int NotifyFd() {
    return notifyRead.load();
}

}  // namespace stopsignals
