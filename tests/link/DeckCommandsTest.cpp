// Deck commands and status decoding against a scripted deck: counter decoding, the SetMode
// acceptance rules, the speed query and the polling thread's slow checks.
#include <QCoreApplication>
#include <atomic>

#include "LinkFixture.h"
#include "link/TarnCommands.h"

namespace {

using DeckTest = LinkFixture;

// Answers status queries with `status`, speed queries with `speed`, the rest with 0x03.
ScriptedDevice::Responder Deck(ScriptedDevice::Bytes status, ScriptedDevice::Bytes speed = {}) {
    return [status, speed](const TarnFrame& f) {
        if (IsCommand(f, tarncmd::kStatusQuery))
            return status;
        if (IsCommand(f, tarncmd::kSpeedQuery))
            return speed;
        return ScriptedDevice::Reply(0x03, {1});
    };
}

}  // namespace

TEST(DeckCounter, negativeThirtyFrameCounterWithItsText) {
    const TarnFrame reply{0xFC, 0xFF, 0, 0x03, 0x01, 0x00, 0x00, 0x40, 0x05, 0x0A, 0};
    int32_t frames = 0;
    Timecode tc;
    ASSERT_TRUE(TarnVtr::DecodeCounter(reply, &frames, &tc));
    EXPECT_EQ(frames, -160);
    EXPECT_EQ(tc.mode, Fps30);
    TarnFrame noCounter = reply;
    noCounter[8] |= 0x40;
    EXPECT_FALSE(TarnVtr::DecodeCounter(noCounter, &frames, &tc));
    TarnFrame drop = reply;
    drop[5] = 0x01;
    ASSERT_TRUE(TarnVtr::DecodeCounter(drop, &frames, &tc));
    EXPECT_EQ(tc.mode, Fps30Drop);
}

TEST_F(DeckTest, statusReplyUpdatesModeCounterTextAndPower) {
    device.SetResponder(Deck(ScriptedDevice::Reply(0x03, {0x01, 0x00, 0x00, 0x40, 0x05, 0x0A})));
    ASSERT_TRUE(vtr.ReadStatus());
    DeckState s = vtr.TakeChanges();
    EXPECT_EQ(s.mode, ModeStop);
    EXPECT_EQ(s.counter, -160);
    EXPECT_EQ(s.counterText, "-00:00:05:10");
    EXPECT_TRUE(s.powerOn && s.powerChanged && s.counterChanged && s.modeChanged);
    EXPECT_FALSE(vtr.State().counterChanged);  // the receiver has cleared what it showed

    // No counter available: counter, text and flag stay as they were.
    device.SetResponder(Deck(ScriptedDevice::Reply(0x03, {0x05, 0x00, 0x00, 0x00, 0x47, 0x01})));
    ASSERT_TRUE(vtr.ReadStatus());
    s = vtr.TakeChanges();
    EXPECT_EQ(s.mode, ModePause);
    EXPECT_EQ(s.counterText, "-00:00:05:10");
    EXPECT_FALSE(s.counterChanged);
}

TEST_F(DeckTest, setModeTakesModeAndCounterFromTheCommandReply) {
    device.SetResponder([](const TarnFrame&) { return StatusReply(0x03, 0x05, 250); });
    const LinkJobResult r = vtr.SetMode(ModePause, false);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.status, 0x03);
    EXPECT_TRUE(IsCommand(r.request, *tarncmd::ModeCommand(ModePause)));
    EXPECT_EQ(vtr.Mode(), ModePause);
    EXPECT_EQ(vtr.Counter(), 250);
}

TEST_F(DeckTest, setModeAcceptsAFinalStatusOfExactlyFive) {
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x05); });
    EXPECT_TRUE(vtr.SetMode(ModePlay, false).ok);
    EXPECT_EQ(device.Requests().size(), 5u);

    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x00); });
    EXPECT_FALSE(vtr.SetMode(ModePlay, false).ok);
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x01); });
    EXPECT_FALSE(vtr.SetMode(ModePlay, false).ok);
    EXPECT_EQ(device.Requests().size(), 11u);
}

