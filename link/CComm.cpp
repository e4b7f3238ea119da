#include "link/CComm.h"

#include "link/BusLineSettings.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <utility>
#include <vector>

#include "link/LinkLog.h"
#include "link/LinkTiming.h"

namespace {

constexpr int kFirstPort = 1;

int64_t MonotonicMs() {
    // Reply budgets are real-time properties of the wire, so they use the OS clock directly.
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The C library reports a parity bit that the driver did not keep as an error. Pseudo-terminals
// have no parity and drop it; everything else having been taken is good enough for them.
bool TookAllButParity(int fd, const termios& wanted) {
    if (errno != EINVAL)
        return false;
    termios now{};
    if (::tcgetattr(fd, &now) != 0)
        return false;
    const tcflag_t kept = CSIZE | CSTOPB | CREAD | CLOCAL | CRTSCTS;
    return (now.c_cflag & kept) == (wanted.c_cflag & kept) &&
           ::cfgetospeed(&now) == ::cfgetospeed(&wanted) && now.c_iflag == wanted.c_iflag &&
           now.c_lflag == wanted.c_lflag;
}

// Errors by which a terminal says its device is gone: this descriptor will never work again,
// though the device may come back under the same path.
bool IsHangUpError(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

}  // namespace

CComm::CComm() : resolver_(std::make_unique<PortResolver>()) {}

CComm::~CComm() {
    Close();
}

void CComm::SetPortResolver(std::unique_ptr<PortResolver> resolver) {
    std::lock_guard lock(mutex_);
    if (resolver)
        resolver_ = std::move(resolver);
}

bool CComm::Open(int port) {
    std::lock_guard lock(mutex_);
    if (port < kFirstPort || port > CComm::kLastPort) {
        lastError_ = ENODEV;
        return false;
    }
    CloseLocked();
    if (!LoggedOpen(resolver_->DevicePath(port)))
        return false;
    port_ = port;
    return true;
}

bool CComm::OpenPath(const QString& path) {
    std::lock_guard lock(mutex_);
    CloseLocked();
    return LoggedOpen(path);
}

bool CComm::LoggedOpen(const QString& path) {
    const bool opened = OpenLocked(path);
    if (opened)
        qCInfo(lcLink).noquote() << "opened" << path;
    else
        qCInfo(lcLink).noquote() << "cannot open" << path << "system error" << lastError_;
    return opened;
}

bool CComm::OpenLocked(const QString& path) {
    const int fd =
        ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lastError_ = errno;
        return false;
    }
    if (!::isatty(fd)) {
        lastError_ = ENOTTY;
        ::close(fd);
        return false;
    }
    // TIOCEXCL keeps other programs out, but root may ignore it; the advisory lock makes a
    // second Clipwright (or any cooperating program) see the port as busy as well.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        lastError_ = EBUSY;
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    path_ = path;
    lastError_ = 0;
    hungUp_ = false;
    configured_ = false;
    // A port just opened carries no reply to a request sent before it: the first reply after a
    // replug or a reopen is this request's own, not a late one.
    replyMayTrail_ = false;
    return true;
}

bool CComm::Adopt(int fd, const QString& path) {
    std::lock_guard lock(mutex_);
    if (!::isatty(fd)) {
        lastError_ = ENOTTY;
        return false;
    }
    CloseLocked();
    fd_ = fd;
    path_ = path;
    lastError_ = 0;
    hungUp_ = false;
    configured_ = true;
    return true;
}

int CComm::Descriptor() const {
    std::lock_guard lock(mutex_);
    return fd_;
}

bool CComm::Configure() {
    std::lock_guard lock(mutex_);
    return ConfigureLocked();
}

bool CComm::ConfigureLocked() {
    if (fd_ < 0)
        return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) {
        lastError_ = errno;
        return false;
    }
    tio = BusLineSettings(tio);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0 && !TookAllButParity(fd_, tio)) {
        lastError_ = errno;
        return false;
    }
    // The interface is powered from DTR and RTS. Pseudo-terminals have no modem lines and
    // refuse this call, which is harmless there.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIS, &lines);
    configured_ = true;
    return true;
}

bool CComm::ReopenLocked() {
    const QString path = path_;
    const int port = port_;
    const bool configured = configured_;
    CloseLocked();
    const bool reopened = OpenLocked(path) && (!configured || ConfigureLocked());
    if (reopened)
        qCInfo(lcLink).noquote() << "reopened" << path << "after a hang-up";
    if (!reopened) {
        // Still gone: keep the path for the next attempt.
        const uint32_t error = lastError_;
        CloseLocked();
        path_ = path;
        hungUp_ = true;
        configured_ = configured;
        lastError_ = error;
    }
    port_ = port;
    return reopened;
}

void CComm::NoteFailure(int error) {
    lastError_ = static_cast<uint32_t>(error);
    if (IsHangUpError(error) && !hungUp_) {
        qCInfo(lcLink).noquote() << "hang-up on" << path_ << "system error" << error;
        hungUp_ = true;
    }
}

void CComm::Close() {
    std::lock_guard lock(mutex_);
    CloseLocked();
}

