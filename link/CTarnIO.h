// The Tarn frame layer: one request/reply exchange at a time over the serial port (or another
// ByteLine). Builds the request for a device id and seven command bytes, keeps the 80 ms gap
// after unanswered requests, reads and checks the reply, and reports a link result. Not thread-safe
// by itself: only the link thread (TarnLink) exchanges frames.
#pragma once

#include <QMetaType>
#include <QObject>

#include "link/ByteLine.h"
#include "link/Clock.h"
#include "link/ExchangeRing.h"
#include "link/TarnFrame.h"

// Everything the link monitor shows about one exchange, copied when the exchange ended, so a
// receiver on another thread never reads frames that a later exchange has replaced.
struct TarnTrace {
    TarnFrame request{};
    TarnFrame reply{};
    uint32_t serialError = 0;
    LinkResult result = LinkResult::Ok;
};
Q_DECLARE_METATYPE(TarnTrace)

class CTarnIO : public QObject {
    Q_OBJECT

public:
    CTarnIO(ByteLine& comm, Clock& clock, QObject* parent = nullptr);

    ByteLine& Comm() { return comm_; }

    // Puts the id into request byte 2 and the command into bytes 3 to 9. Callers with a
    // variable command byte change it through Request() afterwards.
    void PrepareFrame(uint8_t id, const TarnCommand& command);
    TarnFrame& Request() { return request_; }

    // One exchange with the frame as prepared.
    LinkResult Transact();
    // Repeats Transact until the device accepts (true), refuses or the attempts run out (false).
    // The reply of the last attempt stays readable either way.
    bool TransactRetry(int attempts);

    // The last reply: all zero after results 3, 4 and 5; untouched by results 2 and 6 and by
    // requests to ids 100 to 127.
    const TarnFrame& Reply() const { return reply_; }
    uint8_t Status() const { return reply_[tarn::kStatusByte]; }
    LinkResult LastResult() const { return lastResult_; }
    // When the deck heard the last request (its writing plus its time on the line), in
    // microseconds of the clock: the moment its command acted and its status was taken.
    int64_t LastHeardUs() const { return lastHeardUs_; }
    // The last few thousand exchanges, for the diagnostics file.
    const ExchangeRing& Exchanges() const { return exchanges_; }

signals:
    // Emitted once at the end of every exchange, answered or not.
    void Traced(const TarnTrace& trace);

private:
    void WaitForGap();
    // A reply that came alone after a lost one is this request's answer only when it names this
    // request's device and the reply lost was another device's.
    bool NamesThisDeviceAfterAnothersLoss(const TarnFrame& reply) const;
    LinkResult Finish(LinkResult result);

    ByteLine& comm_;
    Clock& clock_;
    TarnFrame request_{};
    TarnFrame reply_{};
    LinkResult lastResult_ = LinkResult::Ok;
    bool everSent_ = false;
    int64_t lastSendMs_ = 0;
    int64_t lastHeardUs_ = 0;
    int64_t startUs_ = 0;
    uint8_t lostReplyId_ = 0;  // the device of the last request whose reply never came
    TarnFrame received_{};     // the bytes read by the exchange in progress, valid or not
    ExchangeRing exchanges_;
};
