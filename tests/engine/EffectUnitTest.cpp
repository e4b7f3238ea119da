// The effect commands byte for byte against a device played by the test on a pseudo-terminal:
// every command sequence, the progress rules at both sides of a scene, the wipe-out and the
// capability pages, through the real link thread.
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "devices/CDevCaps.h"
#include "engine/EffectUnit.h"
#include "link/CComm.h"
#include "link/ScriptedDevice.h"

namespace {

using Bytes = ScriptedDevice::Bytes;
using Command = std::vector<uint8_t>;
using Data = std::array<uint8_t, 6>;

constexpr uint8_t kAccepted = 0x03;
constexpr int kDevice = 7;

class EffectUnitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(comm.OpenPath(device.Path()) && comm.Configure());
        unit.SetDevice(kDevice);
        device.SetResponder([this](const TarnFrame& request) { return Answer(request); });
    }

    // Commands are accepted; queries answer with the next scripted data (zeros when none is
    // left), and a scripted silence (nullopt) answers nothing.
    Bytes Answer(const TarnFrame& request) {
        std::lock_guard lock(mutex);
        const bool query = request[5] == 0x7E || request[4] == 0x4C;
        if (!query || replies.empty())
            return ScriptedDevice::Reply(kAccepted);
        const std::optional<Data> data = replies.front();
        replies.pop_front();
        return data ? ScriptedDevice::Reply(kAccepted, *data) : Bytes{};
    }
    void Script(std::initializer_list<std::optional<Data>> data) {
        std::lock_guard lock(mutex);
        replies.insert(replies.end(), data);
    }
    // The command bytes of every request so far, trailing zeros dropped.
    std::vector<Command> Sent() const {
        std::vector<Command> sent;
        for (const auto& r : device.Requests()) {
            EXPECT_EQ(r.frame[2], kDevice);
            Command c(r.frame.begin() + 3, r.frame.begin() + 10);
            while (!c.empty() && c.back() == 0)
                c.pop_back();
            sent.push_back(c);
        }
        return sent;
    }
    static std::vector<Command> Repeat(const Command& c, int times) {
        return std::vector<Command>(static_cast<size_t>(times), c);
    }
    static std::vector<Command> Join(std::vector<Command> a, const std::vector<Command>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    ScriptedDevice device;
    CComm comm;
    SteadyClock clock;
    CTarnIO io{comm, clock};
    TarnLink link{io};
    EffectUnit unit{link};
    std::mutex mutex;
    std::deque<std::optional<Data>> replies;
};

const Command kArmOffA{0x18, 0x47, 0x60};
const Command kArmOnA{0x18, 0x47, 0x70};
const Command kArmOffB{0x18, 0x43, 0x60};
const Command kArmOnB{0x18, 0x43, 0x70};
const Command kProgressA{0x18, 0x47, 0x7E};
const Command kProgressB{0x18, 0x43, 0x7E};
const Command kRunInA{0x18, 0x47, 0x65};
const Command kRunOutA{0x18, 0x47, 0x75};
const Command kRunInB{0x18, 0x43, 0x65};
const Command kRunOutB{0x18, 0x43, 0x75};

// Mode select, preparation (101..110 only) and pattern of each transition.
std::vector<Command> Selection(int t) {
    switch (t) {
        case 101:
            return {
                {0x18, 0x44, 0x20}, {0x18, 0x46, 0x20, 0x7F, 0, 0, 0x04}, {0x18, 0x45, 0x20, 0x7F}};
        case 102:
            return {{0x18, 0x44, 0x20}, {0x18, 0x46, 0x20}, {0x18, 0x45, 0x21}};
        case 103:
            return {{0x18, 0x44, 0x20}, {0x18, 0x46, 0x20}, {0x18, 0x45, 0x20, 0x7F}};
        case 104:
            return {
                {0x18, 0x44, 0x20}, {0x18, 0x46, 0x20, 0x7F, 0, 0, 0x04}, {0x18, 0x45, 0x22, 0x23}};
        case 117:
            return {{0x18, 0x44, 0x20, 0x10}, {0x18, 0x45, 0x20, 0x7F}};
        default:
            break;
    }
    const uint8_t wipe[] = {0x21, 0x27, 0x24, 0x26, 0x25, 0x28};
    const uint8_t pattern = wipe[(t - 105) % 6];
    if (t <= 110)
        return {{0x18, 0x40, 0x20}, {0x18, 0x46, 0x20}, {0x18, 0x41, pattern}};
    return {{0x18, 0x40, 0x20, 0x10}, {0x18, 0x41, pattern}};
}

