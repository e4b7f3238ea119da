#include "sim/RequestParser.h"

#include <algorithm>

namespace tarnsim {

void RequestParser::Feed(uint8_t byte, int64_t nowMicros) {
    buffer_.push_back(byte);
    lastByteMicros_ = nowMicros;
    Scan();
}

void RequestParser::Expire(int64_t nowMicros) {
    if (nowMicros - lastByteMicros_ < kIncompleteFrameMicros)
        return;
    Drop(buffer_.size(), "incomplete frame");
    FlushDropped();
}

std::vector<ParserEvent> RequestParser::TakeEvents() {
    std::vector<ParserEvent> events;
    events.swap(events_);
    return events;
}

void RequestParser::Scan() {
    for (;;) {
        if (buffer_.empty()) {
            FlushDropped();
            return;
        }
        if (buffer_[0] != 0xFF) {
            const auto next = std::find(buffer_.begin(), buffer_.end(), uint8_t{0xFF});
            Drop(static_cast<size_t>(next - buffer_.begin()), "no frame start");
            continue;
        }
        if (buffer_.size() >= 2 && buffer_[1] != 0xFF) {
            Drop(1, "no frame start");
            continue;
        }
        if (buffer_.size() < static_cast<size_t>(kFrameLength))
            return;
        if (WireCheckByte(buffer_.data()) != buffer_[10]) {
            // Only the first byte is surely not a frame start: a noise FF before a good frame
            // must not cost that frame.
            Drop(1, "bad check byte");
            continue;
        }
        FlushDropped();
        ParserEvent event;
        event.isFrame = true;
        std::copy_n(buffer_.begin(), kFrameLength, event.frame.begin());
        events_.push_back(event);
        buffer_.erase(buffer_.begin(), buffer_.begin() + kFrameLength);
    }
}

void RequestParser::Drop(size_t count, const char* reason) {
    if (count == 0)
        return;
    if (dropped_.empty())
        dropReason_ = reason;
    dropped_.insert(dropped_.end(), buffer_.begin(), buffer_.begin() + count);
    buffer_.erase(buffer_.begin(), buffer_.begin() + count);
}

void RequestParser::FlushDropped() {
    if (dropped_.empty())
        return;
    ParserEvent event;
    event.dropped.swap(dropped_);
    event.reason = dropReason_;
    events_.push_back(std::move(event));
    dropReason_.clear();
}

}  // namespace tarnsim
