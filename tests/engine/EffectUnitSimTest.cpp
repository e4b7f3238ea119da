// The effect commands against the simulator's camcorder (the demo bench's player, id 1, whose
// transitions report their end after five progress polls): what went over the line, frame for
// frame, as the simulator's transcript recorded it, for every effect and for one transition of
// each family and kind, at both sides of a scene.
#include <gtest/gtest.h>

#include "engine/EffectUnit.h"
#include "link/CComm.h"
#include "sim/Simulator.h"

namespace {

using Frame = std::vector<uint8_t>;

constexpr uint8_t kPlayer = 1;

// A request as the line carries it: FF FF, id, command padded to seven bytes, check byte (the
// two's complement of the sum, low seven bits). Built here without the program's frame code.
Frame RequestTo(uint8_t id, std::initializer_list<uint8_t> command) {
    Frame f{0xFF, 0xFF, id};
    f.insert(f.end(), command);
    f.resize(10, 0);
    unsigned sum = 0;
    for (uint8_t b : f)
        sum += b;
    f.push_back(static_cast<uint8_t>((0x100 - (sum & 0xFF)) & 0x7F));
    return f;
}
Frame ToPlayer(std::initializer_list<uint8_t> command) {
    return RequestTo(kPlayer, command);
}

std::vector<Frame> Times(const Frame& f, size_t n) {
    return std::vector<Frame>(n, f);
}
std::vector<Frame> operator+(std::vector<Frame> a, const std::vector<Frame>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class EffectUnitSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        auto bench = tarnsim::Bench::FromFile(DEMO_BENCH_PATH, &error);
        ASSERT_TRUE(bench) << error;
        Serve(*bench);
    }
    // The effect unit on a simulator of this bench, in place of the one before.
    void Serve(const tarnsim::Bench& bench) {
        TearDown();
        comm.Close();
        tarnsim::SimOptions options;
        options.pacing = false;
        sim = std::make_unique<tarnsim::Simulator>(bench, options);
        std::string error;
        ASSERT_TRUE(sim->Start(&error)) << error;
        ASSERT_TRUE(comm.OpenPath(QString::fromStdString(sim->SlavePath())) && comm.Configure());
        link = std::make_unique<TarnLink>(io);
        unit = std::make_unique<EffectUnit>(*link);
        unit->SetDevice(kPlayer);
    }
    void TearDown() override {
        unit.reset();
        link.reset();
    }

    // Requests the simulator heard since the last call; every one must have been answered.
    std::vector<Frame> Heard() {
        std::vector<Frame> requests;
        size_t replies = 0;
        for (const auto& e : sim->TranscriptEntries()) {
            if (e.kind == tarnsim::TranscriptEntry::Kind::Request)
                requests.push_back(e.bytes);
            replies += e.kind == tarnsim::TranscriptEntry::Kind::Reply;
        }
        EXPECT_EQ(replies, requests.size());
        sim->ClearTranscript();
        return requests;
    }

    std::unique_ptr<tarnsim::Simulator> sim;
    CComm comm;
    SteadyClock clock;
    CTarnIO io{comm, clock};
    std::unique_ptr<TarnLink> link;
    std::unique_ptr<EffectUnit> unit;
};

const Frame kArmOnA = ToPlayer({0x18, 0x47, 0x70});
const Frame kArmOffB = ToPlayer({0x18, 0x43, 0x60});
const Frame kArmOnB = ToPlayer({0x18, 0x43, 0x70});
const Frame kProgressA = ToPlayer({0x18, 0x47, 0x7E});
const Frame kProgressB = ToPlayer({0x18, 0x43, 0x7E});
const Frame kRunInA = ToPlayer({0x18, 0x47, 0x65});
const Frame kRunOutA = ToPlayer({0x18, 0x47, 0x75});
const Frame kRunInB = ToPlayer({0x18, 0x43, 0x65});
const Frame kRunOutB = ToPlayer({0x18, 0x43, 0x75});
const Frame kWipeOutStart = ToPlayer({0x18, 0x49, 0x70});