TEST_F(EffectUnitTest, WithoutAnEffectDeviceNothingIsSentAndAllButTheCapsQuerySucceed) {
    unit.SetDevice(0);
    EXPECT_TRUE(unit.SetEffect(3));
    EXPECT_TRUE(unit.SelectTransition(105));
    EXPECT_TRUE(unit.ArmTransition(105, true));
    EXPECT_TRUE(unit.RunTransition(113, EffectUnit::Side::Out));
    EXPECT_FALSE(unit.ReadEffectCaps());
    EXPECT_TRUE(device.Requests().empty());
}

TEST_F(EffectUnitTest, EveryEffectHasItsOwnCommand) {
    for (int e = 0; e <= 5; ++e)
        EXPECT_TRUE(unit.SetEffect(e)) << e;
    EXPECT_FALSE(unit.SetEffect(6));
    EXPECT_FALSE(unit.SetEffect(-1));
    EXPECT_EQ(Sent(), (std::vector<Command>{{0x18, 0x48, 0x60},
                                            {0x18, 0x48, 0x26},
                                            {0x18, 0x48, 0x21},
                                            {0x18, 0x48, 0x22},
                                            {0x18, 0x48, 0x25},
                                            {0x18, 0x48, 0x20}}));
}

TEST_F(EffectUnitTest, SelectingSendsModePreparationAndPatternForEveryTransition) {
    std::vector<Command> expected;
    for (int t = 101; t <= 117; ++t) {
        EXPECT_TRUE(unit.SelectTransition(t)) << t;
        expected = Join(expected, Selection(t));
    }
    EXPECT_EQ(Sent(), expected);
}

TEST_F(EffectUnitTest, NoneIsAcceptedEverywhereAndCodesOutsideTheRangeAreRefused) {
    EXPECT_TRUE(unit.SelectTransition(100));
    EXPECT_TRUE(unit.SelectTransition(200));
    EXPECT_TRUE(unit.RunTransition(100, EffectUnit::Side::In));
    EXPECT_FALSE(unit.SelectTransition(99));
    EXPECT_FALSE(unit.SelectTransition(118));
    EXPECT_FALSE(unit.RunTransition(99, EffectUnit::Side::In));
    EXPECT_FALSE(unit.RunTransition(118, EffectUnit::Side::Out));
    EXPECT_TRUE(device.Requests().empty());
}

TEST_F(EffectUnitTest, ArmingUsesTheFamilyOfTheTransition) {
    EXPECT_TRUE(unit.ArmTransition(100, false));
    EXPECT_TRUE(unit.ArmTransition(0, false));
    EXPECT_TRUE(unit.ArmTransition(104, true));
    EXPECT_TRUE(unit.ArmTransition(117, true));
    EXPECT_TRUE(unit.ArmTransition(105, true));
    EXPECT_TRUE(unit.ArmTransition(116, false));
    EXPECT_EQ(Sent(),
              (std::vector<Command>{kArmOffA, kArmOffA, kArmOnA, kArmOnA, kArmOnB, kArmOffB}));
}

TEST_F(EffectUnitTest, AtTheStartOfASceneAllHundredProgressPollsAreMade) {
    Script({Data{0x7F, 0x01, 0x06}});  // "finished" means nothing at this side
    EXPECT_TRUE(unit.RunTransition(102, EffectUnit::Side::In));
    EXPECT_EQ(Sent(), Join({kRunInA}, Repeat(kProgressA, 100)));

    EXPECT_TRUE(unit.RunTransition(112, EffectUnit::Side::In));
    EXPECT_EQ(Sent().size(), 202u);
    EXPECT_EQ(Sent()[101], kRunInB);
    EXPECT_EQ(Sent().back(), kProgressB);
}

