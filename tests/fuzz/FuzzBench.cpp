// The simulator's bench JSON: a malformed bench is refused with a message, an accepted one builds
// its bus, runs its decks for a while and answers a status query at every id.
#include <string>

#include "FuzzSupport.h"
#include "sim/Bench.h"
#include "sim/SimBus.h"
#include "sim/WireFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    const std::optional<tarnsim::Bench> bench =
        tarnsim::Bench::FromJson(std::string(reinterpret_cast<const char*>(data), size), &error);
    if (!bench) {
        fuzz::Require(!error.empty(), "a refused bench says why");
        return 0;
    }
    tarnsim::SimBus bus(*bench, 1);
    bus.AdvanceTo(2'000'000);
    for (const auto& device : bench->Devices()) {
        const uint8_t id = static_cast<uint8_t>(device.id);
        tarnsim::WireBytes status{0xFF, 0xFF, id, 0x08, 0x4E, 0x20, 0, 0, 0, 0, 0};
        status[10] = tarnsim::WireCheckByte(status.data());
        bus.Answer(status, 2'000'000);
        bus.AdvanceTo(4'000'000);
    }
    return 0;
}