TEST_F(DeckTest, setModeRefusesModesWithoutACommand) {
    for (int mode : {4, 8, 15, 24})
        EXPECT_FALSE(vtr.SetMode(mode, false).ok);
    EXPECT_TRUE(device.Requests().empty());
}

TEST_F(DeckTest, setModeWithWaitGivesUpAfter202BusyQueries) {
    device.SetResponder([](const TarnFrame&) { return StatusReply(0x43, 0x06, 10); });
    EXPECT_FALSE(vtr.SetMode(ModePlay, true).ok);
    EXPECT_EQ(CountRequests(tarncmd::kStatusQuery), 202u);

    // A deck that settles after a few queries: the requested mode is taken without a change flag.
    auto queries = std::make_shared<std::atomic<int>>(0);
    device.SetResponder([queries](const TarnFrame&) {
        return StatusReply(++*queries > 3 ? 0x03 : 0x43, 0x06, 10);
    });
    vtr.TakeChanges();
    EXPECT_TRUE(vtr.SetMode(ModeForwardSearch, true).ok);
    const DeckState s = vtr.TakeChanges();
    EXPECT_EQ(s.mode, ModeForwardSearch);
    EXPECT_FALSE(s.modeChanged);
}

TEST_F(DeckTest, speedQueryTellsSlowSearchAndNormalPlay) {
    struct Case {
        uint8_t mode;  // status mode byte
        std::array<uint8_t, 4> speed;
        int expected;
    };
    const Case cases[] = {
        {0x16, {0x77, 0x00, 0x00, 0x40}, ModeSlowForward},
        {0x07, {0x67, 0x00, 0x00, 0x10}, ModeSlowReverse},
        {0x06, {0x77, 0x01, 0x00, 0x00}, ModeForwardSearch},
        {0x07, {0x67, 0x00, 0x02, 0x00}, ModeReverseSearch},
        {0x06, {0x75, 0x00, 0x00, 0x00}, ModePlay},
        {0x07, {0x67, 0x00, 0x01, 0x00}, ModeReversePlay},
    };
    for (const Case& c : cases) {
        const auto sp = c.speed;
        device.SetResponder(Deck(StatusReply(0x03, c.mode, 100),
                                 ScriptedDevice::Reply(0x03, {sp[0], sp[1], sp[2], sp[3], 0x2A})));
        ASSERT_TRUE(vtr.ReadStatus());
        EXPECT_EQ(vtr.Mode(), c.expected) << int(c.mode) << " " << int(sp[0]);
        EXPECT_EQ(vtr.SpeedByte(), 0x2A);
    }
}

TEST_F(DeckTest, pollingChecksPowerAfter31UnchangedPassesAndNotifies) {
    device.SetResponder([](const TarnFrame& f) {
        if (IsCommand(f, tarncmd::kPowerQuery))
            return ScriptedDevice::Reply(0x03, {0x01});
        return StatusReply(0x03, 0x05, 500);  // paused, tape standing
    });
    std::atomic<int> notices{0};
    QObject::connect(&vtr, &TarnVtr::Changed, [&] {
        ++notices;
        vtr.TakeChanges();
    });
    std::atomic<int> refusedPolls{0};
    vtr.SetPollHook([&](bool accepted) { refusedPolls += accepted ? 0 : 1; });
    vtr.StartPolling();
    while (CountRequests(tarncmd::kPowerQuery) < 2)
        QCoreApplication::processEvents();
    vtr.StopPolling();
    QCoreApplication::processEvents();

    const auto requests = device.Requests();
    std::vector<size_t> powerAt;
    for (size_t i = 0; i < requests.size(); ++i) {
        if (IsCommand(requests[i].frame, tarncmd::kPowerQuery))
            powerAt.push_back(i);
    }
    // The first poll moves the counter (0 -> 500); the next 31 see it standing.
    EXPECT_EQ(powerAt[0], 32u);
    EXPECT_EQ(powerAt[1] - powerAt[0], 32u);
    EXPECT_GE(notices.load(), 1);
    EXPECT_TRUE(vtr.PowerOn());
    EXPECT_EQ(refusedPolls.load(), 0);
}
