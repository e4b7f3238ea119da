// The serial port under the Tarn bus interface: opens a terminal device, sets 9600 baud 8O1 in
// raw mode, and moves fixed-length blocks of bytes. It knows nothing of frames or devices.
// Every call is safe from any thread; each one holds the port for its own duration only.
// A port that hangs up (a USB adapter unplugged) is noticed, and every later Write tries to open
// it again by its path, so the link comes back by itself when the adapter does.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "link/ByteLine.h"
#include "link/PortResolver.h"

class CComm final : public ByteLine {
public:
    // The only ports the bus interface was ever wired to: COM1 to COM4.
    static constexpr int kLastPort = 4;

    CComm();
    ~CComm() override;
    CComm(const CComm&) = delete;
    CComm& operator=(const CComm&) = delete;

    // Replaces the port-number lookup (the default gives /dev/ttyS<n-1>).
    void SetPortResolver(std::unique_ptr<PortResolver> resolver);

    // Opens port n (1 to 4) through the resolver. Any other n returns false with the system
    // error ENODEV and leaves an open port as it is.
    bool Open(int port);
    // Opens a terminal device by path; the port number then reads 0.
    bool OpenPath(const QString& path);
    // Line settings for the bus: 9600 baud, 8 data bits, odd parity, 1 stop bit, raw, no flow
    // control, DTR and RTS on.
    bool Configure() override;
    void Close();
    // Takes over a port that another process opened and configured and handed down (the tape
    // guard's); false when fd is not a terminal.
    bool Adopt(int fd, const QString& path);
    // The open port's descriptor, -1 when none: what the tape guard inherits.
    int Descriptor() const;

    // Discards whatever is waiting in both directions, then sends n bytes. After a hang-up it
    // first reopens and configures the port by its path; false while that fails.
    bool Write(const uint8_t* data, size_t n) override;
    // Reads exactly n bytes: the first must arrive within the reply-start budget and the rest
    // within the reply-complete budget. A short or late reply returns false.
    bool Read(uint8_t* buffer, size_t n) override;

    bool IsOpen() const override;
    // True from a hang-up of the port (the device behind it went away) until it is reopened.
    bool HungUp() const override;
    int PortNumber() const;
    QString DevicePath() const override;
    // The device path that port n (1 to 4) opens, whether or not it is open.
    QString PathOfPort(int port) const;
    // The OS error (errno) of the last open or read step; 0 after every Write.
    uint32_t LastSystemError() const override;
    uint32_t BytesRead() const override;
    bool LoneAfterLoss() const override;

private:
    bool OpenLocked(const QString& path);
    // OpenLocked for a caller's open, with a log line either way (reopens after a hang-up are
    // retried all the time and log only when they succeed).
    bool LoggedOpen(const QString& path);
    bool ConfigureLocked();
    bool ReopenLocked();
    void CloseLocked();
    // Notes a hang-up when errno (or a poll result) says the device has gone.
    void NoteFailure(int error);
    bool WaitReadable(int timeoutMs);
    bool ReadWithin(uint8_t* buffer, size_t n, int startMs);
    bool TakeFrameThatFollows(uint8_t* buffer, size_t n);

    mutable std::mutex mutex_;
    std::unique_ptr<PortResolver> resolver_;
    int fd_ = -1;
    int port_ = 0;
    QString path_;
    uint32_t lastError_ = 0;
    uint32_t bytesRead_ = 0;
    int64_t writtenMs_ = 0;
    // A reply given up on may still be on its way: it would come ahead of the next request's
    // own reply and pass for it.
    bool replyMayTrail_ = false;
    bool loneAfterLoss_ = false;
    bool hungUp_ = false;
    bool configured_ = false;
};
