// Rules of the line itself: who answers, how frames are found in the byte stream, what the
// transcript keeps, and how long an answer takes with line pacing.
#include <chrono>

#include "sim/SimFixture.h"

namespace {

using tarnsim::TranscriptEntry;

class LineRules : public SimFixture {
protected:
    void SetUp() override { Serve(); }
};

TEST_F(LineRules, idZeroAbsentIdsAndIdsFrom100To127GetSilence) {
    // A bench cannot even hold ids from 100 on, so a request there only proves the line stays
    // quiet; the transcript says why.
    for (int id : {100, 101, 126, 127, 6, 99, 0})
        EXPECT_TRUE(Ask(id, {0x7C, 0x4E, 0x20}).empty()) << id;
    EXPECT_EQ(sim->TranscriptEntries()[0].note, "id 100-127: never answered");
    // And the line still works afterwards.
    EXPECT_EQ(Ask(5, {0x7C, 0x4E, 0x20}).size(), 11u);
}

TEST_F(LineRules, aBadCheckByteGetsNoAnswerWhileNoiseAndAnAbandonedFrameSpoilNothingAfter) {
    const Bytes frame = RequestFrame(5, {0x7C, 0x4E, 0x20});
    Bytes damaged = frame;
    damaged[10] ^= 0x01;
    EXPECT_TRUE(line->Exchange(damaged).empty());
    ASSERT_FALSE(sim->TranscriptEntries().empty());
    EXPECT_EQ(sim->TranscriptEntries().back().kind, TranscriptEntry::Kind::Discarded);
    EXPECT_EQ(sim->TranscriptEntries().back().note, "bad check byte");

    Bytes noisy = {0x00, 0x13, 0xFF, 0x42};  // a lone FF among the noise, too
    noisy.insert(noisy.end(), frame.begin(), frame.end());
    EXPECT_EQ(Hex(line->Exchange(noisy)), Hex(ReplyFrame(5, 0x03, {0x01})));

    line->Write(Bytes(frame.begin(), frame.begin() + 6));
    EXPECT_TRUE(line->Read(11, 150).empty());
    EXPECT_EQ(Hex(line->Exchange(frame)), Hex(ReplyFrame(5, 0x03, {0x01})));
    bool sawIncomplete = false;
    for (const auto& e : sim->TranscriptEntries())
        sawIncomplete |= e.note == "incomplete frame";
    EXPECT_TRUE(sawIncomplete);
}

TEST_F(LineRules, transcriptKeepsEveryRequestAndReplyInOrderWithTimes) {
    clock->AdvanceMillis(5);
    const Bytes request = RequestFrame(5, {0x08, 0x4E, 0x20});
    const Bytes reply = line->Exchange(request);
    const auto entries = sim->TranscriptEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].kind, TranscriptEntry::Kind::Request);
    EXPECT_EQ(Hex(entries[0].bytes), Hex(request));
    EXPECT_EQ(entries[1].kind, TranscriptEntry::Kind::Reply);
    EXPECT_EQ(Hex(entries[1].bytes), Hex(reply));
    EXPECT_EQ(entries[0].micros, 5000);
    EXPECT_EQ(tarnsim::Transcript::FormatLine(entries[0]),
              "      5.000 ms  <- FF FF 05 08 4E 20 00 00 00 00 07");
}

TEST(LinePacing, anAnswerTakesTheLineTimeOfBothFramesPlusTheAnswerDelay) {
    tarnsim::SimOptions options;  // pacing on, real time
    tarnsim::Simulator sim(LoadBench(R"({"devices": [{"id": 1, "category": 1,
        "answer_delay_ms": 10}]})"),
                           options);
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    PtyLine line(sim.SlavePath());
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(line.Exchange(RequestFrame(1, {0x7C, 0x4E, 0x20})).size(), 11u);
    const auto elapsed = std::chrono::steady_clock::now() - t0;
    // 22 bytes at 1.15 ms each and 10 ms of thought: at least 35 ms.
    EXPECT_GE(elapsed, std::chrono::milliseconds(35));
}

}  // namespace
