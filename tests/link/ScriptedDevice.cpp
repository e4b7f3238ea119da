#include "ScriptedDevice.h"

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

ScriptedDevice::ScriptedDevice() {
    termios raw{};
    cfmakeraw(&raw);
    char name[128] = {};
    if (openpty(&master_, &slave_, name, &raw, nullptr) == 0)
        path_ = QString::fromLocal8Bit(name);
    // The slave stays open here too, so the master never sees a hang-up between the program's
    // Close and Open.
    thread_ = std::thread([this] { Serve(); });
}

ScriptedDevice::~ScriptedDevice() {
    stop_ = true;
    thread_.join();
    if (master_ >= 0)
        close(master_);
    if (slave_ >= 0)
        close(slave_);
}

void ScriptedDevice::SetResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<ScriptedDevice::Received> ScriptedDevice::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void ScriptedDevice::Send(const Bytes& bytes) {
    if (pacingMicros_ == 0) {
        if (!bytes.empty())
            (void)!write(master_, bytes.data(), bytes.size());
        return;
    }
    for (uint8_t b : bytes) {
        usleep(pacingMicros_);
        (void)!write(master_, &b, 1);
    }
}

ScriptedDevice::Bytes ScriptedDevice::Reply(uint8_t status, std::array<uint8_t, 6> data) {
    TarnFrame f{tarn::kReplyMark, tarn::kRequestMark, 0, status};
    for (int i = 0; i < 6; ++i)
        f[4 + i] = data[i];
    f[10] = tarn::CheckByte(f);
    return Bytes(f.begin(), f.end());
}

ScriptedDevice::Bytes ScriptedDevice::ReplyWithBadCheck(uint8_t status) {
    Bytes b = Reply(status);
    b[10] = static_cast<uint8_t>((b[10] + 1) & 0x7F);
    return b;
}

void ScriptedDevice::Serve() {
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 5) <= 0)
            continue;
        uint8_t buf[64];
        const ssize_t n = read(master_, buf, sizeof buf);
        if (n <= 0)
            continue;
        Responder responder;
        std::vector<TarnFrame> frames;
        {
            std::lock_guard lock(mutex_);
            partial_.insert(partial_.end(), buf, buf + n);
            while (partial_.size() >= 11) {
                TarnFrame f;
                std::copy_n(partial_.begin(), 11, f.begin());
                partial_.erase(partial_.begin(), partial_.begin() + 11);
                requests_.push_back({f, NowMs()});
                frames.push_back(f);
            }
            responder = responder_;
        }
        for (const TarnFrame& f : frames) {
            if (responder)
                Send(responder(f));
        }
    }
}
