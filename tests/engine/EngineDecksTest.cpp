// The engine's look at a deck against a device played by the test on a pseudo-terminal.
#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <optional>

#include "engine/EngineDecks.h"
#include "link/CComm.h"
#include "link/ScriptedDevice.h"
#include "link/TarnVtr.h"

namespace {

constexpr int kDevice = 3;
constexpr uint8_t kStopMode = 0x01;
constexpr uint8_t kPauseMode = 0x05;

// A run gives up on a deck that stopped by itself only when a second status says so too: one
// stop reading may be a late reply to another request.
TEST(EngineDecks, AStopReadingIsAskedAgainBeforeItCounts) {
    const struct {
        std::vector<std::optional<uint8_t>> modes;  // status answers in turn; nullopt = silence
        bool stopped;
    } cases[] = {
        {{kStopMode, kPauseMode}, false},
        {{kStopMode, kStopMode}, true},
        {{kStopMode, std::nullopt, std::nullopt}, true},
        {{kPauseMode}, false},
    };
    for (const auto& c : cases) {
        ScriptedDevice device;
        CComm comm;
        ASSERT_TRUE(comm.OpenPath(device.Path()) && comm.Configure());
        SteadyClock clock;
        CTarnIO io{comm, clock};
        TarnLink link{io};
        TarnVtr vtr{link};
        EngineDecks decks{link, vtr};
        std::mutex mutex;
        std::deque<std::optional<uint8_t>> modes(c.modes.begin(), c.modes.end());
        device.SetResponder([&](const TarnFrame&) {
            std::lock_guard lock(mutex);
            std::optional<uint8_t> mode = modes.empty() ? std::nullopt : modes.front();
            if (!modes.empty())
                modes.pop_front();
            return mode ? ScriptedDevice::Reply(0x03, {*mode}) : ScriptedDevice::Bytes{};
        });
        decks.Address(kDevice);
        decks.ReadStatus();
        EXPECT_EQ(decks.Stopped(), c.stopped) << c.modes.size();
        std::lock_guard lock(mutex);
        EXPECT_TRUE(modes.empty()) << c.modes.size();
    }
}

}  // namespace
