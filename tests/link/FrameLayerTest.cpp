// The frame layer byte for byte against a scripted device: the check byte, id rules, reply
// checks, the gap after unanswered requests and the retry rule for each status byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <utility>

#include "ScriptedDevice.h"
#include "link/CComm.h"
#include "link/CTarnIO.h"
#include "link/TarnCommands.h"

namespace {

const TarnFrame kStatusRequestTo5{0xFF, 0xFF, 0x05, 0x08, 0x4E, 0x20, 0, 0, 0, 0, 0x07};

struct FrameLayerTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(comm.OpenPath(device.Path()) && comm.Configure());
        QObject::connect(&io, &CTarnIO::Traced,
                         [this](const TarnTrace& t) { traces.push_back(t); });
    }
    LinkResult Send(int id) {
        io.PrepareFrame(static_cast<uint8_t>(id), tarncmd::kStatusQuery);
        return io.Transact();
    }
    void Answer(const ScriptedDevice::Bytes& reply) {
        device.SetResponder([reply](const TarnFrame&) { return reply; });
    }
    // Answers each request with the next status byte of the list (kSilence: nothing, kDamaged: a
    // reply with a bad check byte), then stays silent.
    static constexpr int kSilence = -1, kDamaged = -2;
    void AnswerStatuses(std::vector<int> statuses) {
        auto left = std::make_shared<std::vector<int>>(std::move(statuses));
        device.SetResponder([left](const TarnFrame&) -> ScriptedDevice::Bytes {
            if (left->empty())
                return {};
            const int s = left->front();
            left->erase(left->begin());
            if (s == kDamaged)
                return ScriptedDevice::ReplyWithBadCheck(0x00);
            return s < 0 ? ScriptedDevice::Bytes{} : ScriptedDevice::Reply(static_cast<uint8_t>(s));
        });
    }

    ScriptedDevice device;
    CComm comm;
    SteadyClock clock;
    CTarnIO io{comm, clock};
    std::vector<TarnTrace> traces;
};

}  // namespace

TEST(FrameCodec, checkByteOfTheStatusQueryToDevice5) {
    EXPECT_EQ(tarn::BuildRequest(5, tarncmd::kStatusQuery), kStatusRequestTo5);
    EXPECT_EQ(tarn::FrameToHex(kStatusRequestTo5), "FF FF 05 08 4E 20 00 00 00 00 07");
}

TEST_F(FrameLayerTest, requestGoesOutByteExactAndAValidReplyIsKept) {
    Answer(ScriptedDevice::Reply(0x03, {0x06, 0x00, 0x01, 0x02, 0x03, 0x04}));
    EXPECT_EQ(Send(5), LinkResult::Ok);
    ASSERT_EQ(device.Requests().size(), 1u);
    EXPECT_EQ(device.Requests()[0].frame, kStatusRequestTo5);
    EXPECT_EQ(io.Reply()[3], 0x03);
    EXPECT_EQ(io.Reply()[9], 0x04);
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0].request, kStatusRequestTo5);
    EXPECT_EQ(traces[0].reply, io.Reply());
    EXPECT_EQ(traces[0].result, LinkResult::Ok);
}

TEST_F(FrameLayerTest, refusedIdsPutNothingOnTheWireAndTraceOnceAndNoPortIsNotWritten) {
    for (int id : {0, 200, 128}) {
        traces.clear();
        EXPECT_EQ(Send(id), LinkResult::BadId) << id;
        EXPECT_EQ(traces.size(), 1u);
        EXPECT_EQ(traces[0].result, LinkResult::BadId);
    }
    usleep(30000);
    EXPECT_TRUE(device.Requests().empty());
    comm.Close();
    EXPECT_EQ(Send(5), LinkResult::NotWritten);
}

