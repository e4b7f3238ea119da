// Every frame that crossed the simulated line, with its time: requests heard, replies sent, and
// bytes thrown away. Safe to read from any thread while the simulator serves; optionally also
// written line by line to a file as it grows.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace tarnsim {

struct TranscriptEntry {
    enum class Kind { Request, Reply, Discarded };
    int64_t micros = 0;  // simulator clock
    Kind kind = Kind::Request;
    std::vector<uint8_t> bytes;
    std::string note;  // e.g. "no device", "fault: silence", "bad check byte"
};

class Transcript {
public:
    ~Transcript();

    void Add(TranscriptEntry entry);
    std::vector<TranscriptEntry> Entries() const;
    void Clear();
    // Streams every later entry to a text file (one line each); false with a message on failure.
    bool WriteTo(const std::string& path, std::string* error);

    static std::string FormatLine(const TranscriptEntry& entry);

private:
    mutable std::mutex mutex_;
    std::vector<TranscriptEntry> entries_;
    std::FILE* file_ = nullptr;
};

}  // namespace tarnsim
