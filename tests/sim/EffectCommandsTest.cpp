// The camcorder's effect function, byte for byte: effect set, transition setups, arm, run in and
// out with progress, the wipe-out, capability pages, and refusals of malformed commands.
#include "sim/SimFixture.h"

namespace {

Bytes Body(std::initializer_list<uint8_t> tail) {
    Bytes body{0x18};
    body.insert(body.end(), tail.begin(), tail.end());
    return body;
}

// The command bodies that set up each transition, in the order a program sends them.
std::vector<Bytes> SetupOf(int code) {
    const uint8_t wipe[] = {0x21, 0x27, 0x24, 0x26, 0x25, 0x28};
    if (code >= 111 && code <= 116)
        return {Body({0x40, 0x20, 0x10}), Body({0x41, wipe[code - 111]})};
    if (code >= 105 && code <= 110)
        return {Body({0x40, 0x20}), Body({0x46, 0x20}), Body({0x41, wipe[code - 105]})};
    const Bytes longPrep = Body({0x46, 0x20, 0x7F, 0x00, 0x00, 0x04});
    switch (code) {
        case 101:
            return {Body({0x44, 0x20}), longPrep, Body({0x45, 0x20, 0x7F})};
        case 102:
            return {Body({0x44, 0x20}), Body({0x46, 0x20}), Body({0x45, 0x21})};
        case 103:
            return {Body({0x44, 0x20}), Body({0x46, 0x20}), Body({0x45, 0x20, 0x7F})};
        case 104:
            return {Body({0x44, 0x20}), longPrep, Body({0x45, 0x22, 0x23})};
        default:
            return {Body({0x44, 0x20, 0x10}), Body({0x45, 0x20, 0x7F})};  // 117
    }
}

// The program's test for the end of a run at the out side.
bool ReadsAsFinished(const Bytes& r) {
    return (r[4] == 0x7F && r[5] == 1) || (r[6] & 0x04) || (r[4] == 0 && r[5] == 0) ||
           (r[6] & 0x02);
}

// The program's decoding of a capability word from the first five data bytes (reply bytes 4..8).
int DecodeWord(const Bytes& r) {
    if (r[8] & 0x01)
        return -1;
    int word = 0;
    for (int i = 4; i <= 8; ++i)
        word = (word << 4) | (r[i] & 0x0F);
    return word;
}

class EffectCommands : public SimFixture {
protected:
    void SetUp() override { Serve(); }
    uint8_t Send(const Bytes& body) {
        const Bytes reply = line->Exchange(RequestFrame(7, body));
        return reply.size() == 11 ? reply[3] : 0xEE;
    }
    void SetUpTransition(int code) {
        for (const Bytes& body : SetupOf(code))
            ASSERT_EQ(Send(body), 0x02) << code << Hex(body);
    }
    tarnsim::DeviceState Cam() { return *sim->Device(7); }
};

TEST_F(EffectCommands, effectSetChoosesEachEffectWhileTheCameraIsOn) {
    const uint8_t bytes[] = {0x60, 0x26, 0x21, 0x22, 0x25, 0x20};
    for (int e : {3, 1, 5, 2, 4, 0}) {
        EXPECT_EQ(Send(Body({0x48, bytes[e]})), 0x02);
        EXPECT_EQ(Cam().effect, e);
    }
    EXPECT_EQ(Send(Body({0x48, 0x61})), 0x01);
    EXPECT_EQ(Send(Body({0x48, 0x60, 0x01})), 0x01);
    Ask(7, {0x3E, 0x40, 0x60});  // switched off: not ready
    EXPECT_EQ(Send(Body({0x48, 0x26})), 0x05);
    EXPECT_EQ(Cam().effect, 0);
}

TEST_F(EffectCommands, eachTransitionSetupNamesItsTransition) {
    for (int code = 101; code <= 117; ++code) {
        SetUpTransition(code);
        EXPECT_EQ(Cam().selectedTransition, code);
    }
}

TEST_F(EffectCommands, setupsAndRunsOutOfOrderOrOfTheWrongFamilyAreRefused) {
    EXPECT_EQ(Send(Body({0x47, 0x65})), 0x01);        // a run without a setup
    EXPECT_EQ(Send(Body({0x45, 0x20, 0x7F})), 0x01);  // pattern before any mode select
    Send(Body({0x44, 0x20}));
    EXPECT_EQ(Send(Body({0x45, 0x21})), 0x01);  // family A needs its preparation first
    Send(Body({0x46, 0x20}));
    EXPECT_EQ(Send(Body({0x41, 0x21})), 0x01);  // a family B pattern after a family A select
    Send(Body({0x40, 0x20}));
    EXPECT_EQ(Send(Body({0x46, 0x20, 0x7F, 0x00, 0x00, 0x04})), 0x01);
    Send(Body({0x44, 0x20, 0x10}));
    EXPECT_EQ(Send(Body({0x46, 0x20})), 0x01);  // 117 takes no preparation
    EXPECT_EQ(Send(Body({0x49, 0x70})), 0x01);  // wipe-out needs a complete 111..117 setup
    EXPECT_EQ(Send(Body({0x44, 0x21})), 0x01);  // no such mode select
    EXPECT_EQ(Send(Body({0x4A})), 0x01);
    EXPECT_EQ(Cam().selectedTransition, 0);
    SetUpTransition(117);
    EXPECT_EQ(Send(Body({0x43, 0x65})), 0x01);  // a family B run of a family A transition
    EXPECT_EQ(Send(Body({0x47, 0x65})), 0x02);
}

TEST_F(EffectCommands, armOnAndOffForBothFamilies) {
    for (uint8_t group : {uint8_t{0x47}, uint8_t{0x43}}) {
        EXPECT_EQ(Send(Body({group, 0x70})), 0x02);
        EXPECT_TRUE(Cam().armed);
        EXPECT_EQ(Send(Body({group, 0x60})), 0x02);
        EXPECT_FALSE(Cam().armed);
    }
}

TEST_F(EffectCommands, runInReportsProgressForTheConfiguredPollsThenItsEnd) {
    SetUpTransition(105);
    Send(Body({0x43, 0x70}));
    EXPECT_EQ(Send(Body({0x43, 0x65})), 0x02);
    EXPECT_EQ(Cam().runningTransition, 105);
    EXPECT_TRUE(Cam().runningIn);
    for (int poll = 0; poll < 5; ++poll) {  // the test bench's default of five polls
        const Bytes progress = line->Exchange(RequestFrame(7, Body({0x43, 0x7E})));
        ASSERT_EQ(progress.size(), 11u);
        EXPECT_EQ(progress[3], 0x03);
        EXPECT_FALSE(ReadsAsFinished(progress)) << poll << ": " << Hex(progress);
    }
    const Bytes end = line->Exchange(RequestFrame(7, Body({0x43, 0x7E})));
    EXPECT_EQ(Hex(end), Hex(ReplyFrame(7, 0x03, {0x7F, 0x01, 0x05})));
    EXPECT_TRUE(ReadsAsFinished(end));
    EXPECT_EQ(Cam().runningTransition, 0);
}

TEST_F(SimFixture, aRunGivenInFramesLastsThatLongHoweverOftenItIsAsked) {
    // transition_frames wins over progress_polls.
    Serve(R"({"devices": [{"id": 7, "category": 7, "groups": [8, 24], "answer_delay_ms": 0,
                            "deck": {}, "effect": {"progress_polls": 2,
                                                   "transition_frames": 30}}]})");
    for (const Bytes& body : SetupOf(102))
        ASSERT_EQ(line->Exchange(RequestFrame(7, body))[3], 0x02);
    ASSERT_EQ(Ask(7, {0x18, 0x47, 0x75})[3], 0x02);
    for (int poll = 0; poll < 10; ++poll)
        EXPECT_FALSE(ReadsAsFinished(Ask(7, {0x18, 0x47, 0x7E}))) << poll;
    AdvanceFrames(29);
    EXPECT_FALSE(ReadsAsFinished(Ask(7, {0x18, 0x47, 0x7E})));
    EXPECT_EQ(sim->Device(7)->runningTransition, 102);
    AdvanceFrames(2);
    EXPECT_TRUE(ReadsAsFinished(Ask(7, {0x18, 0x47, 0x7E})));
    EXPECT_EQ(sim->Device(7)->runningTransition, 0);
}