void CComm::CloseLocked() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    port_ = 0;
    path_.clear();
    hungUp_ = false;
    configured_ = false;
}

bool CComm::Write(const uint8_t* data, size_t n) {
    std::lock_guard lock(mutex_);
    if (hungUp_ && data != nullptr && !ReopenLocked())
        return false;
    if (fd_ < 0 || data == nullptr)
        return false;
    // Bytes of a late or partial reply to an earlier request must never count toward the reply
    // to this one.
    ::tcflush(fd_, TCIOFLUSH);
    lastError_ = 0;
    const int64_t deadline = MonotonicMs() + linktiming::kWriteBudgetMs;
    size_t sent = 0;
    while (sent < n) {
        const ssize_t w = ::write(fd_, data + sent, n - sent);
        if (w > 0) {
            sent += static_cast<size_t>(w);
            continue;
        }
        if (w < 0 && errno != EAGAIN && errno != EINTR) {
            NoteFailure(errno);
            return false;
        }
        const int64_t left = deadline - MonotonicMs();
        pollfd p{fd_, POLLOUT, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) {
            lastError_ = ETIMEDOUT;
            return false;
        }
    }
    writtenMs_ = MonotonicMs();
    return true;
}

bool CComm::WaitReadable(int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    int r;
    do {
        r = ::poll(&p, 1, timeoutMs > 0 ? timeoutMs : 0);
    } while (r < 0 && errno == EINTR);
    if (r < 0)
        lastError_ = errno;
    if (r == 0)
        lastError_ = ETIMEDOUT;
    if (r > 0 && (p.revents & POLLIN) == 0)
        NoteFailure(EIO);  // hang-up or error, no data
    return r > 0 && (p.revents & POLLIN) != 0;
}

bool CComm::Read(uint8_t* buffer, size_t n) {
    std::lock_guard lock(mutex_);
    if (fd_ < 0 || buffer == nullptr)
        return false;
    lastError_ = 0;
    loneAfterLoss_ = false;
    if (!ReadWithin(buffer, n, linktiming::kReplyStartMs)) {
        replyMayTrail_ = true;
        return false;
    }
    return !std::exchange(replyMayTrail_, false) || TakeFrameThatFollows(buffer, n);
}

bool CComm::ReadWithin(uint8_t* buffer, size_t n, int startMs) {
    bytesRead_ = 0;
    if (!WaitReadable(startMs))
        return false;
    const int64_t deadline = MonotonicMs() + linktiming::kReplyCompleteMs;
    while (bytesRead_ < n) {
        const ssize_t r = ::read(fd_, buffer + bytesRead_, n - bytesRead_);
        if (r > 0) {
            bytesRead_ += static_cast<uint32_t>(r);
            continue;
        }
        // With VMIN and VTIME at 0 the driver answers 0 when nothing is waiting; a vanished
        // device shows up as an error here or as a hang-up in WaitReadable.
        if (r < 0 && errno != EAGAIN && errno != EINTR) {
            NoteFailure(errno);
            return false;
        }
        const int64_t left = deadline - MonotonicMs();
        if (left <= 0 || !WaitReadable(static_cast<int>(left)))
            return false;
    }
    return true;
}

// After a reply that never came, the block just read may be that late reply, which reached us
// after this request's flush; this request's own reply then follows within its usual time. Taking
// the late one would shift every answer by one request: a power reply read as a status, a stopped
// deck where one plays. The wait ends when this request's reply would have had to start. A block
// that nothing follows may be either; it is handed on marked as such.
bool CComm::TakeFrameThatFollows(uint8_t* buffer, size_t n) {
    const int64_t left = writtenMs_ + linktiming::kReplyStartMs - MonotonicMs();
    std::vector<uint8_t> next(n);
    if (ReadWithin(next.data(), n, static_cast<int>(std::max<int64_t>(left, 0)))) {
        std::copy(next.begin(), next.end(), buffer);
        return true;
    }
    if (bytesRead_ > 0)
        return false;  // the reply after the late one came short: still a lost reply
    bytesRead_ = static_cast<uint32_t>(n);
    lastError_ = 0;
    loneAfterLoss_ = true;
    return true;
}

bool CComm::IsOpen() const {
    std::lock_guard lock(mutex_);
    return fd_ >= 0 || hungUp_;
}

bool CComm::HungUp() const {
    std::lock_guard lock(mutex_);
    return hungUp_;
}

int CComm::PortNumber() const {
    std::lock_guard lock(mutex_);
    return port_;
}

QString CComm::DevicePath() const {
    std::lock_guard lock(mutex_);
    return path_;
}

QString CComm::PathOfPort(int port) const {
    std::lock_guard lock(mutex_);
    return resolver_->DevicePath(port);
}

uint32_t CComm::LastSystemError() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}

uint32_t CComm::BytesRead() const {
    std::lock_guard lock(mutex_);
    return bytesRead_;
}

bool CComm::LoneAfterLoss() const {
    std::lock_guard lock(mutex_);
    return loneAfterLoss_;
}
