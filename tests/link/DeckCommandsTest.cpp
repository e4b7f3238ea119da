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

TEST_F(DeckTest, setModeRefusesModesWithoutACommandAcceptsStatusFiveAndTakesTheReply) {
    for (int mode : {4, 8, 15, 24})
        EXPECT_FALSE(vtr.SetMode(mode, false).ok);
    EXPECT_TRUE(device.Requests().empty());

    // A final status of exactly five is accepted, after the retries; its zero bytes are no mode.
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x05); });
    EXPECT_TRUE(vtr.SetMode(ModePlay, false).ok);
    EXPECT_EQ(device.Requests().size(), 5u);
    EXPECT_EQ(vtr.Mode(), ModeNoDeck);
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x00); });
    EXPECT_FALSE(vtr.SetMode(ModePlay, false).ok);
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x01); });
    EXPECT_FALSE(vtr.SetMode(ModePlay, false).ok);
    EXPECT_EQ(device.Requests().size(), 11u);

    // Mode and counter come from the command's reply.
    device.SetResponder([](const TarnFrame&) { return StatusReply(0x03, 0x05, 250); });
    const LinkJobResult r = vtr.SetMode(ModePause, false);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.status, 0x03);
    EXPECT_TRUE(IsCommand(r.request, *tarncmd::ModeCommand(ModePause)));
    EXPECT_EQ(vtr.Mode(), ModePause);
    EXPECT_EQ(vtr.Counter(), 250);
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
        // Normal speed with a fraction: neither play nor a speed class, so the status mode.
        {0x06, {0x77, 0x00, 0x01, 0x80}, ModePlay},
        {0x07, {0x67, 0x00, 0x01, 0x01}, ModeReversePlay},
    };
    for (const Case& c : cases) {
        const auto sp = c.speed;
        device.SetResponder(Deck(StatusReply(0x03, c.mode, 100),
                                 ScriptedDevice::Reply(0x03, {sp[0], sp[1], sp[2], sp[3], 0x2A})));
        vtr.SetMode(ModePause, false);  // its reply shows stop: each case must change the mode
        ASSERT_TRUE(vtr.ReadStatus());
        EXPECT_EQ(vtr.Mode(), c.expected) << int(c.mode) << " " << int(sp[0]);
        EXPECT_EQ(vtr.SpeedByte(), 0x2A);
    }

    // A speed reply the program does not know leaves the mode as it was.
    device.SetResponder(Deck(StatusReply(0x03, 0x06, 100), ScriptedDevice::Reply(0x03, {0x55})));
    ASSERT_TRUE(vtr.ReadStatus());
    EXPECT_EQ(vtr.Mode(), ModeReversePlay);

    // A speed query that goes unanswered falls back to the mode last commanded.
    device.SetResponder([](const TarnFrame&) { return StatusReply(0x03, 0x05, 100); });
    ASSERT_TRUE(vtr.SetMode(ModeSlowForward, false).ok);
    device.SetResponder(Deck(StatusReply(0x03, 0x06, 120)));  // silent to the speed query
    ASSERT_TRUE(vtr.ReadStatus());
    EXPECT_EQ(vtr.Mode(), ModeSlowForward);
    EXPECT_EQ(CountRequests(tarncmd::kSpeedQuery), std::size(cases) + 1u + 5u);
}

TEST_F(DeckTest, aPollFailsOnAStatusThatIsNoReadingAndABusyReplyLeavesTheModeAlone) {
    std::atomic<int> steps{0}, accepted{0}, refused{0};
    vtr.SetStepHook([&] { ++steps; });
    vtr.SetPollHook([&](bool ok) { ++(ok ? accepted : refused); });
    // Polls a deck that keeps giving `reply` for a few passes.
    const auto pollWith = [&](const ScriptedDevice::Bytes& reply) {
        device.SetResponder(Deck(reply));
        steps = accepted = refused = 0;
        vtr.StartPolling();
        while (accepted + refused < 3)
            QCoreApplication::processEvents();
        vtr.StopPolling();
    };

    pollWith(StatusReply(0x03, 0x05, 200));
    EXPECT_EQ(refused.load(), 0);
    EXPECT_EQ(steps.load(), accepted.load());
    EXPECT_EQ(vtr.Mode(), ModePause);
    device.SetResponder(Deck(StatusReply(0x03, 0x06, 210),
                             ScriptedDevice::Reply(0x03, {0x77, 0x00, 0x0A, 0x00, 0x01})));
    ASSERT_TRUE(vtr.ReadStatus());
    ASSERT_EQ(vtr.Mode(), ModeForwardSearch);

    // Only a done verdict (2, 3, 4) is a reading, whatever the other bits: a refusal, a deck
    // that gives no status, or a busy bit alone fail the poll, the status read and the query of
    // another id, and nothing is taken from them.
    for (uint8_t status : {0x01, 0x41, 0x05, 0x45, 0x0D, 0x40}) {
        pollWith(StatusReply(status, 0x01, 300));
        EXPECT_EQ(accepted.load(), 0) << int(status);
        EXPECT_EQ(steps.load(), 0) << int(status);
        EXPECT_FALSE(vtr.ReadStatus()) << int(status);
        EXPECT_FALSE(vtr.QueryStatus(2).ok) << int(status);
    }
    EXPECT_EQ(vtr.Counter(), 210);
    EXPECT_EQ(vtr.Mode(), ModeForwardSearch);

    // A deck still settling that already reports the mode it is entering: the counter is
    // taken, the mode is not, neither by the polls nor by a status read.
    pollWith(StatusReply(0x43, 0x01, 230));
    EXPECT_EQ(refused.load(), 0);
    EXPECT_TRUE(vtr.ReadStatus());
    EXPECT_EQ(vtr.Mode(), ModeForwardSearch);
    EXPECT_EQ(vtr.Counter(), 230);
}

