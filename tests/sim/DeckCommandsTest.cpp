// The deck commands' replies, byte for byte, with the decks' clock held still so that every
// counter is known exactly.
#include "sim/SimFixture.h"

namespace {

class DeckCommands : public SimFixture {
protected:
    void SetUp() override { Serve(); }

    // Status of deck 5 (counter 00:01:02:03, 30 frames non-drop) in a given mode.
    static Bytes Deck5Status(uint8_t mode, uint8_t status = 0x03) {
        return ReplyFrame(5, status, {mode, 0x00, 0x00, 0x01, 0x02, 0x03});
    }
};

struct ModeRow {
    uint8_t b1, b2, mode;
};

TEST_F(DeckCommands, everyModeCommandIsCarriedOutAndAnsweredWithTheNewStatus) {
    const ModeRow rows[] = {{0x43, 0x75, 6},  {0x43, 0x65, 7},  {0x43, 0x20, 22}, {0x43, 0x24, 23},
                            {0x43, 0x21, 38}, {0x43, 0x25, 39}, {0x44, 0x75, 2},  {0x44, 0x65, 3},
                            {0x43, 0x6D, 5},  {0x42, 0x6D, 13}, {0x42, 0x70, 14}, {0x44, 0x60, 1}};
    for (const ModeRow& r : rows) {
        EXPECT_EQ(Hex(Ask(5, {0x08, r.b1, r.b2})), Hex(Deck5Status(r.mode))) << int(r.mode);
        EXPECT_EQ(sim->Device(5)->mode, r.mode);
        EXPECT_EQ(Hex(Ask(5, {0x08, 0x4E, 0x20})), Hex(Deck5Status(r.mode)));
    }
}

TEST_F(DeckCommands, speedReplyTellsEachPlayFamilySpeedApart) {
    struct Row {
        uint8_t b2;
        Bytes speed;  // reply bytes 4..8
        int statusMode;
    };
    const Row rows[] = {
        {0x75, {0x75, 0x00, 0x01, 0x00, 0x00}, 6}, {0x65, {0x67, 0x00, 0x01, 0x00, 0x01}, 7},
        {0x20, {0x77, 0x00, 0x00, 0x33, 0x01}, 6}, {0x24, {0x67, 0x00, 0x00, 0x33, 0x01}, 7},
        {0x21, {0x77, 0x00, 0x0A, 0x00, 0x01}, 6}, {0x25, {0x67, 0x00, 0x0A, 0x00, 0x01}, 7}};
    for (const Row& r : rows) {
        const Bytes status = Ask(5, {0x08, 0x43, r.b2});
        EXPECT_EQ(status[4] & 0x0F, r.statusMode);
        const Bytes reply = Ask(5, {0x48, 0x4E, 0x20});
        ASSERT_EQ(reply.size(), 11u);
        EXPECT_EQ(Hex(Bytes(reply.begin() + 4, reply.begin() + 9)), Hex(r.speed));
    }
}

TEST_F(DeckCommands, stepMovesOneFrameAndEjectLeavesNoCounterUntilTheNextCommand) {
    EXPECT_EQ(Hex(Ask(5, {0x48, 0x46, 0x75, 0x01})),
              Hex(ReplyFrame(5, 0x03, {0x05, 0x00, 0x00, 0x01, 0x02, 0x04})));
    Ask(5, {0x48, 0x46, 0x65, 0x01});
    EXPECT_EQ(Hex(Ask(5, {0x48, 0x46, 0x65, 0x01})),
              Hex(ReplyFrame(5, 0x03, {0x05, 0x00, 0x00, 0x01, 0x02, 0x02})));
    EXPECT_EQ(sim->Device(5)->position, 62 * 30 + 2);

    // Eject leaves no counter until the next transport command.
    EXPECT_EQ(Hex(Ask(5, {0x08, 0x41, 0x60})),
              Hex(ReplyFrame(5, 0x03, {0x00, 0x00, 0x00, 0x00, 0x40, 0x00})));
    EXPECT_FALSE(sim->Device(5)->counterAvailable);
    EXPECT_EQ(Hex(Ask(5, {0x08, 0x43, 0x6D})),
              Hex(ReplyFrame(5, 0x03, {0x05, 0x00, 0x00, 0x01, 0x02, 0x02})));
}

TEST_F(DeckCommands, editTerminalRecordsOnItsTargetDeckAndAnswersWithItsStatus) {
    const Bytes pause = Ask(7, {0x48, 0x50, 0x60});
    EXPECT_EQ(Hex(pause), Hex(ReplyFrame(7, 0x03, {0x0D, 0x00, 0x00, 0x01, 0x02, 0x03})));
    EXPECT_EQ(sim->Device(5)->mode, 13);
    Ask(7, {0x48, 0x50, 0x70});
    EXPECT_EQ(sim->Device(5)->mode, 14);
    EXPECT_EQ(sim->Device(7)->mode, 1);
    // A deck without an edit terminal refuses the terminal commands.
    EXPECT_EQ(Hex(Ask(5, {0x48, 0x50, 0x70})), Hex(ReplyFrame(5, 0x01, {})));
}

TEST_F(DeckCommands, counterIsReportedInEachCountingModeWithSignAndNoCounterBits) {
    // 25 frames per second, 00:10:00:00.
    EXPECT_EQ(Hex(Ask(3, {0x08, 0x4E, 0x20})),
              Hex(ReplyFrame(3, 0x03, {0x05, 0x04, 0x00, 0x0A, 0x00, 0x00})));
    // Drop-frame, -160 frames: minus bit on the minutes, -00:00:05:10.
    EXPECT_EQ(Hex(Ask(4, {0x08, 0x4E, 0x20})),
              Hex(ReplyFrame(4, 0x03, {0x01, 0x01, 0x00, 0x40, 0x05, 0x0A})));
    // Drop-frame labels: 1800 frames are 00:01:00:02, 17982 are 00:10:00:00.
    sim->SetDeckPosition(4, 1800);
    EXPECT_EQ(Hex(Ask(4, {0x08, 0x4E, 0x20})),
              Hex(ReplyFrame(4, 0x03, {0x01, 0x01, 0x00, 0x01, 0x00, 0x02})));
    sim->SetDeckPosition(4, 17982);
    EXPECT_EQ(Hex(Ask(4, {0x08, 0x4E, 0x20})),
              Hex(ReplyFrame(4, 0x03, {0x01, 0x01, 0x00, 0x0A, 0x00, 0x00})));
    sim->SetCounterAvailable(5, false);
    EXPECT_EQ(Hex(Ask(5, {0x08, 0x4E, 0x20})),
              Hex(ReplyFrame(5, 0x03, {0x01, 0x00, 0x00, 0x00, 0x40, 0x00})));
}

TEST_F(SimFixture, busyBitStaysWhileAModeChangeSettlesShowingTheOldModeOrOnNewerDecksTheNew) {
    for (const auto& [busyMode, shownWhileBusy] :
         {std::pair{"old", 0x05}, std::pair{"new", 0x06}}) {
        SCOPED_TRACE(busyMode);
        Serve(R"({"devices": [{"id": 3, "category": 1, "groups": [8], "answer_delay_ms": 0,
                                "deck": {"mode": "pause", "busy_mode": ")" +
              std::string(busyMode) + R"(", "latency_frames": {"play": 10}}}]})");
        const Bytes accepted = Ask(3, {0x08, 0x43, 0x75});  // 10 frames from play to moving
        EXPECT_EQ(accepted[3], 0x43);
        EXPECT_EQ(accepted[4], shownWhileBusy);
        AdvanceFrames(9);
        const Bytes settling = Ask(3, {0x08, 0x4E, 0x20});
        EXPECT_EQ(settling[3], 0x43);
        EXPECT_EQ(settling[4], shownWhileBusy);
        EXPECT_EQ(sim->Device(3)->mode, 5);  // the tape itself still stands
        AdvanceFrames(2);
        const Bytes moving = Ask(3, {0x08, 0x4E, 0x20});
        EXPECT_EQ(moving[3], 0x03);
        EXPECT_EQ(moving[4], 0x06);
    }
}

TEST_F(DeckCommands, unsupportedAndMalformedCommandsAreRefused) {
    Ask(9, {0x3E, 0x40, 0x70});  // the printer, switched on
    const std::vector<std::pair<int, Bytes>> refused = {
        {5, {0x18, 0x48, 0x60}},                          // effect command to a VCR
        {5, {0x08, 0x4F, 0x20}},                          // no such deck command
        {5, {0x08, 0x4E, 0x20, 0x00, 0x00, 0x00, 0x01}},  // trailing garbage
        {5, {0x48, 0x46, 0x75, 0x02}},                    // step by two
        {9, {0x08, 0x4E, 0x20}},                          // deck command to a printer
        {9, {0x08, 0x43, 0x75}},
        {5, {0x55, 0x00, 0x00}}};  // unknown command group
    for (const auto& [id, command] : refused)
        EXPECT_EQ(Hex(line->Exchange(RequestFrame(id, command))), Hex(ReplyFrame(id, 0x01, {})))
            << Hex(command);
    EXPECT_EQ(sim->Device(5)->mode, 1);
}

}  // namespace