TEST_F(EffectCommands, wipeOutEndsTheOverlapTransitionsAndSetsTheEndBitWhenDone) {
    for (const int code : {113, 117}) {
        SetUpTransition(code);
        Send(Body({0x43, 0x60}));
        EXPECT_EQ(Send(Body({0x49, 0x70})), 0x02) << code;
        EXPECT_EQ(Cam().runningTransition, code);
        EXPECT_FALSE(Cam().runningIn);
        int polls = 0;
        Bytes progress;
        do {
            progress = line->Exchange(RequestFrame(7, Body({0x43, 0x7E})));
            ASSERT_EQ(progress.size(), 11u);
        } while (!(progress[6] & 0x01) && ++polls < 50);
        EXPECT_EQ(polls, 5) << code;
        EXPECT_EQ(Cam().runningTransition, 0);
    }
}

TEST_F(EffectCommands, capabilityPagesCarryTheBenchWordsOrAreRefusedWithoutThem) {
    Serve(R"({"devices": [{"id": 7, "category": 7, "groups": [8, 24], "answer_delay_ms": 0,
        "deck": {}, "effect": {"capabilities": [0, 131076, "none", 4094, 1048574, -1],
        "progress_polls": 2}}]})");
    const int expected[] = {0, 131076, -1, 4094, 1048574, -1};
    for (uint8_t page = 0; page <= 5; ++page) {
        const Bytes reply = Ask(7, {0x18, 0x4C, page});
        ASSERT_EQ(reply.size(), 11u);
        EXPECT_EQ(reply[3], 0x03);
        EXPECT_EQ(DecodeWord(reply), expected[page]) << int(page);
    }
    EXPECT_EQ(Ask(7, {0x18, 0x4C, 0x06})[3], 0x01);
    EXPECT_EQ(Ask(7, {0x18, 0x4C, 0x00, 0x01})[3], 0x01);
    // Two polls configured: the third progress query reports the end.
    SetUpTransition(101);
    Send(Body({0x47, 0x65}));
    EXPECT_FALSE(ReadsAsFinished(Ask(7, {0x18, 0x47, 0x7E})));
    EXPECT_FALSE(ReadsAsFinished(Ask(7, {0x18, 0x47, 0x7E})));
    EXPECT_TRUE(ReadsAsFinished(Ask(7, {0x18, 0x47, 0x7E})));

    // A device without capability answers refuses the query.
    Serve(R"({"devices": [{"id": 7, "category": 7, "groups": [8, 24], "answer_delay_ms": 0,
        "deck": {}, "effect": {"capabilities": "none"}}]})");
    EXPECT_EQ(Hex(Ask(7, {0x18, 0x4C, 0x00})), Hex(ReplyFrame(7, 0x01, {})));
}

}  // namespace
