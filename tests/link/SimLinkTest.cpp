// The link against the bus simulator with line pacing, its transcript as the witness: the scan,
// power-on, change of id, polling, the speeds the deck reports, and a long poll under injected
// faults. The exchange rules themselves are checked byte for byte against a scripted device.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <memory>

#include "link/BusScan.h"
#include "link/CComm.h"
#include "link/TarnSys.h"
#include "link/TarnVtr.h"
#include "sim/Simulator.h"

namespace {

using tarnsim::TranscriptEntry;

struct SimLinkTest : ::testing::Test {
    void SetUp() override {
        std::string error;
        auto bench = tarnsim::Bench::FromFile(DEMO_BENCH, &error);
        ASSERT_TRUE(bench) << error;
        sim = std::make_unique<tarnsim::Simulator>(*bench);
        ASSERT_TRUE(sim->Start(&error)) << error;
        ASSERT_TRUE(comm.OpenPath(QString::fromStdString(sim->SlavePath())) && comm.Configure());
    }
    void TearDown() override { vtr.StopPolling(); }

    // Requests heard by the simulator whose bytes 2 to 5 begin with `start` (id first).
    std::vector<TranscriptEntry> Heard(std::vector<uint8_t> start = {}) const {
        std::vector<TranscriptEntry> out;
        for (const TranscriptEntry& e : sim->TranscriptEntries()) {
            if (e.kind != TranscriptEntry::Kind::Request || e.bytes.size() < 2 + start.size()) {
                continue;
            }
            if (std::equal(start.begin(), start.end(), e.bytes.begin() + 2))
                out.push_back(e);
        }
        return out;
    }
    // Serves events until done() or the time is up.
    static bool WaitFor(const std::function<bool()>& done, int ms) {
        SteadyClock c;
        const int64_t end = c.NowMs() + ms;
        while (!done() && c.NowMs() < end) {
            QCoreApplication::processEvents();
            c.Sleep(5);
        }
        return done();
    }

    std::unique_ptr<tarnsim::Simulator> sim;
    CComm comm;
    SteadyClock clock;
    CTarnIO io{comm, clock};
    TarnLink link{io};
    TarnSys sys{link};
    TarnVtr vtr{link};
};

}  // namespace

