#include "BusBench.h"

#include "common/DeniedDevice.h"

#include <QFile>

namespace {

tarnsim::Bench ParseBench(const std::string& json) {
    std::string error;
    std::optional<tarnsim::Bench> bench = tarnsim::Bench::FromJson(json, &error);
    EXPECT_TRUE(bench.has_value()) << error;
    return bench ? *bench : tarnsim::Bench{};
}

}  // namespace

std::string DemoBenchJson() {
    QFile file(QStringLiteral(DEMO_BENCH_PATH));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

std::string DemoBenchWith(const std::string& extraDevice) {
    std::string json = DemoBenchJson();
    // The devices array ends with the last "]" of the file.
    const size_t end = json.rfind(']');
    return json.substr(0, end) + "," + extraDevice + json.substr(end);
}

std::string BenchOf(const std::string& devices) {
    return R"({"devices": [)" + devices + "]}";
}

std::string VcrJson(int id, const std::string& name) {
    return R"({"id": )" + std::to_string(id) + R"(, "name": ")" + name +
           R"(", "category": 1, "groups": [8], "answer_delay_ms": 1, "deck": {}})";
}

tarnsim::Simulator& BusBench::Serve(const std::string& benchJson, int port) {
    tarnsim::SimOptions options;
    options.pacing = false;
    auto& sim = sims[port - 1];
    sim = std::make_unique<tarnsim::Simulator>(ParseBench(benchJson), options);
    std::string error;
    EXPECT_TRUE(sim->Start(&error)) << error;
    return *sim;
}

std::string BusBench::SimPath(int port) const {
    return sims[port - 1] ? sims[port - 1]->SlavePath() : std::string();
}

void BusBench::BuildProgram() {
    settings = std::make_unique<SettingsFile>(programDir.path());
    for (int port = 1; port <= 2; ++port) {
        if (sims[port - 1]) {
            settings->WriteString(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(port),
                                  QString::fromStdString(SimPath(port)));
        }
    }
    // A port number with a path that never opens, whatever serial ports the machine has.
    settings->WriteString(QStringLiteral("Ports"), QStringLiteral("COM3"),
                          programDir.filePath(QStringLiteral("no-such-port")));
    // And one that names a device the user may not use.
    settings->WriteString(QStringLiteral("Ports"), QStringLiteral("COM4"),
                          DeniedDevicePath(programDir.path()));
    bus = std::make_unique<TarnBus>(*settings);
    deviceStore = std::make_unique<DeviceSettingsStore>(store, *settings);
    setup =
        std::make_unique<DeviceSetup>(config, *deviceStore, bus->sys(), bus->comm(), bus->clock());
    captions.SelectLanguage(9);
    ASSERT_TRUE(captions.LoadCaptions(QStringLiteral(CAPTIONS_PATH)));
}
