// Simulated buses for the device windows' tests: simulators served on pseudo-terminals, a
// temporary program folder whose cw20.ini maps COM1 and COM2 to them, a temporary device store,
// and the program's link stack and device setup on top.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "config/CaptionTable.h"
#include "config/SettingsFile.h"
#include "devices/CTarnReg.h"
#include "devices/DeviceConfig.h"
#include "devices/DeviceSettingsStore.h"
#include "devices/DeviceSetup.h"
#include "devices/TarnBus.h"
#include "sim/Simulator.h"

// The demo bench (camcorder at id 1, VCR at id 2) as JSON text.
std::string DemoBenchJson();
// The demo bench with further devices appended (each a JSON object text).
std::string DemoBenchWith(const std::string& extraDevice);
// A bench of these device objects (JSON object texts joined by commas).
std::string BenchOf(const std::string& devices);
// A VCR with a deck at this id.
std::string VcrJson(int id, const std::string& name);

class BusBench : public ::testing::Test {
protected:
    // Serves bench on COM<port> (1 or 2) of the program folder.
    tarnsim::Simulator& Serve(const std::string& benchJson, int port = 1);
    // Builds the settings, the link stack, the device setup and the captions.
    void BuildProgram();
    void StoreInt(const char* name, int value) { store.WriteInt("INIT", name, value); }
    bool StoredInt(const char* name, int* value) {
        int32_t v = 0;
        const bool ok = store.ReadInt("INIT", name, &v);
        *value = v;
        return ok;
    }
    std::string SimPath(int port) const;

    QTemporaryDir programDir;
    QTemporaryDir configHome;
    CTarnReg store{configHome.path()};
    std::unique_ptr<tarnsim::Simulator> sims[2];
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<TarnBus> bus;
    DeviceConfig config;
    std::unique_ptr<DeviceSettingsStore> deviceStore;
    std::unique_ptr<DeviceSetup> setup;
    CaptionTable captions;
};
