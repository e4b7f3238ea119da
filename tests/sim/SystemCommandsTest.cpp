// The bus-level commands, byte for byte, as a program on the serial line sees them.
#include "sim/SimFixture.h"

namespace {

class SystemCommands : public SimFixture {
protected:
    void SetUp() override { Serve(); }
};

TEST_F(SystemCommands, presenceAndPowerQueriesReportPowerInBitZero) {
    EXPECT_EQ(Hex(Ask(5, {0x7C, 0x4E, 0x20})), Hex(ReplyFrame(5, 0x03, {0x01})));
    EXPECT_EQ(Hex(Ask(5, {0x3E, 0x4E, 0x20})), Hex(ReplyFrame(5, 0x03, {0x01})));
    // A device in standby still answers, and says it is off.
    EXPECT_EQ(Hex(Ask(9, {0x7C, 0x4E, 0x20})), Hex(ReplyFrame(9, 0x03, {0x00})));
    EXPECT_EQ(Hex(Ask(9, {0x3E, 0x4E, 0x20})), Hex(ReplyFrame(9, 0x03, {0x00})));
}

TEST_F(SystemCommands, powerOnAndOffSwitchTheDevice) {
    EXPECT_EQ(Hex(Ask(9, {0x3E, 0x40, 0x70})), Hex(ReplyFrame(9, 0x02, {})));
    EXPECT_EQ(Hex(Ask(9, {0x3E, 0x4E, 0x20})), Hex(ReplyFrame(9, 0x03, {0x01})));
    EXPECT_TRUE(sim->Device(9)->powerOn);
    EXPECT_EQ(Hex(Ask(9, {0x3E, 0x40, 0x60})), Hex(ReplyFrame(9, 0x02, {})));
    EXPECT_EQ(Hex(Ask(9, {0x7C, 0x4E, 0x20})), Hex(ReplyFrame(9, 0x03, {0x00})));
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

TEST_F(SystemCommands, switchingADeckOffStopsItsTapeAndDeckCommandsGetNotReady) {
    Ask(5, {0x08, 0x43, 0x75});
    ASSERT_EQ(sim->Device(5)->mode, 6);
    Ask(5, {0x3E, 0x40, 0x60});
    EXPECT_EQ(sim->Device(5)->mode, 1);
    EXPECT_EQ(Ask(5, {0x08, 0x4E, 0x20})[3], 0x05);
    EXPECT_EQ(Ask(5, {0x08, 0x43, 0x75})[3], 0x05);
    EXPECT_EQ(sim->Device(5)->mode, 1);
}

TEST_F(SystemCommands, categoryQueryGivesCategoryAndCommandGroups) {
    EXPECT_EQ(Hex(Ask(7, {0x7C, 0x49})), Hex(ReplyFrame(7, 0x03, {0x07, 0x08, 0x18})));
    EXPECT_EQ(Hex(Ask(5, {0x7C, 0x49})), Hex(ReplyFrame(5, 0x03, {0x01, 0x08})));
    EXPECT_EQ(Hex(Ask(9, {0x7C, 0x49})), Hex(ReplyFrame(9, 0x03, {0x22})));
}

TEST_F(SystemCommands, makerQueryGivesTheSixMakerBytes) {
    EXPECT_EQ(Hex(Ask(5, {0x7C, 0x45})),
              Hex(ReplyFrame(5, 0x03, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60})));
}

TEST_F(SystemCommands, nameComesInTwoPartsWithTheEndMarkAfterShortNames) {
    // Twelve characters: both parts full, no end mark.
    EXPECT_EQ(Hex(Ask(5, {0x7C, 0x4C})), Hex(ReplyFrame(5, 0x03, {'R', 'e', 'c', 'o', 'r', 'd'})));
    EXPECT_EQ(Hex(Ask(5, {0x7C, 0x4D})), Hex(ReplyFrame(5, 0x03, {'e', 'r', 'N', 'i', 'n', 'e'})));
    // Three characters: the mark follows at once.
    EXPECT_EQ(Hex(Ask(7, {0x7C, 0x4C})), Hex(ReplyFrame(7, 0x03, {'C', 'A', 'M', 0x7F})));
    EXPECT_EQ(Hex(Ask(7, {0x7C, 0x4D})), Hex(ReplyFrame(7, 0x03, {0x7F})));
    // Six characters: the mark opens the second part.
    EXPECT_EQ(Hex(Ask(9, {0x7C, 0x4C})), Hex(ReplyFrame(9, 0x03, {'P', 'R', 'I', 'N', 'T', '6'})));
    EXPECT_EQ(Hex(Ask(9, {0x7C, 0x4D})), Hex(ReplyFrame(9, 0x03, {0x7F})));
}

TEST_F(SystemCommands, changeIdMovesTheDeviceToTheNewId) {
    EXPECT_EQ(Hex(Ask(5, {0x7C, 0x41, 11})), Hex(ReplyFrame(5, 0x02, {})));
    EXPECT_TRUE(Ask(5, {0x7C, 0x4E, 0x20}).empty());
    EXPECT_EQ(Hex(Ask(11, {0x7C, 0x4E, 0x20})), Hex(ReplyFrame(11, 0x03, {0x01})));
    EXPECT_TRUE(sim->Device(11).has_value());
    EXPECT_FALSE(sim->Device(5).has_value());
}

TEST_F(SystemCommands, changeIdToATakenOrInvalidIdIsRefused) {
    for (uint8_t newId : {uint8_t{7}, uint8_t{0}, uint8_t{100}, uint8_t{127}})
        EXPECT_EQ(Hex(Ask(5, {0x7C, 0x41, newId})), Hex(ReplyFrame(5, 0x01, {}))) << int(newId);
    EXPECT_TRUE(sim->Device(5).has_value());
    // Malformed: something after the new id.
    EXPECT_EQ(Ask(5, {0x7C, 0x41, 12, 0x01})[3], 0x01);
}

TEST_F(SystemCommands, rowsNoOperationSendsAndMalformedQueriesAreRefused) {
    const std::vector<std::vector<uint8_t>> refused = {
        {0x7C, 0x40, 0x60}, {0x7C, 0x40, 0x70},
        {0x7C, 0x43, 0x60}, {0x7C, 0x43, 0x70},
        {0x7C, 0x48, 0x20}, {0x7C, 0x44, 0xFF, 0xFF, 0xFF, 0xFF},
        {0x7C, 0x49, 0x01}, {0x3E, 0x4E, 0x20, 0x00, 0x00, 0x00, 0x01}};
    for (const auto& c : refused)
        EXPECT_EQ(Hex(line->Exchange(RequestFrame(5, c))), Hex(ReplyFrame(5, 0x01, {}))) << Hex(c);
}

}  // namespace
