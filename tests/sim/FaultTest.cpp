// Fault injection: each kind distorts the reply as it says, and a seed reproduces a run.
#include <map>

#include "sim/SimFixture.h"

namespace {

using tarnsim::FaultKind;
using tarnsim::FaultPlan;

tarnsim::WireBytes Request(int id, const Bytes& command) {
    const Bytes frame = RequestFrame(id, command);
    tarnsim::WireBytes bytes{};
    std::copy(frame.begin(), frame.end(), bytes.begin());
    return bytes;
}

class Faults : public ::testing::Test {
protected:
    Faults() : sim(LoadBench(TestBenchJson()), Options()) {}
    tarnsim::SimOptions Options() {
        tarnsim::SimOptions options;
        options.pacing = false;
        options.clock = clock;
        return options;
    }
    Bytes StatusOf5() { return sim.Exchange(Request(5, {0x08, 0x4E, 0x20})); }

    std::shared_ptr<tarnsim::ManualSimClock> clock = std::make_shared<tarnsim::ManualSimClock>();
    tarnsim::Simulator sim;
    const Bytes good = ReplyFrame(5, 0x03, {0x01, 0x00, 0x00, 0x01, 0x02, 0x03});
};

TEST_F(Faults, eachInjectedKindDistortsOnlyTheNextReply) {
    sim.InjectNext(FaultKind::Silence);
    EXPECT_TRUE(StatusOf5().empty());

    sim.InjectNext(FaultKind::ShortReply);
    const Bytes shortReply = StatusOf5();
    ASSERT_GE(shortReply.size(), 1u);
    ASSERT_LE(shortReply.size(), 10u);
    EXPECT_EQ(Hex(shortReply), Hex(Bytes(good.begin(), good.begin() + shortReply.size())));

    sim.InjectNext(FaultKind::BadCheck);
    const Bytes badCheck = StatusOf5();
    ASSERT_EQ(badCheck.size(), 11u);
    EXPECT_EQ(Hex(Bytes(badCheck.begin(), badCheck.end() - 1)),
              Hex(Bytes(good.begin(), good.end() - 1)));
    EXPECT_NE(badCheck[10], good[10]);
    EXPECT_LT(badCheck[10], 0x80);

    sim.InjectNext(FaultKind::Noise);
    const Bytes noisy = StatusOf5();
    ASSERT_GT(noisy.size(), 11u);
    EXPECT_NE(noisy[0], 0xFC);
    EXPECT_EQ(Hex(Bytes(noisy.end() - 11, noisy.end())), Hex(good));

    EXPECT_EQ(Hex(StatusOf5()), Hex(good));
}

TEST_F(Faults, silencedAndRefusedCommandsAreNotCarriedOut) {
    sim.InjectNext(FaultKind::Silence);
    EXPECT_TRUE(sim.Exchange(Request(5, {0x08, 0x43, 0x75})).empty());
    sim.InjectNext(FaultKind::Refusal);
    EXPECT_EQ(Hex(sim.Exchange(Request(5, {0x08, 0x43, 0x75}))), Hex(ReplyFrame(5, 0x01, {})));
    EXPECT_EQ(sim.Device(5)->mode, 1);
    // A reply spoilt on the way still means the deck heard the command.
    sim.InjectNext(FaultKind::BadCheck);
    sim.Exchange(Request(5, {0x08, 0x43, 0x75}));
    EXPECT_EQ(sim.Device(5)->mode, 6);
}

TEST_F(Faults, aVanishingDeviceFallsSilentForGoodAndOneAwayForAWhileReturnsAndGoesAgain) {
    std::string error;
    const auto plan = FaultPlan::Parse("vanish=7@2000,away=5@3000/1000", 1, &error);
    ASSERT_TRUE(plan) << error;
    sim.SetFaultPlan(*plan);
    const std::vector<std::tuple<int, bool, bool>> answersAt = {
        {1999, true, true},   {2000, true, false},  {2999, true, false},
        {3000, false, false}, {3999, false, false}, {4000, true, false},
        {5999, true, false},  {6500, false, false}, {7000, true, false}};
    int nowMs = 0;
    for (const auto& [atMs, five, seven] : answersAt) {
        clock->AdvanceMillis(atMs - nowMs);
        nowMs = atMs;
        EXPECT_EQ(StatusOf5().size(), five ? 11u : 0u) << "5 at " << atMs << " ms";
        EXPECT_EQ(sim.Exchange(Request(7, {0x08, 0x4E, 0x20})).size(), seven ? 11u : 0u)
            << "7 at " << atMs << " ms";
    }
    bool vanished = false;
    for (const auto& e : sim.TranscriptEntries())
        vanished |= e.note == "device vanished";
    EXPECT_TRUE(vanished);
}

// Outcome of each of 300 status queries under a chance-based plan.
std::vector<Bytes> RunWithSeed(uint32_t seed) {
    std::string error;
    const auto plan =
        FaultPlan::Parse("silence=0.1,short=0.1,badcheck=0.1,noise=0.1,refuse=0.1", seed, &error);
    EXPECT_TRUE(plan) << error;
    tarnsim::SimOptions options;
    options.pacing = false;
    options.clock = std::make_shared<tarnsim::ManualSimClock>();
    tarnsim::Simulator sim(LoadBench(TestBenchJson()), options);
    sim.SetFaultPlan(*plan);
    std::vector<Bytes> outcomes;
    for (int i = 0; i < 300; ++i)
        outcomes.push_back(sim.Exchange(Request(5, {0x08, 0x4E, 0x20})));
    return outcomes;
}

TEST(FaultSeeds, theSameSeedGivesTheSameFaultsAndEveryKindOccurs) {
    const auto first = RunWithSeed(42);
    EXPECT_EQ(first, RunWithSeed(42));
    EXPECT_NE(first, RunWithSeed(43));
    std::map<std::string, int> kinds;
    for (const Bytes& b : first) {
        if (b.empty())
            ++kinds["silence"];
        else if (b.size() < 11)
            ++kinds["short"];
        else if (b.size() > 11)
            ++kinds["noise"];
        else if (b[3] == 0x01)
            ++kinds["refuse"];
        else if (b != ReplyFrame(5, 0x03, {0x01, 0x00, 0x00, 0x01, 0x02, 0x03}))
            ++kinds["badcheck"];
        else
            ++kinds["none"];
    }
    for (const char* kind : {"silence", "short", "noise", "refuse", "badcheck"}) {
        EXPECT_GT(kinds[kind], 10) << kind;
        EXPECT_LT(kinds[kind], 60) << kind;
    }
    EXPECT_GT(kinds["none"], 100);
}

// Record, rec-pause and pause commands count together on the deck that carries them out, also
// when an edit terminal passes them on; the named one settles FRAMES later than its latency.
TEST(LateFault, movesExactlyTheNthRecordOrPauseCommandByItsFrames) {
    const char* bench = R"({"devices": [
      {"id": 1, "category": 7, "groups": [8], "timecode_mode": 0, "edit_terminal": 2,
       "deck": {}},
      {"id": 2, "category": 1, "groups": [8], "timecode_mode": 0,
       "deck": {"latency_frames": {"record": 40, "rec_pause": 12, "pause": 20, "other": 5}}}]})";
    struct Command {
        int id;
        Bytes bytes;
        int latency;
    };
    const Command commands[] = {
        {2, {0x08, 0x42, 0x6D}, 12},  // 1st: rec-pause
        {2, {0x08, 0x42, 0x70}, 40},  // 2nd: record
        {2, {0x08, 0x44, 0x60}, 5},   // stop: not counted
        {1, {0x48, 0x50, 0x60}, 12},  // 3rd: rec-pause through the player's edit terminal
        {1, {0x48, 0x50, 0x70}, 40},  // 4th: record, the same way
        {2, {0x08, 0x43, 0x6D}, 20},  // 5th: pause
    };
    struct Row {
        const char* spec;
        std::map<size_t, int> extraByCommand;  // index into commands -> extra frames
    };
    const Row rows[] = {{"", {}},
                        {"late=2@3/4", {{3, 4}}},
                        {"late=2@5/9,late=2@1/2", {{0, 2}, {5, 9}}},
                        {"late=1@1/4,late=2@7/4", {}}};  // the player carries out none
    for (const Row& row : rows) {
        std::string error;
        const auto plan = FaultPlan::Parse(row.spec, 1, &error);
        ASSERT_TRUE(plan) << error;
        auto clock = std::make_shared<tarnsim::ManualSimClock>();
        tarnsim::Simulator sim(LoadBench(bench), {false, 1, clock});
        sim.SetFaultPlan(*plan);
        for (size_t i = 0; i < std::size(commands); ++i) {
            ASSERT_EQ(sim.Exchange(Request(commands[i].id, commands[i].bytes)).size(), 11u);
            int frames = 0;
            for (; sim.Device(2)->busy && frames < 100; ++frames)
                clock->AdvanceMicros(40'000);  // one frame at 25 fps
            const auto extra = row.extraByCommand.find(i);
            EXPECT_EQ(frames,
                      commands[i].latency + (extra == row.extraByCommand.end() ? 0 : extra->second))
                << row.spec << ", command " << i;
        }
    }
}

TEST(FaultSpec, malformedSpecsAreRefusedWithAMessage) {
    for (const char* spec : {"silence", "silence=2", "thunder=0.1", "vanish=5", "vanish=200@10",
                             "silence=0.6,noise=0.6", "away=5@1000", "away=5@1000/1000",
                             "away=5@0/10", "away=5/10@1000", "late=2@3", "late=2@0/4",
                             "late=2@3/0", "late=2@1.5/4", "late=2@3/901", "late=0@3/4"}) {
        std::string error;
        EXPECT_FALSE(FaultPlan::Parse(spec, 1, &error)) << spec;
        EXPECT_NE(error.find("faults:"), std::string::npos) << spec;
    }
    std::string error;
    EXPECT_TRUE(FaultPlan::Parse("", 1, &error));
}

}  // namespace
