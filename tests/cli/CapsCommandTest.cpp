// clipwright-cli caps against the simulator on its pseudo-terminal: the model code from the maker
// bytes and each way the capability words can be found.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "common/DeniedDevice.h"
#include "common/ProgramRun.h"
#include "link/PortAccess.h"
#include "sim/Simulator.h"

namespace {

// A camcorder like the demo's (model 530) but without an effect function, a VCR (model 100), and
// a camcorder of a model no file lists (1220) that tells its capability words itself.
const char* const kBench = R"({"devices": [
  {"id": 1, "name": "Cam", "category": 7, "groups": [8], "maker": "42 52 00 05 25 00",
   "power": true, "timecode_mode": 1, "answer_delay_ms": 1,
   "deck": {"tape_start": "00:00:00:00", "tape_end": "01:00:00:00", "position": "00:00:00:00",
            "mode": "stop"}},
  {"id": 2, "name": "VCR", "category": 1, "groups": [8], "maker": "42 52 00 01 07 00",
   "power": true, "timecode_mode": 1, "answer_delay_ms": 1,
   "deck": {"tape_start": "00:00:00:00", "tape_end": "01:00:00:00", "position": "00:00:00:00",
            "mode": "stop"}},
  {"id": 3, "name": "Cam2", "category": 7, "groups": [8, 24], "maker": "42 52 00 0C 18 00",
   "power": true, "timecode_mode": 1, "answer_delay_ms": 1,
   "deck": {"tape_start": "00:00:00:00", "tape_end": "01:00:00:00", "position": "00:00:00:00",
            "mode": "stop"},
   "effect": {"capabilities": [2, 4, 0, 8, 131076, 0]}}
]})";

class CapsCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        auto bench = tarnsim::Bench::FromJson(kBench, &error);
        ASSERT_TRUE(bench) << error;
        tarnsim::SimOptions options;
        options.pacing = false;
        sim = std::make_unique<tarnsim::Simulator>(*bench, options);
        ASSERT_TRUE(sim->Start(&error)) << error;
    }

    ProgramRun Caps(const QStringList& args) const {
        ProgramRun run =
            RunProgram(CLIPWRIGHT_CLI_PATH, QStringList{"caps", "--home", home.path()} + args);
        run.out = run.out.trimmed();
        return run;
    }
    QStringList At(int id) const {
        return {"--port", QString::fromStdString(sim->SlavePath()), "--id", QString::number(id)};
    }
    void WriteCapabilityFile(const QByteArray& text) const {
        QFile file(home.filePath("cw20dev.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir home;
    std::unique_ptr<tarnsim::Simulator> sim;
};

// In turn: the supplied file, a model no file lists asked for its words, a user file in the
// program folder ahead of the supplied one, and a file without the model.
TEST_F(CapsCommandTest, TheWordsComeFromTheFilesTheDeviceOrTheCameraDefaults) {
    ProgramRun run = Caps(At(1));
    EXPECT_EQ(run.exitCode, 0) << run.err().toStdString();
    EXPECT_EQ(run.out, "0 131076 0 0 131076 0 530 file");
    run = Caps(At(3));
    EXPECT_EQ(run.exitCode, 0) << run.err().toStdString();
    EXPECT_EQ(run.out, "2 4 0 8 131076 0 1220 device");

    WriteCapabilityFile("[0530]\nDATA00=4\nDATA01=0\nDATA02=0\nDATA03=0\nDATA04=0\nDATA05=2\n");
    EXPECT_EQ(Caps(At(1)).out, "4 0 0 0 0 2 530 file");
    WriteCapabilityFile("; no models\n");
    EXPECT_EQ(Caps(At(1)).out, "0 131076 0 0 131076 0 530 defaults");
    EXPECT_EQ(Caps(At(2)).out, "-1 -1 -1 -1 -1 -1 100 none");
}

TEST_F(CapsCommandTest, ADeniedOrMissingPortOrASilentIdIsReported) {
    const QString denied = DeniedDevicePath(home.path());
    const ProgramRun run = Caps({"--port", denied, "--id", "1"});
    EXPECT_EQ(run.exitCode, 1);
    const QStringList lines = run.err().trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 2) << run.err().toStdString();
    EXPECT_EQ(lines[0],
              "clipwright-cli: caps: cannot open " + denied + ": " + SystemErrorText(EACCES));
    EXPECT_TRUE(lines[1].contains("sudo adduser $USER " + PortGroup(denied)))
        << run.err().toStdString();

    const ProgramRun silent = Caps(At(9));
    EXPECT_EQ(silent.exitCode, 1);
    EXPECT_TRUE(silent.err().contains("does not answer"));
    EXPECT_EQ(Caps({"--port", "/nonexistent/tty", "--id", "1"}).exitCode, 1);
}

}  // namespace
