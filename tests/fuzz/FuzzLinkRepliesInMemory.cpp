// The link's reply handling and the editing engine's reaction to it, with no terminal in between:
// the program's frame layer, link thread, system and deck commands, status polling and engine run
// on a line held in memory whose every answer comes from the input, in virtual time. Well-formed
// replies with any status and data, busy replies, raw bytes (noise, short, bad marks or check
// byte) and silence; once the input has run out the line hangs up, as an unplugged adapter does.
// Without the pseudo-terminal and the real reply budgets an input takes microseconds, not a tenth
// of a second.
//
// Input: byte 0 gives the number of direct operations (bits 0-2), what follows them (bits 3-5:
// 1 to 6 the engine's operation of that AutoKind, 7 the status polling, 0 nothing), the edit
// terminal (bit 6) and the player's effect commands (bit 7); then one byte per direct operation;
// the rest is the device's script, read one answer at a time. Most inputs end after the direct
// operations: one job on the link thread, the fastest way through the decoding.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "FuzzSupport.h"
#include "LinkOperations.h"
#include "TestHost.h"
#include "config/CaptionTable.h"
#include "edit/Timecode.h"
#include "engine/AutoEngine.h"
#include "engine/EffectUnit.h"
#include "link/ByteLine.h"
#include "link/CTarnIO.h"
#include "link/Clock.h"
#include "link/LinkTiming.h"
#include "link/TarnFrame.h"
#include "link/TarnLink.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"

namespace {

// Time that moves only with the line's exchanges and the program's waits, and by a microsecond
// at each look at it, so that a wait shorter than a millisecond, spent looking, ends too.
class VirtualClock final : public Clock {
public:
    int64_t NowMs() const override { return NowUs() / 1000; }
    int64_t NowUs() const override { return now_++; }
    int64_t Sleep(int ms) override {
        now_ += ms > 0 ? int64_t{ms} * 1000 : 0;
        return ms;
    }
    void AdvanceUs(int64_t us) { now_ += us; }

private:
    mutable std::atomic<int64_t> now_{1'000'000};
};

// 11 bits a byte at 9600 baud.
constexpr int64_t kByteUs = 11 * 1'000'000 / 9600;

// The device's side of the line: one answer from the script per request.
class ScriptedLine final : public ByteLine {
public:
    explicit ScriptedLine(VirtualClock& clock) : clock_(clock) {}

    void Start(const uint8_t* data, size_t size) {
        data_ = data;
        size_ = size;
        pos_ = 0;
        hungUp_ = false;
    }
    // Waits until the script has run out and the line hung up; false after the time limit.
    bool WaitGone(std::chrono::milliseconds limit) {
        std::unique_lock lock(goneMutex_);
        return goneCv_.wait_for(lock, limit, [this] { return hungUp_.load(); });
    }

    bool Write(const uint8_t* data, size_t n) override {
        if (hungUp_)
            return false;
        fuzz::Require(n == request_.size(), "a request is one frame");
        std::copy_n(data, n, request_.begin());
        fuzz::Require(request_[0] == tarn::kRequestMark && request_[1] == tarn::kRequestMark &&
                          request_[tarn::kCheckByte] == tarn::CheckByte(request_),
                      "every request the program writes is a well-formed frame");
        clock_.AdvanceUs(static_cast<int64_t>(n) * kByteUs);
        return true;
    }

    bool Read(uint8_t* buffer, size_t n) override {
        bytesRead_ = 0;
        if (pos_ >= size_) {
            std::lock_guard lock(goneMutex_);
            hungUp_ = true;
            goneCv_.notify_all();
            return false;
        }
        const uint8_t op = Next();
        TarnFrame reply{tarn::kReplyMark, 0xFF, request_[tarn::kIdByte]};
        for (int i = 3; i < 10; ++i)
            reply[i] = Next();
        switch (op % 8) {
            case 5:
                reply[tarn::kStatusByte] |= tarn::kStatusBusy;  // busy, still answering
                break;
            case 6: {  // raw bytes: noise, a short reply, bad marks or a bad check byte
                const size_t length = Next() % 16;
                for (size_t i = 0; i < reply.size(); ++i)
                    reply[i] = Next();
                return Answer(reply, std::min(length, n), buffer, n);
            }
            case 7:
                return Answer(reply, 0, buffer, n);  // silence
            default:
                break;
        }
        reply[tarn::kCheckByte] = tarn::CheckByte(reply);
        return Answer(reply, reply.size(), buffer, n);
    }

