// The link stack on a scripted device: port, frame layer, link thread, system and deck objects.
#pragma once

#include <gtest/gtest.h>

#include "ScriptedDevice.h"
#include "link/CComm.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"

// A status reply: status byte, mode byte, counter mode byte and the counter fields.
inline ScriptedDevice::Bytes StatusReply(uint8_t status, uint8_t mode, int frames,
                                         uint8_t tcMode = 0x04) {
    const int f = frames < 0 ? -frames : frames;
    const uint8_t minutes = static_cast<uint8_t>((f / 1500) % 60 | (frames < 0 ? 0x40 : 0));
    return ScriptedDevice::Reply(
        status, {mode, tcMode, static_cast<uint8_t>(f / 90000), minutes,
                 static_cast<uint8_t>((f / 25) % 60), static_cast<uint8_t>(f % 25)});
}

inline bool IsCommand(const TarnFrame& f, const TarnCommand& c) {
    return std::equal(c.begin(), c.end(), f.begin() + 3);
}

struct LinkFixture : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(comm.OpenPath(device.Path()) && comm.Configure()); }
    void TearDown() override { vtr.StopPolling(); }
    size_t CountRequests(const TarnCommand& c) const {
        size_t n = 0;
        for (const auto& r : device.Requests())
            n += IsCommand(r.frame, c);
        return n;
    }

    ScriptedDevice device;
    CComm comm;
    SteadyClock clock;
    CTarnIO io{comm, clock};
    TarnLink link{io};
    TarnSys sys{link};
    TarnVtr vtr{link};
};
