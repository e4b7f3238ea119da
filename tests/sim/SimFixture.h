// A simulator on a test bench, served on its pseudo-terminal, with the test's line opened.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "sim/PtyLine.h"
#include "sim/Simulator.h"

// Five devices: 5 a VCR (12-character name, no latencies), 7 a camcorder with deck and effect
// groups whose edit terminal records on 5, 9 a printer that is switched off, 3 a 25 fps deck
// with latencies, 4 a drop-frame deck whose tape starts before counter zero.
const std::string& TestBenchJson();

class SimFixture : public ::testing::Test {
protected:
    // Serves the bench without line pacing on a manual clock (decks stand still unless a test
    // advances the clock), unless told otherwise.
    void Serve(const std::string& benchJson = TestBenchJson(), bool realTime = false,
               bool pacing = false);
    void TearDown() override;

    // One raw exchange on the line; empty when no reply comes.
    Bytes Ask(int id, std::initializer_list<uint8_t> command);
    void AdvanceFrames(int frames, int fps = 30);

    std::shared_ptr<tarnsim::ManualSimClock> clock;
    std::unique_ptr<tarnsim::Simulator> sim;
    std::unique_ptr<PtyLine> line;
};

tarnsim::Bench LoadBench(const std::string& json);
