// The description of one device on the bus, as the scan and the device list keep it: id,
// category, command groups, maker information, name and whether it answered last time.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

// Category codes the devices report.
enum DeviceCategory : uint8_t {
    CategoryVcr = 1,
    CategoryVdp = 3,
    CategoryCamera = 7,
    CategoryVcp = 9,
    CategoryPrinter = 34,
};

// Command groups a device lists.
constexpr uint8_t kDeckCommandGroup = 0x08;
constexpr uint8_t kEffectCommandGroup = 0x18;

struct DeviceRecord {
    uint8_t id = 0;                   // 1 to 99
    uint8_t category = 0;             // DeviceCategory or any other code (unknown kind)
    std::array<uint8_t, 5> groups{};  // command groups the device supports
    std::array<uint8_t, 6> maker{};   // maker information; maker[3..4] is the model code
    std::array<char, 13> name{};      // up to 12 characters, zero-terminated
    uint8_t present = 0;              // 1 when it answered the presence test last time

    QString Name() const;
    bool HasCommandGroup(uint8_t group) const;
};
