// The bus-level commands every simulated device answers, whatever kind of device it is:
// presence, power, category and command groups, maker bytes, name, change of id.
#pragma once

#include <functional>
#include <optional>

#include "sim/Bench.h"
#include "sim/WireFrame.h"

namespace tarnsim {

class SystemPart {
public:
    explicit SystemPart(const DeviceSpec& spec);

    static bool IsSystemGroup(uint8_t group) { return group == 0x3E || group == 0x7C; }

    // `idFree` says whether another device already answers at an id (for change id).
    Reply Answer(const CommandBytes& command, const std::function<bool(int)>& idFree,
                 int64_t nowMicros);

    int Id() const { return id_; }
    bool PowerOn() const { return powerOn_; }
    // On and done powering up: only then does it report itself on and take deck commands.
    bool Ready(int64_t nowMicros) const { return powerOn_ && nowMicros >= readyAtMicros_; }
    // At once, as tests and a pulled plug do it: no power-up time.
    void SetPower(bool on) {
        powerOn_ = on;
        readyAtMicros_ = 0;
    }

private:
    Reply NameReply(size_t firstChar) const;

    const DeviceSpec& spec_;
    int id_;
    bool powerOn_;
    int64_t readyAtMicros_ = 0;
};

}  // namespace tarnsim
