// The link's exclusion: commands from other threads while polling runs never interleave with
// an exchange, wait at most for the poll step in progress, and the polling thread's own
// commands and waits run without deadlock.
#include <QCoreApplication>
#include <atomic>
#include <thread>

#include "LinkFixture.h"
#include "link/TarnCommands.h"

namespace {

// A deck that thinks for a while and echoes each request's id and command bytes 3 to 5 in its
// reply, so a reply that reaches the wrong exchange is seen at once.
ScriptedDevice::Bytes Echo(const TarnFrame& f) {
    usleep(8000);
    return ScriptedDevice::Reply(0x03, {f[3] == 0x08 ? uint8_t(0x05) : f[3], f[4], f[5], 0, 1, 2});
}

bool EchoMatches(const LinkJobResult& r) {
    return r.result == LinkResult::Ok && r.reply[5] == r.request[4] && r.reply[6] == r.request[5];
}

using LinkJobsTest = LinkFixture;

}  // namespace

TEST_F(LinkJobsTest, commandsFromTwoThreadsDuringPollingNeverInterleave) {
    device.SetResponder(Echo);
    vtr.StartPolling();
    std::atomic<int> mismatches{0};
    std::thread other([&] {
        for (int i = 0; i < 40; ++i) {
            if (!EchoMatches(link.Exchange(5, tarncmd::kMakerQuery)))
                ++mismatches;
        }
    });
    // Counted in polls, not milliseconds, so a loaded machine cannot fail it: a command waits
    // for at most the poll in progress (and the other thread's command queued ahead of it), and
    // the next poll may have gone out by the time it is counted; a poller that kept the link
    // would show one poll after another here.
    size_t mostPollsDuringACommand = 0;
    for (int i = 0; i < 40; ++i) {
        const size_t pollsBefore = CountRequests(tarncmd::kStatusQuery);
        const LinkJobResult r =
            link.Exchange(5, i % 2 ? tarncmd::kNameFirstQuery : tarncmd::kCategoryQuery);
        mostPollsDuringACommand =
            std::max(mostPollsDuringACommand, CountRequests(tarncmd::kStatusQuery) - pollsBefore);
        if (!EchoMatches(r))
            ++mismatches;
    }
    other.join();
    vtr.StopPolling();
    EXPECT_EQ(mismatches.load(), 0);
    // Polls went on between the commands: each turn of the link thread serves the jobs waiting
    // at its start (one per thread) before its pass and twice within it, so 80 commands from two
    // threads that never pause cannot hold off more than one pass in six of them.
    EXPECT_GE(CountRequests(tarncmd::kStatusQuery), 80u / 6);
    EXPECT_LE(mostPollsDuringACommand, 3u);
}

TEST_F(LinkJobsTest, pollingThreadCommandsRunAtOnceAndItsWaitsServeQueuedJobs) {
    device.SetResponder(Echo);
    std::atomic<bool> answered{false};
    std::atomic<int> stepCalls{0};
    std::atomic<bool> waitResult{false};
    std::atomic<bool> commandInsideTick{false};
    vtr.SetStepHook([&] {
        if (++stepCalls != 2)
            return;
        // The engine's own command, issued inside the tick: it must not wait for the poll.
        commandInsideTick = vtr.SetMode(ModePlay, false).ok;
        // Then it waits for an answer from the GUI thread, which needs a job of its own first.
        waitResult = link.ServeJobsUntil([&] { return answered.load(); });
    });
    vtr.StartPolling();
    while (stepCalls < 2)
        QCoreApplication::processEvents();
    const LinkJobResult fromGui = vtr.QueryStatus(5);  // served inside ServeJobsUntil
    answered = true;
    link.Wake();
    while (stepCalls < 3)
        QCoreApplication::processEvents();
    vtr.StopPolling();

    EXPECT_TRUE(commandInsideTick.load());
    EXPECT_TRUE(fromGui.ok);
    EXPECT_TRUE(waitResult.load());
    const auto requests = device.Requests();
    ASSERT_GE(requests.size(), 4u);
    EXPECT_TRUE(IsCommand(requests[2].frame, *tarncmd::ModeCommand(ModePlay)));
}

TEST_F(LinkJobsTest, stopPollingEndsAWaitOnTheGuiWithoutDeadlock) {
    device.SetResponder(Echo);
    std::atomic<bool> waiting{false};
    std::atomic<int> waitResult{-1};
    vtr.SetStepHook([&] {
        if (waiting.exchange(true))
            return;
        waitResult = link.ServeJobsUntil([] { return false; }) ? 1 : 0;
    });
    vtr.StartPolling();
    while (!waiting)
        QCoreApplication::processEvents();
    vtr.StopPolling();
    EXPECT_EQ(waitResult.load(), 0);
    EXPECT_FALSE(vtr.IsPolling());
}

TEST_F(LinkJobsTest, recordAndStepAreRefusedWhileAnotherThreadsCommandHoldsTheLink) {
    device.SetResponder([](const TarnFrame& f) {
        usleep(IsCommand(f, tarncmd::kPowerOn) ? 40000 : 1000);  // within the reply budget
        return StatusReply(0x03, 0x05, 10);
    });
    std::thread holder([&] { sys.SetId(5), sys.Power(true, false); });
    while (device.Requests().empty())
        usleep(1000);
    EXPECT_TRUE(vtr.Step(true).refused);
    EXPECT_TRUE(vtr.Record(true, false).refused);
    holder.join();
    EXPECT_TRUE(vtr.Step(true).ok);
    EXPECT_EQ(device.Requests().size(), 2u);
}

namespace {

// Serves this thread's events until done() or a generous limit.
bool ServeUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 5000 && !done(); ++i) {
        QCoreApplication::processEvents();
        usleep(1000);
    }
    return done();
}

}  // namespace

TEST_F(LinkJobsTest, postedJobAnswersOnThePostersThreadAfterTheLinkRanItAndNeverToAGoneContext) {
    device.SetResponder(Echo);
    vtr.StartPolling();
    QObject window;
    std::thread::id ranOn;
    std::thread::id answeredOn;
    LinkJobResult answer;
    bool answered = false;
    link.Post(
        &window,
        [&](CTarnIO& io) {
            ranOn = std::this_thread::get_id();
            io.PrepareFrame(5, tarncmd::kMakerQuery);
            return io.Transact() == LinkResult::Ok;
        },
        [&](const LinkJobResult& r) {
            answeredOn = std::this_thread::get_id();
            answer = r;
            answered = true;
        });
    EXPECT_FALSE(answered) << "the answer is a queued call, never made inside Post";
    ASSERT_TRUE(ServeUntil([&] { return answered; }));
    EXPECT_EQ(answeredOn, std::this_thread::get_id());
    EXPECT_NE(ranOn, std::this_thread::get_id());
    EXPECT_TRUE(answer.ok && EchoMatches(answer));

    // The window closes while its job runs: the job ends, and nothing calls into the window.
    auto closing = std::make_unique<QObject>();
    std::atomic<bool> ran{false};
    bool called = false;
    link.Post(
        closing.get(),
        [&](CTarnIO&) {
            usleep(20000);
            ran = true;
            return true;
        },
        [&](const LinkJobResult&) { called = true; });
    closing.reset();
    ASSERT_TRUE(ServeUntil([&] { return ran.load(); }));
    const LinkJobResult after = link.Exchange(5, tarncmd::kMakerQuery);  // the link goes on
    QCoreApplication::processEvents();
    vtr.StopPolling();
    EXPECT_TRUE(after.ok);
    EXPECT_FALSE(called);
}
