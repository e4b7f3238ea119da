#include "sim/SystemPart.h"

#include <algorithm>

namespace tarnsim {

namespace {

constexpr uint8_t kNameEnd = 0x7F;

bool Is(const CommandBytes& c, std::initializer_list<uint8_t> head) {
    // Every system command is its leading bytes followed by zeros.
    size_t i = 0;
    for (uint8_t b : head)
        if (c[i++] != b)
            return false;
    return std::all_of(c.begin() + i, c.end(), [](uint8_t b) { return b == 0; });
}

Reply Done() {
    return Reply{status::kDone, {}};
}
Reply Refused() {
    return Reply{status::kRefused, {}};
}

Reply DataReply(std::initializer_list<uint8_t> data) {
    Reply r{status::kAnswer, {}};
    std::copy(data.begin(), data.end(), r.data.begin());
    return r;
}

}  // namespace

SystemPart::SystemPart(const DeviceSpec& spec)
    : spec_(spec), id_(spec.id), powerOn_(spec.powerOn) {}

Reply SystemPart::Answer(const CommandBytes& c, const std::function<bool(int)>& idFree,
                         int64_t nowMicros) {
    const uint8_t on = Ready(nowMicros) ? 1 : 0;
    if (Is(c, {0x3E, 0x40, 0x70})) {
        if (!powerOn_)
            readyAtMicros_ = nowMicros + int64_t{spec_.powerOnMs} * 1000;
        powerOn_ = true;
        return Done();
    }
    if (Is(c, {0x3E, 0x40, 0x60})) {
        powerOn_ = false;
        return Done();
    }
    if (Is(c, {0x3E, 0x4E, 0x20}) || Is(c, {0x7C, 0x4E, 0x20}))
        return DataReply({on});
    if (Is(c, {0x7C, 0x49})) {
        Reply r{status::kAnswer, {}};
        r.data[0] = static_cast<uint8_t>(spec_.category);
        std::copy(spec_.groups.begin(), spec_.groups.end(), r.data.begin() + 1);
        return r;
    }
    if (Is(c, {0x7C, 0x45})) {
        Reply r{status::kAnswer, {}};
        std::copy(spec_.maker.begin(), spec_.maker.end(), r.data.begin());
        return r;
    }
    if (Is(c, {0x7C, 0x4C}))
        return NameReply(0);
    if (Is(c, {0x7C, 0x4D}))
        return NameReply(6);
    // Change id: the new id sits in the third byte; the rest must be zero.
    if (c[0] == 0x7C && c[1] == 0x41 &&
        std::all_of(c.begin() + 3, c.end(), [](uint8_t b) { return b == 0; })) {
        const int newId = c[2];
        if (newId < 1 || newId > 99 || (newId != id_ && !idFree(newId)))
            return Refused();
        id_ = newId;
        return Done();
    }
    return Refused();
}

// Six name characters from firstChar on; 0x7F marks the end of a shorter name.
Reply SystemPart::NameReply(size_t firstChar) const {
    Reply r{status::kAnswer, {}};
    const std::string& name = spec_.name;
    for (size_t i = 0; i < 6; ++i) {
        const size_t at = firstChar + i;
        if (at < name.size()) {
            r.data[i] = static_cast<uint8_t>(name[at]);
        } else {
            // A name that ended in the first part still answers its second part with the mark.
            if (i == 0 || at == name.size())
                r.data[i] = kNameEnd;
            break;
        }
    }
    return r;
}

}  // namespace tarnsim
