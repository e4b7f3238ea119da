// The bus-level commands, byte for byte, as a program on the serial line sees them.
#include "sim/SimFixture.h"

namespace {

class SystemCommands : public SimFixture {
protected:
    void SetUp() override { Serve(); }
};

TEST_F(SystemCommands, identityQueriesAnswerByteForByte) {
    const struct {
        int id;
        Bytes command, reply;
    } cases[] = {
        // Presence and power report power in bit zero; a device in standby still answers.
        {5, {0x7C, 0x4E, 0x20}, ReplyFrame(5, 0x03, {0x01})},
        {5, {0x3E, 0x4E, 0x20}, ReplyFrame(5, 0x03, {0x01})},
        {9, {0x7C, 0x4E, 0x20}, ReplyFrame(9, 0x03, {0x00})},
        {9, {0x3E, 0x4E, 0x20}, ReplyFrame(9, 0x03, {0x00})},
        // Category and command groups.
        {7, {0x7C, 0x49}, ReplyFrame(7, 0x03, {0x07, 0x08, 0x18})},
        {5, {0x7C, 0x49}, ReplyFrame(5, 0x03, {0x01, 0x08})},
        {9, {0x7C, 0x49}, ReplyFrame(9, 0x03, {0x22})},
        {5, {0x7C, 0x45}, ReplyFrame(5, 0x03, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60})},
        // The name in two parts: twelve characters fill both without an end mark, three are
        // followed by the mark at once, six leave the mark to open the second part.
        {5, {0x7C, 0x4C}, ReplyFrame(5, 0x03, {'R', 'e', 'c', 'o', 'r', 'd'})},
        {5, {0x7C, 0x4D}, ReplyFrame(5, 0x03, {'e', 'r', 'N', 'i', 'n', 'e'})},
        {7, {0x7C, 0x4C}, ReplyFrame(7, 0x03, {'C', 'A', 'M', 0x7F})},
        {7, {0x7C, 0x4D}, ReplyFrame(7, 0x03, {0x7F})},
        {9, {0x7C, 0x4C}, ReplyFrame(9, 0x03, {'P', 'R', 'I', 'N', 'T', '6'})},
        {9, {0x7C, 0x4D}, ReplyFrame(9, 0x03, {0x7F})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex(line->Exchange(RequestFrame(c.id, c.command))), Hex(c.reply))
            << Hex(c.command);
}

TEST_F(SystemCommands, powerOnAndOffSwitchTheDeviceAndADeckSwitchedOffStopsItsTape) {
    EXPECT_EQ(Hex(Ask(9, {0x3E, 0x40, 0x70})), Hex(ReplyFrame(9, 0x02, {})));
    EXPECT_EQ(Hex(Ask(9, {0x3E, 0x4E, 0x20})), Hex(ReplyFrame(9, 0x03, {0x01})));
    EXPECT_TRUE(sim->Device(9)->powerOn);
    EXPECT_EQ(Hex(Ask(9, {0x3E, 0x40, 0x60})), Hex(ReplyFrame(9, 0x02, {})));
    EXPECT_EQ(Hex(Ask(9, {0x7C, 0x4E, 0x20})), Hex(ReplyFrame(9, 0x03, {0x00})));

    // A deck switched off stops its tape, and deck commands get "not ready".
    Ask(5, {0x08, 0x43, 0x75});
    ASSERT_EQ(sim->Device(5)->mode, 6);
    Ask(5, {0x3E, 0x40, 0x60});
    EXPECT_EQ(sim->Device(5)->mode, 1);
    EXPECT_EQ(Ask(5, {0x08, 0x4E, 0x20})[3], 0x05);
    EXPECT_EQ(Ask(5, {0x08, 0x43, 0x75})[3], 0x05);
    EXPECT_EQ(sim->Device(5)->mode, 1);
}

TEST_F(SimFixture, aDeckSlowToPowerUpSaysOffAndRefusesDeckCommandsForItsPowerOnTime) {
    Serve(R"({"devices": [{"id": 2, "category": 1, "groups": [8], "power": false,
                            "power_on_ms": 3000, "answer_delay_ms": 0, "deck": {}}]})");
    EXPECT_EQ(Ask(2, {0x3E, 0x40, 0x70})[3], 0x02);
    clock->AdvanceMicros(2'900'000);
    EXPECT_EQ(Hex(Ask(2, {0x3E, 0x4E, 0x20})), Hex(ReplyFrame(2, 0x03, {0x00})));
    EXPECT_EQ(Hex(Ask(2, {0x7C, 0x4E, 0x20})), Hex(ReplyFrame(2, 0x03, {0x00})));
    EXPECT_EQ(Ask(2, {0x08, 0x43, 0x75})[3], 0x05);
    EXPECT_EQ(sim->Device(2)->mode, 1);
    // A second power-on does not start the wait again.
    Ask(2, {0x3E, 0x40, 0x70});
    clock->AdvanceMicros(200'000);
    EXPECT_EQ(Hex(Ask(2, {0x3E, 0x4E, 0x20})), Hex(ReplyFrame(2, 0x03, {0x01})));
    EXPECT_EQ(Ask(2, {0x08, 0x43, 0x75})[3], 0x03);
}

TEST_F(SystemCommands, malformedQueriesAndBadIdChangesAreRefusedAndAFreeIdIsTaken) {
    // The first five change the id to a taken or invalid one, or carry something after it.
    const std::vector<std::vector<uint8_t>> refused = {{0x7C, 0x41, 7},
                                                       {0x7C, 0x41, 0},
                                                       {0x7C, 0x41, 100},
                                                       {0x7C, 0x41, 127},
                                                       {0x7C, 0x41, 12, 0x01},
                                                       {0x7C, 0x40, 0x60},
                                                       {0x7C, 0x40, 0x70},
                                                       {0x7C, 0x43, 0x60},
                                                       {0x7C, 0x43, 0x70},
                                                       {0x7C, 0x48, 0x20},
                                                       {0x7C, 0x44, 0xFF, 0xFF, 0xFF, 0xFF},
                                                       {0x7C, 0x49, 0x01},
                                                       {0x3E, 0x4E, 0x20, 0x00, 0x00, 0x00, 0x01}};
    for (const auto& c : refused)
        EXPECT_EQ(Hex(line->Exchange(RequestFrame(5, c))), Hex(ReplyFrame(5, 0x01, {}))) << Hex(c);
    EXPECT_TRUE(sim->Device(5).has_value());

    // A free id is taken: the device answers there alone.
    EXPECT_EQ(Hex(Ask(5, {0x7C, 0x41, 11})), Hex(ReplyFrame(5, 0x02, {})));
    EXPECT_TRUE(Ask(5, {0x7C, 0x4E, 0x20}).empty());
    EXPECT_EQ(Hex(Ask(11, {0x7C, 0x4E, 0x20})), Hex(ReplyFrame(11, 0x03, {0x01})));
    EXPECT_TRUE(sim->Device(11).has_value());
    EXPECT_FALSE(sim->Device(5).has_value());
}

}  // namespace
