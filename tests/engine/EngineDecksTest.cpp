// The engine's look at a deck against a device played by the test on a pseudo-terminal.
#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <optional>

#include "engine/EngineDecks.h"
#include "link/LinkFixture.h"

namespace {

using Bytes = ScriptedDevice::Bytes;

constexpr int kDevice = 3;
constexpr uint8_t kStopMode = 0x01;
constexpr uint8_t kPauseMode = 0x05;

// The engine's decks on a device that answers with the given replies in turn (nullopt: silence),
// then stays silent.
struct ScriptedDecks {
    explicit ScriptedDecks(const std::vector<std::optional<Bytes>>& replies)
        : left(replies.begin(), replies.end()) {
        EXPECT_TRUE(comm.OpenPath(device.Path()) && comm.Configure());
        device.SetResponder([this](const TarnFrame&) {
            std::lock_guard lock(mutex);
            const std::optional<Bytes> reply = left.empty() ? std::nullopt : left.front();
            if (!left.empty())
                left.pop_front();
            return reply.value_or(Bytes{});
        });
    }
    size_t Unused() {
        std::lock_guard lock(mutex);
        return left.size();
    }

    ScriptedDevice device;
    CComm comm;
    SteadyClock clock;
    CTarnIO io{comm, clock};
    TarnLink link{io};
    TarnVtr vtr{link};
    EngineDecks decks{link, vtr};
    std::mutex mutex;
    std::deque<std::optional<Bytes>> left;
};

// A run gives up on a deck that stopped by itself only when a second status says so too: one
// stop reading may be a late reply to another request.
TEST(EngineDecks, AStopReadingIsAskedAgainBeforeItCounts) {
    const auto mode = [](uint8_t m) { return std::optional(ScriptedDevice::Reply(0x03, {m})); };
    const struct {
        std::vector<std::optional<Bytes>> replies;
        bool stopped;
    } cases[] = {
        {{mode(kStopMode), mode(kPauseMode)}, false},
        {{mode(kStopMode), mode(kStopMode)}, true},
        {{mode(kStopMode), std::nullopt, std::nullopt}, true},
        {{mode(kPauseMode)}, false},
    };
    for (const auto& c : cases) {
        ScriptedDecks d(c.replies);
        d.decks.Address(kDevice);
        d.decks.ReadStatus();
        EXPECT_EQ(d.decks.Stopped(), c.stopped) << c.replies.size();
        EXPECT_EQ(d.Unused(), 0u) << c.replies.size();
    }
}

// The recorder's position comes only from a reading: a refused query's zero counter would make
// the seam and the resume point the tape's start. A refusal stands at once; a deck that gave no
// status is asked again.
TEST(EngineDecks, OnlyAReadingGivesTheRecorderPosition) {
    const struct {
        std::vector<std::optional<Bytes>> replies;
        std::optional<int32_t> position;
    } cases[] = {
        {{StatusReply(0x01, ModeRecordPause, 0), StatusReply(0x03, ModeRecordPause, 900)},
         std::nullopt},
        {{StatusReply(0x41, ModeRecordPause, 0), StatusReply(0x03, ModeRecordPause, 900)},
         std::nullopt},
        {{StatusReply(0x05, ModeRecordPause, 0), StatusReply(0x03, ModeRecordPause, 900)}, 900},
        {{StatusReply(0x43, ModeRecord, 901)}, 901},
    };
    for (const auto& c : cases) {
        ScriptedDecks d(c.replies);
        d.decks.SetDevices({1, kDevice, false, false});
        EXPECT_EQ(d.decks.TryReadRecorderPosition(), c.position) << int{(*c.replies[0])[3]};
        EXPECT_EQ(d.Unused(), c.position ? 0u : 1u) << int{(*c.replies[0])[3]};
    }
}

}  // namespace