TEST_F(EffectUnitSimTest, EveryEffectGoesOutAsItsOwnFrame) {
    for (int e = 0; e <= 5; ++e)
        EXPECT_TRUE(unit->SetEffect(e)) << e;
    EXPECT_EQ(Heard(),
              (std::vector<Frame>{ToPlayer({0x18, 0x48, 0x60}), ToPlayer({0x18, 0x48, 0x26}),
                                  ToPlayer({0x18, 0x48, 0x21}), ToPlayer({0x18, 0x48, 0x22}),
                                  ToPlayer({0x18, 0x48, 0x25}), ToPlayer({0x18, 0x48, 0x20})}));
}

TEST_F(EffectUnitSimTest, AFadeIntoWhiteAtBothSidesOfAScene) {
    const std::vector<Frame> select101{ToPlayer({0x18, 0x44, 0x20}),
                                       ToPlayer({0x18, 0x46, 0x20, 0x7F, 0x00, 0x00, 0x04}),
                                       ToPlayer({0x18, 0x45, 0x20, 0x7F})};
    ASSERT_TRUE(unit->SelectTransition(101));
    ASSERT_TRUE(unit->ArmTransition(101, true));
    ASSERT_TRUE(unit->RunTransition(101, EffectUnit::Side::In));
    // The start of a scene always takes all hundred polls, however early the device finishes.
    EXPECT_EQ(Heard(), (select101 + std::vector<Frame>{kArmOnA, kRunInA} + Times(kProgressA, 100)));

    // At the end: selected again, run out, polled until the device reports 7F 01 (the sixth
    // poll, after five running ones).
    ASSERT_TRUE(unit->RunTransition(101, EffectUnit::Side::Out));
    EXPECT_EQ(Heard(), (select101 + std::vector<Frame>{kRunOutA} + Times(kProgressA, 6)));
}

TEST_F(EffectUnitSimTest, AWipeIntoBlackAtBothSidesOfAScene) {
    const std::vector<Frame> select105{ToPlayer({0x18, 0x40, 0x20}), ToPlayer({0x18, 0x46, 0x20}),
                                       ToPlayer({0x18, 0x41, 0x21})};
    ASSERT_TRUE(unit->SelectTransition(105));
    ASSERT_TRUE(unit->ArmTransition(105, true));
    ASSERT_TRUE(unit->RunTransition(105, EffectUnit::Side::In));
    EXPECT_EQ(Heard(), (select105 + std::vector<Frame>{kArmOnB, kRunInB} + Times(kProgressB, 100)));
    ASSERT_TRUE(unit->RunTransition(105, EffectUnit::Side::Out));
    EXPECT_EQ(Heard(), (select105 + std::vector<Frame>{kRunOutB} + Times(kProgressB, 6)));
}

TEST_F(EffectUnitSimTest, AnOverlapWipeEndsWithTheWipeOut) {
    const std::vector<Frame> select113{ToPlayer({0x18, 0x40, 0x20, 0x10}),
                                       ToPlayer({0x18, 0x41, 0x24})};
    ASSERT_TRUE(unit->SelectTransition(113));
    ASSERT_TRUE(unit->ArmTransition(113, true));
    ASSERT_TRUE(unit->RunTransition(113, EffectUnit::Side::In));
    EXPECT_EQ(Heard(), (select113 + std::vector<Frame>{kArmOnB, kRunInB} + Times(kProgressB, 100)));

    // The scene's own overlap is selected again once the incoming one has run.
    ASSERT_TRUE(unit->SelectTransition(113));
    ASSERT_TRUE(unit->RunTransition(113, EffectUnit::Side::Out));
    // Disarm, start the wipe-out, then rounds of query and poll until the done flag 0x01: five
    // running replies (rounds 1, 2 and the query of round 3), the end in the poll of round 3,
    // seen by the query of round 4.
    EXPECT_EQ(Heard(),
              (select113 + std::vector<Frame>{kArmOffB, kWipeOutStart} + Times(kProgressB, 7)));
}

