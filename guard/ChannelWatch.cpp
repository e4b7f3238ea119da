#include "guard/ChannelWatch.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "link/TapeGuard.h"

namespace {

// How often the hang limit is looked at when the channel is silent: a tenth of it.
constexpr int kWatchSliceMs = guardchannel::kHangLimitMs / 10;

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

ChannelWatch::End ChannelWatch::Watch() {
    lastBeatMs_ = NowMs();
    pollfd channel{channel_, POLLIN, 0};
    char bytes[64];
    for (;;) {
        if (::poll(&channel, 1, kWatchSliceMs) > 0) {
            const ssize_t n = ::recv(channel_, bytes, sizeof bytes, 0);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
                return safe_ ? End::Safe : End::ProgramDied;
            for (ssize_t i = 0; i < n; ++i)
                Take(bytes[i]);
        }
        if (recording_ && !safe_ && NowMs() - lastBeatMs_ > guardchannel::kHangLimitMs) {
            // Said before the guard's first byte on the bus: a program that wakes finds it
            // before its next exchange and keeps off the line.
            const char word = guardchannel::kTakingOver;
            [[maybe_unused]] const ssize_t sent = ::send(channel_, &word, 1, MSG_NOSIGNAL);
            return End::ProgramHung;
        }
    }
}

void ChannelWatch::Take(char byte) {
    switch (byte) {
        case guardchannel::kBeat:
            lastBeatMs_ = NowMs();
            return;
        case guardchannel::kSafe:
            safe_ = true;
            recording_ = false;
            return;
        case static_cast<char>(DeckActivity::Moving):
        case static_cast<char>(DeckActivity::Recording):
            recording_ = byte == static_cast<char>(DeckActivity::Recording);
            // The program was alive to say it.
            lastBeatMs_ = NowMs();
            return;
        case static_cast<char>(GuardedOperation::AutoRec):
        case static_cast<char>(GuardedOperation::Edit):
        case static_cast<char>(GuardedOperation::Preview):
        case static_cast<char>(GuardedOperation::Calibration):
            // An operation begins: the decks are not safe from here on.
            operation_ = byte;
            safe_ = false;
            return;
        default:
            return;
    }
}

QString ChannelWatch::OperationCode() const {
    switch (static_cast<GuardedOperation>(operation_)) {
        case GuardedOperation::Edit:
            return QStringLiteral("edit");
        case GuardedOperation::Preview:
            return QStringLiteral("preview");
        case GuardedOperation::Calibration:
            return QStringLiteral("calibration");
        case GuardedOperation::AutoRec:
            break;
    }
    return QStringLiteral("autorec");
}
