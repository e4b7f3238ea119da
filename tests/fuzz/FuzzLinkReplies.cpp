// The link's reply handling against a fuzzed device. The program's real stack (serial port on a
// pseudo-terminal, frame layer, link thread, system commands, deck commands and status decoding)
// talks to a device whose every answer comes from the input: well-formed replies with any status
// and data, replies split with a pause inside, raw bytes (noise, short, long, bad marks or check
// byte), silence; and when the input has run out the line hangs up, as an unplugged adapter does.
//
// Input: byte 0 gives the number of operations (1 to 8), the next bytes choose them, and the rest
// is the device's script, read one answer at a time.
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "FuzzSupport.h"
#include "LinkOperations.h"
#include "link/CComm.h"
#include "link/CTarnIO.h"
#include "link/Clock.h"
#include "link/TarnFrame.h"
#include "link/TarnLink.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"

namespace {

// The inter-frame gap and the settle waits pass at once: the fuzzer's time goes into exchanges.
// Reply budgets stay real, since the serial port measures them itself.
class InstantClock final : public Clock {
public:
    int64_t NowMs() const override {
        using namespace std::chrono;
        const int64_t real =
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
        return real + skipped_.load();
    }
    int64_t Sleep(int ms) override {
        skipped_ += ms > 0 ? ms : 0;
        return ms;
    }

private:
    std::atomic<int64_t> skipped_{0};
};

class Script {
public:
    Script(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    uint8_t Next() { return Empty() ? 0 : data_[pos_++]; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void WriteAll(int fd, const uint8_t* bytes, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, bytes, n);
        if (w <= 0)
            return;
        bytes += w;
        n -= static_cast<size_t>(w);
    }
}

// Reads one 11-byte request; false when the program has finished (done) or the line broke.
bool ReadRequest(int fd, const std::atomic<bool>& done, uint8_t* request) {
    size_t have = 0;
    while (have < 11) {
        if (done)
            return false;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5) <= 0)
            continue;
        const ssize_t r = ::read(fd, request + have, 11 - have);
        if (r <= 0)
            return false;
        have += static_cast<size_t>(r);
    }
    return true;
}

TarnFrame ScriptedReply(uint8_t id, Script& script) {
    TarnFrame reply{tarn::kReplyMark, 0xFF, id};
    for (int i = 3; i < 10; ++i)
        reply[i] = script.Next();
    reply[10] = tarn::CheckByte(reply);
    return reply;
}

// The device side, on its own thread: one scripted answer per request; the first request after
// the script has ended finds it unplugged (the terminal's master side closed), and `gone` rises.
void ServeDevice(int master, Script script, const std::atomic<bool>& done,
                 std::atomic<bool>& gone) {
    uint8_t request[11];
    // A silent or broken answer costs the link its real reply budget (50 to 100 ms, times the
    // retries), so they are rarer than well-formed ones and limited per input: the fuzzer's time
    // goes into new inputs rather than into waiting.
    int costlyAnswersLeft = 3;
    while (ReadRequest(master, done, request) && !script.Empty()) {
        const uint8_t op = script.Next();
        Sleep((op >> 4) % 4 == 3 ? (op >> 6) * 2 : 0);  // mostly at once, else up to 6 ms
        const bool costly = op % 16 >= 13;              // raw bytes or silence
        if (costly && costlyAnswersLeft-- <= 0) {
            const TarnFrame reply = ScriptedReply(request[2], script);
            WriteAll(master, reply.data(), reply.size());
            continue;
        }
        switch (op % 16) {
            case 9:
            case 10: {
                const TarnFrame reply = ScriptedReply(request[2], script);
                const size_t first = 1 + script.Next() % 10;
                WriteAll(master, reply.data(), first);
                Sleep(script.Next() % 8);
                WriteAll(master, reply.data() + first, reply.size() - first);
                break;
            }
            case 11:
            case 12: {
                // Busy deck, still answering: busy bit, some mode and counter.
                TarnFrame reply = ScriptedReply(request[2], script);
                reply[tarn::kStatusByte] |= tarn::kStatusBusy;
                reply[10] = tarn::CheckByte(reply);
                WriteAll(master, reply.data(), reply.size());
                break;
            }
            case 13:
            case 14: {
                uint8_t raw[24];
                const size_t n = script.Next() % sizeof raw;
                for (size_t i = 0; i < n; ++i)
                    raw[i] = script.Next();
                WriteAll(master, raw, n);
                break;
            }
            case 15:
                break;  // silence
            default: {
                const TarnFrame reply = ScriptedReply(request[2], script);
                WriteAll(master, reply.data(), reply.size());
                break;
            }
        }
    }
    ::close(master);
    gone = true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const size_t operations = 1 + data[0] % 8;
    if (size < 1 + operations)
        return 0;
    int master = -1, slave = -1;
    char slaveName[128];
    // The program opens the port by its path, as a real one.
    fuzz::Require(::openpty(&master, &slave, slaveName, nullptr, nullptr) == 0, "openpty");

    std::atomic<bool> done{false}, gone{false};
    std::thread device(ServeDevice, master, Script(data + 1 + operations, size - 1 - operations),
                       std::cref(done), std::ref(gone));
    {
        InstantClock clock;
        CComm comm;
        fuzz::Require(comm.OpenPath(QString::fromLocal8Bit(slaveName)) && comm.Configure(),
                      "the pseudo-terminal opens as a serial port");
        ::close(slave);  // held until now: the terminal's name lives while a side is open
        CTarnIO io(comm, clock);
        TarnLink link(io);
        TarnSys sys(link);
        TarnVtr vtr(link);
        sys.SetId(1);
        vtr.SetId(1);
        for (size_t i = 0; i < operations; ++i)
            fuzz::RunLinkOperation(data[1 + i], sys, vtr);
        // Then the polling thread on whatever the script has left, until the device hangs up.
        vtr.StartPolling();
        for (int waited = 0; waited < 500 && !gone; ++waited)
            Sleep(1);
        vtr.StopPolling();
        vtr.State();
        done = true;
    }
    device.join();
    return 0;
}