TEST_F(DeckTest, recordIsTriedThreeTimesAndStepOnce) {
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Bytes{}; });
    EXPECT_FALSE(vtr.Record(true, false).ok);
    EXPECT_EQ(CountRequests(tarncmd::kRecordPause), 3u);
    EXPECT_FALSE(vtr.Record(false, true).ok);
    EXPECT_EQ(CountRequests(tarncmd::kTerminalRecord), 3u);
    EXPECT_FALSE(vtr.Step(true).ok);
    EXPECT_EQ(CountRequests(tarncmd::kStepForward), 1u);
}

// A record whose reply went wrong (cut short, a bad check byte, noise in front) was heard: the
// deck's status decides whether it goes out again. Silence means it was not taken in.
TEST_F(DeckTest, aCommandWhoseReplyWentWrongIsSentAgainOnlyWhenTheDeckDidNotCarryItOut) {
    struct Case {
        const char* what;
        ScriptedDevice::Bytes firstReply;
        uint8_t modeAfter;  // what the deck reports when asked
        size_t recordsSent;
    };
    ScriptedDevice::Bytes cutShort = ScriptedDevice::Reply(0x03);
    cutShort.resize(6);
    ScriptedDevice::Bytes noisy = ScriptedDevice::Reply(0x03);
    noisy.insert(noisy.begin(), {0x12, 0x34});
    const std::vector<Case> cases = {
        {"short, recording", cutShort, ModeRecord, 1},
        {"bad check, recording", ScriptedDevice::ReplyWithBadCheck(0x03), ModeRecord, 1},
        {"noise, recording", noisy, ModeRecord, 1},
        {"bad check, still in rec-pause", ScriptedDevice::ReplyWithBadCheck(0x03), ModeRecordPause,
         2},
        {"silence", {}, ModeRecord, 2},
    };
    for (const Case& c : cases) {
        auto records = std::make_shared<std::atomic<int>>(0);
        device.SetResponder([c, records](const TarnFrame& f) {
            if (IsCommand(f, tarncmd::kStatusQuery))
                return StatusReply(0x03, c.modeAfter, 100);
            return ++*records == 1 ? c.firstReply : ScriptedDevice::Reply(0x03);
        });
        const size_t before = CountRequests(tarncmd::kRecord);
        EXPECT_TRUE(vtr.Record(false, false).ok) << c.what;
        EXPECT_EQ(CountRequests(tarncmd::kRecord) - before, c.recordsSent) << c.what;
    }
}

// Following a mode change, a lost status reply is asked again; only a deck silent for five
// questions in a row fails it.
TEST_F(DeckTest, theSettleWaitAsksAgainAfterALostReply) {
    auto queries = std::make_shared<std::atomic<int>>(0);
    device.SetResponder([queries](const TarnFrame& f) {
        if (!IsCommand(f, tarncmd::kStatusQuery))
            return ScriptedDevice::Reply(0x03);
        const int n = ++*queries;
        if (n == 2)
            return ScriptedDevice::ReplyWithBadCheck(0x43);
        if (n == 3)
            return ScriptedDevice::Bytes{};
        return StatusReply(n < 5 ? 0x43 : 0x03, 0x06, 10);
    });
    EXPECT_TRUE(vtr.SetMode(ModePlay, true).ok);
    EXPECT_EQ(queries->load(), 5);

    device.SetResponder([](const TarnFrame& f) {
        return IsCommand(f, tarncmd::kStatusQuery) ? ScriptedDevice::Bytes{}
                                                   : ScriptedDevice::Reply(0x03);
    });
    const size_t before = CountRequests(tarncmd::kStatusQuery);
    EXPECT_FALSE(vtr.SetMode(ModePlay, true).ok);
    EXPECT_EQ(CountRequests(tarncmd::kStatusQuery) - before, 5u);
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
