// A device played by the test on the far side of a pseudo-terminal: it reads each 11-byte
// request, notes when it arrived, and answers with whatever bytes the test's responder returns
// (nothing = silence). For byte-exact and timing rules of the transport and frame layers.
#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "link/TarnFrame.h"

class ScriptedDevice {
public:
    using Bytes = std::vector<uint8_t>;
    using Responder = std::function<Bytes(const TarnFrame& request)>;

    struct Received {
        TarnFrame frame;
        int64_t atMs;
    };

    ScriptedDevice();
    ~ScriptedDevice();

    QString Path() const { return path_; }
    void SetResponder(Responder responder);
    std::vector<Received> Requests() const;
    // Puts bytes on the line toward the program, unasked.
    void Send(const Bytes& bytes);
    // Sends replies one byte at a time, this far apart, as a real line delivers them.
    void SetBytePacing(int microsPerByte) { pacingMicros_ = microsPerByte; }

    // A well-formed reply with status and six data bytes.
    static Bytes Reply(uint8_t status, std::array<uint8_t, 6> data = {});
    // The same with a check byte that is off by one.
    static Bytes ReplyWithBadCheck(uint8_t status);

private:
    void Serve();

    int master_ = -1;
    int slave_ = -1;
    QString path_;
    std::atomic<bool> stop_{false};
    std::atomic<int> pacingMicros_{0};
    mutable std::mutex mutex_;
    Responder responder_;
    std::vector<Received> requests_;
    Bytes partial_;
    std::thread thread_;
};

int64_t NowMs();