TEST_F(EffectUnitTest, AtTheEndOfASceneProgressStopsWhenTheDeviceSaysItIsDone) {
    // Each ending the device can report, after two polls that show it still running.
    const Data running{0x10, 0x02, 0x00};
    const std::pair<Data, const char*> endings[] = {
        {Data{0x7F, 0x01, 0x00}, "pattern 7F 01"},
        {Data{0x10, 0x02, 0x04}, "end flag 0x04"},
        {Data{0x00, 0x00, 0x00}, "empty progress"},
        {Data{0x10, 0x02, 0x02}, "stop flag 0x02"},
    };
    for (const auto& [ending, name] : endings) {
        Script({running, running, ending});
        const size_t before = Sent().size();
        EXPECT_TRUE(unit.RunTransition(103, EffectUnit::Side::Out)) << name;
        const std::vector<Command> all = Sent();
        const std::vector<Command> sent(all.begin() + static_cast<long>(before), all.end());
        EXPECT_EQ(sent, Join(Join(Selection(103), {kRunOutA}), Repeat(kProgressA, 3))) << name;
    }
    // Flags of other values do not end it: bit 0x01 or 0x08 in data byte 2, 7F with 02.
    Script({Data{0x10, 0x02, 0x01}, Data{0x7F, 0x02, 0x08}, Data{0x7F, 0x01, 0x00}});
    const size_t before = Sent().size();
    EXPECT_TRUE(unit.RunTransition(108, EffectUnit::Side::Out));
    EXPECT_EQ(Sent().size() - before, Selection(108).size() + 1 + 3);
    EXPECT_EQ(Sent()[before + Selection(108).size()], kRunOutB);
}

TEST_F(EffectUnitTest, ASilentDeviceEndsTheOutSideAtOnceAndTheRunStillSucceeds) {
    Script({std::nullopt});
    EXPECT_TRUE(unit.RunTransition(104, EffectUnit::Side::Out));
    EXPECT_EQ(Sent(), Join(Join(Selection(104), {kRunOutA}), {kProgressA}));
}

TEST_F(EffectUnitTest, JoiningTransitionsEndWithTheWipeOut) {
    const Data busy{0x10, 0x02, 0x00};
    Script({busy, busy, busy, busy, Data{0x10, 0x02, 0x01}});
    EXPECT_TRUE(unit.RunTransition(114, EffectUnit::Side::Out));
    // Two exchanges a round (the query and one more poll) until the done flag 0x01.
    EXPECT_EQ(Sent(), Join({kArmOffB, {0x18, 0x49, 0x70}}, Repeat(kProgressB, 5)));

    // The overlap (117) belongs to family A but ends the same way.
    Script({Data{0x10, 0x02, 0x01}});
    EXPECT_TRUE(unit.RunTransition(117, EffectUnit::Side::Out));
    EXPECT_EQ(Sent().size(), 7u + 3u);
    EXPECT_EQ(Sent()[7], kArmOffB);
}

TEST_F(EffectUnitTest, AWipeOutThatNeverFinishesFailsAfterAHundredRounds) {
    EXPECT_FALSE(unit.RunTransition(111, EffectUnit::Side::Out));  // zeros: never done
    EXPECT_EQ(Sent().size(), 2u + 200u);
}

TEST_F(EffectUnitTest, AFailingCommandStopsTheSequence) {
    device.SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x01); });
    EXPECT_FALSE(unit.SelectTransition(105));
    EXPECT_EQ(Sent().size(), 1u);  // refused mode select: no preparation, no pattern
    EXPECT_FALSE(unit.RunTransition(105, EffectUnit::Side::In));
    EXPECT_FALSE(unit.SetEffect(1));
}