    bool Configure() override { return true; }
    bool IsOpen() const override { return true; }
    bool HungUp() const override { return hungUp_.load(); }
    QString DevicePath() const override { return QStringLiteral("fuzzed line"); }
    uint32_t LastSystemError() const override { return 0; }
    uint32_t BytesRead() const override { return bytesRead_; }

private:
    uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    // length bytes of the reply arrive; fewer than n is a reply given up on after its budget.
    bool Answer(const TarnFrame& reply, size_t length, uint8_t* buffer, size_t n) {
        bytesRead_ = static_cast<uint32_t>(std::min(length, n));
        if (length < n) {
            clock_.AdvanceUs(linktiming::kReplyStartMs * 1000);
            return false;
        }
        clock_.AdvanceUs(static_cast<int64_t>(n) * kByteUs);
        std::copy_n(reply.begin(), n, buffer);
        return true;
    }

    VirtualClock& clock_;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    uint32_t bytesRead_ = 0;
    std::atomic<bool> hungUp_{false};
    std::mutex goneMutex_;
    std::condition_variable goneCv_;
    TarnFrame request_{};
};

Scene Row(const char* in, const char* out, int transition) {
    Scene row;
    row.inText = QString::fromLatin1(in);
    row.outText = QString::fromLatin1(out);
    row.transition = transition;
    return row;
}

// The link's objects, made once: the fuzzer's time goes into inputs, not into threads.
struct Link {
    Link() {
        sys.SetId(1);
        vtr.SetId(1);
    }

    VirtualClock clock;
    ScriptedLine line{clock};
    CTarnIO io{line, clock};
    TarnLink link{io};
    TarnSys sys{link};
    TarnVtr vtr{link};
    EffectUnit effects{link};
    CaptionTable captions;
};

// What byte 0 asks for after the direct operations, besides an engine operation.
constexpr int kPolling = 7;
// The longest an operation may take once the line has hung up; a hang is a finding.
constexpr std::chrono::milliseconds kEndLimit{5000};

// Runs an engine operation on a list of two scenes around a tape change until it reports its
// end: the line hangs up when the script runs out, so every operation must end by itself.
void RunEngine(Link& l, AutoKind kind, bool editTerminal, bool effects) {
    TestHost host(l.vtr, l.captions);
    host.devices = {1, 2, editTerminal, effects};
    Scene tapeChange;
    tapeChange.tapeChange = true;
    host.list.ReplaceRows({tapeChange, Row("00:01:00:00", "00:01:03:00", 105), tapeChange,
                           Row("00:00:40:00", "00:00:41:00", 0)});
    host.list.SelectOnly(1);
    AutoEngine engine(l.link, l.vtr, l.effects, l.clock, l.captions, host);
    // The engine's calls to its host come to this thread as events: served until it finishes.
    QEventLoop serving;
    bool finished = false;
    QObject::connect(&engine, &AutoEngine::finished, &serving, [&](AutoResult) {
        finished = true;
        serving.quit();
    });
    QTimer::singleShot(kEndLimit, &serving, &QEventLoop::quit);
    if (kind == AutoKind::AutoRec)
        engine.ReadRecorderPosition();
    engine.AutoStart(kind);
    if (!finished)
        serving.exec();
    fuzz::Require(finished, "an operation on a line that hangs up ends by itself");
    l.vtr.StopPolling();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_link_replies_in_memory";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Link link;
    if (size < 1)
        return 0;
    const size_t operations = data[0] % 8;
    const int kind = (data[0] >> 3) % 8;
    if (size < 1 + operations)
        return 0;
    link.line.Start(data + 1 + operations, size - 1 - operations);
    link.vtr.SetId(1);
    link.vtr.ForgetMode();
    link.vtr.ForgetPower();
    // The direct operations, then the editing engine or the status polling on whatever the
    // script has left, until the line hangs up.
    link.link.Run([&](CTarnIO&) {
        for (size_t i = 0; i < operations; ++i)
            fuzz::RunLinkOperation(data[1 + i], link.sys, link.vtr);
        return true;
    });
    if (kind >= static_cast<int>(AutoKind::Goto) && kind <= static_cast<int>(AutoKind::Edit)) {
        RunEngine(link, static_cast<AutoKind>(kind), (data[0] & 0x40) != 0, (data[0] & 0x80) != 0);
    } else if (kind == kPolling) {
        link.vtr.StartPolling();
        fuzz::Require(link.line.WaitGone(kEndLimit), "polling reads until the line hangs up");
        link.vtr.StopPolling();
    }
    link.vtr.State();
    return 0;
}
