// The link's recent past: the last exchanges of the frame layer (request, reply, result, when
// they began and how long they took), kept in memory for the diagnostics file. The link thread
// adds, any thread may copy.
#pragma once

#include <QString>
#include <mutex>
#include <vector>

#include "link/TarnFrame.h"

struct ExchangeRecord {
    qint64 utcMs = 0;     // wall-clock time at the end, to match the log's lines
    int64_t startUs = 0;  // the link clock when the exchange began and ended
    int64_t endUs = 0;
    TarnFrame request{};
    TarnFrame reply{};  // the bytes read, valid or not; all zero when none came
    LinkResult result = LinkResult::Ok;
    uint32_t serialError = 0;
};

class ExchangeRing {
public:
    // A few minutes of polling: at about 30 exchanges a second, the last two to three minutes
    // before a fault, which covers any single step of an operation.
    static constexpr size_t kCapacity = 4096;

    explicit ExchangeRing(size_t capacity = kCapacity);

    void Add(const ExchangeRecord& record);
    // Oldest first.
    std::vector<ExchangeRecord> Records() const;
    // Every exchange added since the start, including those the ring no longer holds.
    uint64_t TotalAdded() const;

    // One line per record: "08:21:33.123 UTC  12.5 ms  FF FF 01 ... -> FC FF ...  ok".
    static QString Line(const ExchangeRecord& record);
    static QString ResultName(LinkResult result);

private:
    mutable std::mutex mutex_;
    std::vector<ExchangeRecord> records_;
    size_t next_ = 0;
    uint64_t total_ = 0;
};