TEST(EffectCapabilityWord, NibblesOfTheFirstFiveDataBytesUnlessTheNoWordFlagIsSet) {
    const auto reply = [](std::array<uint8_t, 5> d) {
        return TarnFrame{0xFC, 0xFF, 7, 0x03, d[0], d[1], d[2], d[3], d[4], 0x5A, 0};
    };
    EXPECT_EQ(EffectUnit::DecodeCapabilityWord(reply({0x02, 0x00, 0x00, 0x00, 0x04})), 0x20004);
    EXPECT_EQ(EffectUnit::DecodeCapabilityWord(reply({0xF1, 0xA2, 0x33, 0x44, 0x56})), 0x12346);
    EXPECT_EQ(EffectUnit::DecodeCapabilityWord(reply({0x00, 0x00, 0x00, 0x00, 0x01})), -1);
    EXPECT_EQ(EffectUnit::DecodeCapabilityWord(reply({0x0F, 0x0F, 0x0F, 0x0F, 0x0F})), -1);
    // The flag is the value 0x01; 0x02 is an ordinary nibble bit.
    EXPECT_EQ(EffectUnit::DecodeCapabilityWord(reply({0x00, 0x00, 0x00, 0x00, 0x02})), 2);
}

TEST_F(EffectUnitTest, CapabilityPagesAreReadOneByOne) {
    Script({Data{0x00, 0x00, 0x00, 0x00, 0x00}, Data{0x02, 0x00, 0x00, 0x00, 0x04},
            Data{0x00, 0x00, 0x00, 0x00, 0x00}, Data{0x00, 0x00, 0x00, 0x00, 0x01},
            Data{0x02, 0x00, 0x00, 0x00, 0x04}, Data{0x00, 0x00, 0x00, 0x01, 0x00}});
    ASSERT_TRUE(unit.ReadEffectCaps());
    EXPECT_EQ(unit.Caps(), (CapabilityWords{0, 0x20004, 0, -1, 0x20004, 0x10}));
    std::vector<Command> expected{{0x18, 0x4C}};
    for (uint8_t page = 1; page <= 5; ++page)
        expected.push_back({0x18, 0x4C, page});
    EXPECT_EQ(Sent(), expected);
}

TEST_F(EffectUnitTest, ADeviceWithoutTransitionWordAnswersInOneExchange) {
    Script({Data{0x00, 0x00, 0x00, 0x00, 0x01}});
    ASSERT_TRUE(unit.ReadEffectCaps());
    EXPECT_EQ(unit.Caps()[0], -1);
    EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(EffectUnitTest, ACapabilityQueryWithoutAnswerIsTriedThreeTimes) {
    device.SetResponder([](const TarnFrame&) { return Bytes{}; });
    EXPECT_FALSE(unit.ReadEffectCaps());
    EXPECT_EQ(device.Requests().size(), 3u);
}

TEST_F(EffectUnitTest, TheCapabilityDatabaseAsksThePlayerWhenTheFileHasNoEntry) {
    CDevCaps caps{"/nonexistent/cw20dev.ini", &unit};
    caps.SetPlayerId(kDevice);
    caps.SetCategory(CDevCaps::kCameraCategory);
    Script({Data{0x00, 0x00, 0x00, 0x00, 0x04}, Data{}, Data{}, Data{}, Data{}, Data{}});
    EXPECT_TRUE(caps.Load());
    EXPECT_EQ(caps.LastSource(), CDevCaps::Source::Device);
    EXPECT_EQ(caps.Words(), (CapabilityWords{4, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(caps.TransitionAllowed(102));
    EXPECT_EQ(unit.Device(), kDevice);

    // A device that does not answer leaves a camera with its defaults.
    device.SetResponder([](const TarnFrame&) { return Bytes{}; });
    EXPECT_FALSE(caps.Load());
    EXPECT_EQ(caps.LastSource(), CDevCaps::Source::Defaults);
}

TEST_F(EffectUnitTest, CalledOnTheLinkThreadTheCommandsRunWithinTheCallersJob) {
    // The editing engine's step runs on the link thread inside a poll pass or job: its effect
    // commands must run there at once instead of waiting for the link thread (itself).
    const LinkJobResult r = link.Run([this](CTarnIO&) {
        return unit.SelectTransition(102) && unit.ArmTransition(102, true) && unit.SetEffect(2);
    });
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(Sent(), Join(Selection(102), {kArmOnA, {0x18, 0x48, 0x21}}));
}

}  // namespace