TEST_F(SimLinkTest, scanOfTheDemoBenchFindsBothDevicesWithNamesAndCategories) {
    std::vector<int> progress;
    const auto found = ScanBus(sys, clock, [&](int p) { progress.push_back(p); });
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].id, 1);
    EXPECT_EQ(found[0].category, CategoryCamera);
    EXPECT_EQ(found[0].Name(), "DemoCam DC-5");
    EXPECT_TRUE(TarnSys::SupportsDeckCommands(found[0]));
    EXPECT_TRUE(TarnSys::SupportsEffectCommands(found[0]));
    EXPECT_EQ(found[0].maker[3], 0x05);
    EXPECT_EQ(found[1].id, 2);
    EXPECT_EQ(found[1].category, CategoryVcr);
    EXPECT_EQ(found[1].Name(), "DemoVCR");
    EXPECT_FALSE(TarnSys::SupportsEffectCommands(found[1]));
    EXPECT_EQ(found[1].present, 1);
    EXPECT_EQ(progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST_F(SimLinkTest, checkAndPowerOnSwitchesOnADeviceThatIsOffAndChangeIdMovesIt) {
    ASSERT_TRUE(sim->SetPower(2, false));
    EXPECT_TRUE(sys.CheckAndPowerOn(2));
    EXPECT_TRUE(sim->Device(2)->powerOn);
    EXPECT_EQ(Heard({2, 0x3E, 0x40, 0x70}).size(), 1u);
    EXPECT_GE(Heard({2, 0x3E, 0x4E, 0x20}).size(), 2u);  // the check, then the wait

    sim->ClearTranscript();
    EXPECT_TRUE(sys.CheckAndPowerOn(1));  // already on: no power command
    EXPECT_TRUE(Heard({1, 0x3E}).empty());

    // A change of id moves the device and refuses a taken one.
    EXPECT_TRUE(sys.ChangeId(2, 12));
    EXPECT_TRUE(sim->Device(12).has_value());
    EXPECT_FALSE(sim->Device(2).has_value());
    EXPECT_TRUE(sys.Ping(12));
    EXPECT_FALSE(sys.ChangeId(12, 1));
    EXPECT_FALSE(sys.ChangeId(12, 100));  // would leave the device unreachable: not sent
    EXPECT_TRUE(sim->Device(12).has_value());
}

TEST_F(SimLinkTest, pollingFollowsThePlayingCounterAndNotifies) {
    ASSERT_TRUE(sim->SetDeckMode(1, tarnsim::deckmode::kPlay));
    std::atomic<int> notices{0};
    QObject::connect(&vtr, &TarnVtr::Changed, &vtr, [&] {
        ++notices;
        vtr.TakeChanges();
    });
    vtr.SetId(1);
    vtr.StartPolling();
    // The speed query after 31 passes turns the reported play into mode 6.
    EXPECT_TRUE(WaitFor([&] { return vtr.Mode() == ModePlay; }, 4000));
    const int32_t first = vtr.Counter();
    WaitFor([] { return false; }, 500);
    const int32_t later = vtr.Counter();
    vtr.StopPolling();
    EXPECT_GT(later - first, 10);  // 15 frames in half a second at 30 fps
    EXPECT_LE(std::abs(sim->Device(1)->position - vtr.Counter()), 10);
    EXPECT_GT(notices.load(), 10);
    EXPECT_GE(Heard({1, 0x48, 0x4E, 0x20}).size(), 1u);  // the speed query
}

TEST_F(SimLinkTest, speedQueryTellsSlowAndSearchApart) {
    vtr.SetId(1);
    for (int mode : {ModeSlowForward, ModeSlowReverse, ModeForwardSearch, ModeReverseSearch}) {
        ASSERT_TRUE(sim->SetDeckPosition(1, 30 * 60 * 10));  // mid-tape, room both ways
        ASSERT_TRUE(sim->SetDeckMode(1, mode));
        vtr.ForgetMode();
        ASSERT_TRUE(vtr.ReadStatus());
        EXPECT_EQ(vtr.Mode(), mode);
    }
}

TEST_F(SimLinkTest, aMinuteOfPollingUnderFaultsKeepsGoingAndEndsEveryExchange) {
    std::string error;
    auto plan =
        tarnsim::FaultPlan::Parse("silence=0.1,badcheck=0.02,noise=0.05,short=0.02", 11, &error);
    ASSERT_TRUE(plan) << error;
    sim->SetFaultPlan(*plan);
    ASSERT_TRUE(sim->SetDeckMode(1, tarnsim::deckmode::kPlay));
    std::atomic<int> traces{0};
    std::array<std::atomic<int>, 7> results{};
    QObject::connect(&io, &CTarnIO::Traced, [&](const TarnTrace& t) {
        ++traces;
        ++results[static_cast<int>(t.result)];
    });
    std::atomic<int> accepted{0};
    vtr.SetPollHook([&](bool ok) { accepted += ok; });
    vtr.SetId(1);
    vtr.StartPolling();
    clock.Sleep(50'000);
    const int acceptedBefore = accepted;
    clock.Sleep(10'000);
    const int64_t stopStart = clock.NowMs();
    vtr.StopPolling();
    EXPECT_LT(clock.NowMs() - stopStart, 1000);
    EXPECT_GT(accepted - acceptedBefore, 50);              // still polling in the last ten seconds
    EXPECT_GT(results[3].load(), 50);                      // silence and short replies were met
    EXPECT_GT(results[4].load() + results[5].load(), 10);  // and damaged ones
    EXPECT_EQ(static_cast<size_t>(traces.load()), Heard().size());
}
