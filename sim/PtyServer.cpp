#include "sim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "sim/RequestParser.h"

namespace tarnsim {

namespace {

int64_t LineMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SleepUntilLineMicros(int64_t deadline) {
    const int64_t wait = deadline - LineMicros();
    if (wait > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(wait));
}

}  // namespace

PtyServer::PtyServer(Handler handler, Transcript& transcript, const SimClock& clock, bool pacing)
    : handler_(std::move(handler)), transcript_(transcript), clock_(clock), pacing_(pacing) {}

PtyServer::~PtyServer() {
    Stop();
}

bool PtyServer::Start(std::string* error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        *error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        *error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    slavePath_ = name;
    // Raw both ways: set through the master, the line settings belong to the slave side, so a
    // program that opens it without configuring it still sees bytes as they are.
    termios tio{};
    tcgetattr(master_, &tio);
    cfmakeraw(&tio);
    tcsetattr(master_, TCSANOW, &tio);
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void PtyServer::Stop() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    if (master_ >= 0)
        close(master_);
    master_ = -1;
}

void PtyServer::Serve() {
    RequestParser parser;
    uint8_t buffer[256];
    while (!stopping_) {
        pollfd p{master_, POLLIN, 0};
        // Short so that Stop and the incomplete-frame expiry are seen promptly.
        poll(&p, 1, 10);
        const ssize_t n = (p.revents & POLLIN) ? read(master_, buffer, sizeof buffer) : 0;
        if (n < 0 || (p.revents & (POLLHUP | POLLERR) && !(p.revents & POLLIN))) {
            // Nobody has the port open: the master reports a hang-up until someone does.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        const int64_t now = LineMicros();
        for (ssize_t i = 0; i < n; ++i)
            parser.Feed(buffer[i], now);
        parser.Expire(now);
        for (const ParserEvent& event : parser.TakeEvents()) {
            if (event.isFrame) {
                HandleRequest(event.frame);
            } else {
                transcript_.Add({clock_.NowMicros(), TranscriptEntry::Kind::Discarded,
                                 event.dropped, event.reason});
            }
        }
    }
}

void PtyServer::HandleRequest(const WireBytes& request) {
    // The request's last byte would reach a device 11 byte-times after the program wrote it.
    const int64_t heard = LineMicros() + (pacing_ ? kFrameLength * kByteMicros : 0);
    const std::optional<Outgoing> out = handler_(request);
    if (out)
        Send(*out, heard + int64_t{out->answerDelayMs} * 1000);
}

void PtyServer::Send(const Outgoing& out, int64_t earliestMicros) {
    SleepUntilLineMicros(earliestMicros);
    transcript_.Add({clock_.NowMicros(), TranscriptEntry::Kind::Reply, out.bytes, out.note});
    if (!pacing_) {
        (void)!write(master_, out.bytes.data(), out.bytes.size());
        return;
    }
    int64_t due = LineMicros();
    for (uint8_t byte : out.bytes) {
        due += kByteMicros;
        SleepUntilLineMicros(due);
        (void)!write(master_, &byte, 1);
    }
}

}  // namespace tarnsim