TEST_F(FrameLayerTest, silentIdsAreSentWithoutWaitingAndKeepTheLastReply) {
    Answer(ScriptedDevice::Reply(0x03, {9, 9, 9, 9, 9, 9}));
    ASSERT_EQ(Send(5), LinkResult::Ok);
    const TarnFrame before = io.Reply();
    device.SetResponder(nullptr);
    const int64_t start = NowMs();
    EXPECT_EQ(Send(100), LinkResult::Ok);
    EXPECT_LT(NowMs() - start, 45);  // waiting for a reply would take 50
    EXPECT_EQ(io.Reply(), before);
    usleep(30000);
    ASSERT_EQ(device.Requests().size(), 2u);
    EXPECT_EQ(device.Requests()[1].frame[2], 100);
}

TEST_F(FrameLayerTest, damagedRepliesAreRejectedWithAZeroReplyFrame) {
    Answer(ScriptedDevice::Reply(0x03, {1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(Send(5), LinkResult::Ok);

    Answer(ScriptedDevice::ReplyWithBadCheck(0x03));
    EXPECT_EQ(Send(5), LinkResult::BadCheck);
    EXPECT_EQ(io.Reply(), TarnFrame{});

    ScriptedDevice::Bytes noise = ScriptedDevice::Reply(0x03);
    noise[0] = 0xFF;
    Answer(noise);
    EXPECT_EQ(Send(5), LinkResult::BadMarks);
    EXPECT_EQ(io.Reply(), TarnFrame{});

    // Byte 2 naming another device is that device's late reply, no answer to this request; one
    // that names no device says nothing and is taken.
    const auto fromId = [](uint8_t id) {
        ScriptedDevice::Bytes reply = ScriptedDevice::Reply(0x03);
        reply[2] = id;
        reply[10] = tarn::CheckByte(TarnFrame{0xFC, 0xFF, id, 0x03});
        return reply;
    };
    Answer(fromId(0x5A));
    EXPECT_EQ(Send(5), LinkResult::NoReply);
    EXPECT_EQ(io.Reply(), TarnFrame{});
    for (uint8_t id : {0x00, 0x05, 0x80}) {
        Answer(fromId(id));
        EXPECT_EQ(Send(5), LinkResult::Ok) << int(id);
        EXPECT_EQ(io.Reply()[2], id);
    }
}

TEST(FrameLayerWrites, aWriteTheOpenPortCannotDrainIsRetriedAndAGoneDeviceEndsAtOnce) {
    auto device = std::make_unique<ScriptedDevice>();
    device->SetResponder([](const TarnFrame&) { return ScriptedDevice::Reply(0x03); });
    // A second handle on the line, opened before the program takes it exclusively, to hold
    // its output as a stuck driver would.
    const int line = ::open(device->Path().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(line, 0);
    CComm comm;
    ASSERT_TRUE(comm.OpenPath(device->Path()) && comm.Configure());
    SteadyClock clock;
    CTarnIO io{comm, clock};
    int exchanges = 0;
    QObject::connect(&io, &CTarnIO::Traced, [&](const TarnTrace&) { ++exchanges; });
    io.PrepareFrame(5, tarncmd::kStatusQuery);

    ASSERT_EQ(::tcflow(line, TCOOFF), 0);
    EXPECT_EQ(io.Transact(), LinkResult::NoReply);
    EXPECT_EQ(io.Status(), 0);
    EXPECT_FALSE(io.TransactRetry(5));
    EXPECT_EQ(exchanges, 1 + 5);
    ASSERT_EQ(::tcflow(line, TCOON), 0);
    EXPECT_TRUE(io.TransactRetry(5));

    ::close(line);
    device.reset();  // the far end hangs up
    exchanges = 0;
    EXPECT_FALSE(io.TransactRetry(5));
    EXPECT_EQ(io.LastResult(), LinkResult::NotWritten);
    EXPECT_EQ(exchanges, 1);
}

TEST_F(FrameLayerTest, unansweredRequestsAre80msApartAnsweredOnesFollowAtOnce) {
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Send(5), LinkResult::NoReply);
    Answer(ScriptedDevice::Reply(0x03));
    // The first reply after silence may be the last request's, come late (below).
    EXPECT_EQ(Send(5), LinkResult::NoReply);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Send(5), LinkResult::Ok);
    const auto requests = device.Requests();
    ASSERT_EQ(requests.size(), 7u);
    // The device notes a request when it reads it, which a busy machine may delay for one and
    // not the next; spans over several requests keep that error to their two ends.
    // 1 -> 4 follows silence three times: at least 3 x 80 ms, without the gap about 3 x 50.
    EXPECT_GE(requests[3].atMs - requests[0].atMs, 200);
    // 5 -> 7 follows answers: a reply and the next request, well inside two gaps.
    EXPECT_LT(requests[6].atMs - requests[4].atMs, 140);
}

// A reply that comes alone after a lost one may be the lost one, late, with this request's own
// lost: taken for this request's answer only when it names this request's device and the reply
// lost was another device's.
TEST_F(FrameLayerTest, aLoneReplyAfterALostOneIsTakenOnlyWhenItNamesThisRequestsDeviceAlone) {
    const auto reply = [](uint8_t id) {
        ScriptedDevice::Bytes r = ScriptedDevice::Reply(0x03);
        r[2] = id;
        r[10] = tarn::CheckByte(TarnFrame{0xFC, 0xFF, id, 0x03});
        return r;
    };
    const struct {
        int lostFrom;
        int askedNext;
        uint8_t named;
        LinkResult result;
    } cases[] = {
        {5, 6, 6, LinkResult::Ok},
        {5, 5, 5, LinkResult::NoReply},
        {5, 6, 0, LinkResult::NoReply},
    };
    for (const auto& c : cases) {
        Answer({});
        ASSERT_EQ(Send(c.lostFrom), LinkResult::NoReply);
        Answer(reply(c.named));
        EXPECT_EQ(Send(c.askedNext), c.result) << int{c.named};
        EXPECT_EQ(Send(c.askedNext), LinkResult::Ok) << int{c.named};
    }
}

TEST_F(FrameLayerTest, noiseAheadOfAReplyOnAPacedLineSpoilsThatExchangeOnly) {
    // As on a 9600 baud line: the reply's tail is still arriving when its first eleven bytes
    // are read. The next request must not go out (flushing the line) before the tail has passed,
    // or the tail lands ahead of the next reply, and so on.
    device.SetBytePacing(1146);
    auto first = std::make_shared<bool>(true);
    device.SetResponder([first](const TarnFrame&) {
        ScriptedDevice::Bytes bytes = ScriptedDevice::Reply(0x03);
        if (std::exchange(*first, false))
            bytes.insert(bytes.begin(), {0x3C, 0x11, 0x22, 0x33});
        return bytes;
    });
    EXPECT_EQ(Send(5), LinkResult::BadMarks);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Send(5), LinkResult::Ok) << i;
}

TEST_F(FrameLayerTest, retryStopsOnRefusalOrDamageSucceedsOnAcceptanceAndRetriesTheRest) {
    struct Case {
        std::vector<int> statuses;
        bool ok;
        size_t exchanges;
    };
    // Silence comes last: a lone reply after it may be a late one and is no answer.
    const Case cases[] = {
        {{kDamaged}, false, 1},
        {{0x01}, false, 1},
        {{0x41}, false, 1},
        {{0x40}, true, 1},
        {{0x02}, true, 1},
        {{0x03}, true, 1},
        {{0x04}, true, 1},
        {{0x00, 0x03}, true, 2},
        {{0x05, 0x05, 0x02}, true, 3},
        {{0x06, 0x07, 0x00, 0x05, 0x00}, false, 5},
        {{kSilence, kSilence, kSilence, kSilence, kSilence}, false, 5},
    };
    for (const Case& c : cases) {
        const size_t before = device.Requests().size();
        AnswerStatuses(c.statuses);
        io.PrepareFrame(5, tarncmd::kStatusQuery);
        EXPECT_EQ(io.TransactRetry(5), c.ok) << c.statuses[0];
        EXPECT_EQ(device.Requests().size() - before, c.exchanges) << c.statuses[0];
    }
}
