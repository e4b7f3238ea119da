// Every timeout, retry count and gap of the Tarn link in one place, each with the reason for its
// value. The transport, the frame layer, the system and deck commands and the bus scan use these.
#pragma once

namespace linktiming {

// A device starts its reply within this time after the request; later means nobody is there.
constexpr int kReplyStartMs = 50;
// All 11 reply bytes (12.6 ms on the line) must be in within this time after the first wait.
constexpr int kReplyCompleteMs = 100;
// Writing 11 bytes: 50 ms plus 5 ms per byte, the longest a healthy port keeps us waiting.
constexpr int kWriteBudgetMs = 50 + 5 * 11;
// Devices need this pause between two requests unless they answered the first one.
constexpr int kInterFrameGapMs = 80;

// A request's 11 bytes take this long on the line at 9600 baud 8O1 (11 bits a byte): a deck
// hears a request, and samples the counter it reports, this long after it was written.
constexpr int kRequestLineUs = 11 * 11 * 1'000'000 / 9600;

// Attempts of a retried exchange: most commands, recording and step, and the presence test.
constexpr int kCommandAttempts = 5;
constexpr int kRecordAttempts = 3;
constexpr int kPresenceAttempts = 2;

// A mode change or a power switch is followed for at most 202 status or power queries
// (queries counted from 0, given up when the count passes this value): a few seconds of
// back-to-back exchanges, longer than any deck takes to settle.
constexpr int kSettleQueryLimit = 200;

// Power and speed are checked only after this many polling passes, so the counter stays current.
constexpr int kSlowCheckPasses = 30;

// Bus scan: a short rest after each device found, and a longer one before reading each device's
// description, so a device that was just switched on has finished starting up.
constexpr int kScanFoundPauseMs = 100;
constexpr int kScanInfoPauseMs = 1000;

// How often the link thread, serving jobs while it waits for another thread's answer, checks
// whether the answer has come.
constexpr int kServeWaitSliceMs = 10;

}  // namespace linktiming
