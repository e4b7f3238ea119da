// Serves the simulated bus on a pseudo-terminal from its own thread: the program opens the slave
// side as its serial port. Hears requests, hands each one to the bus, and sends the answer after
// the device's delay, paced like a 9600 baud line with odd parity when pacing is on.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sim/SimClock.h"
#include "sim/Transcript.h"
#include "sim/WireFrame.h"

namespace tarnsim {

// What goes back on the line for one request: the bytes (possibly distorted) and how long the
// device thinks before it starts sending them.
struct Outgoing {
    std::vector<uint8_t> bytes;
    int answerDelayMs = 0;
    std::string note;
};

class PtyServer {
public:
    // One byte at 9600 baud with a start bit, 8 data bits, parity and a stop bit.
    static constexpr int64_t kByteMicros = 11 * 1'000'000 / 9600;

    using Handler = std::function<std::optional<Outgoing>(const WireBytes& request)>;

    PtyServer(Handler handler, Transcript& transcript, const SimClock& clock, bool pacing);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal (raw mode) and starts serving it.
    bool Start(std::string* error);
    void Stop();
    const std::string& SlavePath() const { return slavePath_; }

private:
    void Serve();
    void HandleRequest(const WireBytes& request);
    void Send(const Outgoing& out, int64_t earliestMicros);

    Handler handler_;
    Transcript& transcript_;
    const SimClock& clock_;
    const bool pacing_;
    int master_ = -1;
    std::string slavePath_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace tarnsim