// A transition so short that it has ended before it can be asked about, whose start's reply comes
// back damaged: the device heard the start, so it is not sent again, though the progress shows no
// transition running, neither at the start of a scene nor at its end, nor the wipe-out.
TEST_F(EffectUnitSimTest, AStartWhoseReplyWasDamagedRunsOnceThoughItHasEndedAlready) {
    std::string error;
    const auto bench = tarnsim::Bench::FromJson(
        R"({"devices": [{"id": 1, "category": 7, "groups": [24],
                         "effect": {"progress_polls": 0}}]})",
        &error);
    ASSERT_TRUE(bench) << error;
    Serve(*bench);
    const std::vector<Frame> select105{ToPlayer({0x18, 0x40, 0x20}), ToPlayer({0x18, 0x46, 0x20}),
                                       ToPlayer({0x18, 0x41, 0x21})};
    ASSERT_TRUE(unit->SelectTransition(105));
    ASSERT_TRUE(unit->ArmTransition(105, true));
    Heard();

    sim->InjectNext(tarnsim::FaultKind::BadCheck);
    EXPECT_TRUE(unit->RunTransition(105, EffectUnit::Side::In));
    EXPECT_EQ(Heard(), (std::vector<Frame>{kRunInB} + Times(kProgressB, 100)));

    sim->InjectNext(tarnsim::FaultKind::None, 3);  // the selection goes through
    sim->InjectNext(tarnsim::FaultKind::BadCheck);
    EXPECT_TRUE(unit->RunTransition(105, EffectUnit::Side::Out));
    EXPECT_EQ(Heard(), (select105 + std::vector<Frame>{kRunOutB, kProgressB}));

    ASSERT_TRUE(unit->SelectTransition(113));
    Heard();
    sim->InjectNext(tarnsim::FaultKind::None);  // the disarm goes through
    sim->InjectNext(tarnsim::FaultKind::BadCheck);
    EXPECT_TRUE(unit->RunTransition(113, EffectUnit::Side::Out));
    EXPECT_EQ(Heard(), (std::vector<Frame>{kArmOffB, kWipeOutStart, kProgressB}));
}

TEST_F(EffectUnitSimTest, TheOtherFadesAreSelectedWithTheirOwnPreparation) {
    ASSERT_TRUE(unit->SelectTransition(102));
    ASSERT_TRUE(unit->SelectTransition(104));
    ASSERT_TRUE(unit->SelectTransition(117));
    EXPECT_EQ(Heard(), (std::vector<Frame>{
                           ToPlayer({0x18, 0x44, 0x20}), ToPlayer({0x18, 0x46, 0x20}),
                           ToPlayer({0x18, 0x45, 0x21}), ToPlayer({0x18, 0x44, 0x20}),
                           ToPlayer({0x18, 0x46, 0x20, 0x7F, 0x00, 0x00, 0x04}),
                           ToPlayer({0x18, 0x45, 0x22, 0x23}), ToPlayer({0x18, 0x44, 0x20, 0x10}),
                           ToPlayer({0x18, 0x45, 0x20, 0x7F})}));
}

TEST_F(EffectUnitSimTest, NothingGoesOutWithoutAnEffectDeviceOrForCodesOutOfRange) {
    EXPECT_FALSE(unit->SelectTransition(99));
    EXPECT_FALSE(unit->SelectTransition(118));
    EXPECT_FALSE(unit->RunTransition(118, EffectUnit::Side::In));
    EXPECT_TRUE(unit->SelectTransition(100));
    unit->SetDevice(0);
    EXPECT_TRUE(unit->SetEffect(2));
    EXPECT_TRUE(unit->SelectTransition(105));
    EXPECT_TRUE(unit->ArmTransition(105, true));
    EXPECT_TRUE(unit->RunTransition(113, EffectUnit::Side::Out));
    EXPECT_TRUE(Heard().empty());
}

TEST_F(EffectUnitSimTest, TheEndOfATimedOperationResetsTheDevice) {
    EXPECT_TRUE(unit->ArmTransition(0, false));
    EXPECT_TRUE(unit->ArmTransition(100, false));
    EXPECT_TRUE(unit->SetEffect(0));
    EXPECT_TRUE(unit->SelectTransition(100));
    const Frame armOffA = ToPlayer({0x18, 0x47, 0x60});
    EXPECT_EQ(Heard(), (std::vector<Frame>{armOffA, armOffA, ToPlayer({0x18, 0x48, 0x60})}));
}

}  // namespace
