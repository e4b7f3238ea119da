#include "sim/Transcript.h"

#include <cerrno>
#include <cstring>

namespace tarnsim {

Transcript::~Transcript() {
    if (file_)
        std::fclose(file_);
}

void Transcript::Add(TranscriptEntry entry) {
    std::lock_guard lock(mutex_);
    if (file_) {
        std::fputs((FormatLine(entry) + "\n").c_str(), file_);
        // Flushed at once: the transcript matters most when the run ends badly.
        std::fflush(file_);
    }
    entries_.push_back(std::move(entry));
}

std::vector<TranscriptEntry> Transcript::Entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

void Transcript::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

bool Transcript::WriteTo(const std::string& path, std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    std::lock_guard lock(mutex_);
    if (file_)
        std::fclose(file_);
    file_ = file;
    return true;
}

// "   1234.567 ms  <- FF FF 05 08 4E 20 00 00 00 00 07  note"
std::string Transcript::FormatLine(const TranscriptEntry& e) {
    static const char* const kArrows[] = {"<-", "->", "xx"};
    char head[48];
    std::snprintf(head, sizeof head, "%11.3f ms  %s", static_cast<double>(e.micros) / 1000.0,
                  kArrows[static_cast<int>(e.kind)]);
    std::string line = head;
    for (uint8_t b : e.bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    if (!e.note.empty())
        line += "  " + e.note;
    return line;
}

}  // namespace tarnsim
