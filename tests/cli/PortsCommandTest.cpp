// clipwright-cli ports on a /dev-like folder: the stable names first (one of them the simulator's
// pseudo-terminal), then the adapters without one and the on-board ports that answer, each with
// what the system knows of its maker and model and the ports of cw20.ini that name it.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "common/FakeDeviceRoot.h"
#include "sim/Simulator.h"

namespace {

TEST(PortsCommandTest, ListsStableNamesThenAdaptersThenAnsweringPortsWithTheirMakersAndPorts) {
    std::string error;
    auto bench = tarnsim::Bench::FromFile(DEMO_BENCH_PATH, &error);
    ASSERT_TRUE(bench) << error;
    tarnsim::Simulator sim(*bench, {false, 1, nullptr});
    ASSERT_TRUE(sim.Start(&error)) << error;
    const QString pty = QString::fromStdString(sim.SlavePath());

    QTemporaryDir rootDir, home;
    const FakeDeviceRoot root(rootDir.path());
    for (const char* node : {"ttyUSB0", "ttyUSB1", "ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0",
                             "ttyS1", "ttyS2", "ttyS10", "tty0"})
        root.Node(node);
    root.StableName("usb-FTDI_FT232R_USB_UART_A1-if00-port0", "../../ttyUSB0");
    root.StableName("usb-Tarn_Simulator-if00", pty);
    root.StableName("usb-Unplugged-if00", "../../ttyUSB7");  // left behind by a gone adapter
    root.UsbAdapter("ttyUSB0", "FTDI", "FT232R USB UART");
    root.UdevRecord("ttyACM0", "166:0",
                    "E:ID_VENDOR=Arduino__www.arduino.cc_\nE:ID_MODEL_FROM_DATABASE=Uno R3\n");
    root.UdevRecord("ttyUSB2", "188:2", "E:ID_VENDOR=Prolific\nE:ID_MODEL=USB-Serial_Controller\n");
    root.UartType("ttyS0", 4);
    root.UartType("ttyS1", 0);
    root.UartType("ttyS10", 4);
    QFile ini(home.filePath("cw20.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(("[Ports]\nCOM2=" + root.Dev("serial/by-id/usb-Tarn_Simulator-if00") +
               "\nCOM3=" + pty + "\nCOM4=" + root.Dev("ttyUSB1") + "\n")
                  .toUtf8());
    ini.close();

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("CLIPWRIGHT_DEVICE_ROOT", root.path());
    process.setProcessEnvironment(environment);
    process.start(CLIPWRIGHT_CLI_PATH, {"ports", "--home", home.path()});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    const QStringList expected = {
        root.Dev("serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0") + "\t" +
            root.Dev("ttyUSB0") + "\tFTDI\tFT232R USB UART\t",
        root.Dev("serial/by-id/usb-Tarn_Simulator-if00") + "\t" + pty + "\t\t\tCOM2,COM3",
        root.Dev("ttyUSB1") + "\t" + root.Dev("ttyUSB1") + "\t\t\tCOM4",
        root.Dev("ttyUSB2") + "\t" + root.Dev("ttyUSB2") + "\tProlific\tUSB-Serial Controller\t",
        root.Dev("ttyUSB10") + "\t" + root.Dev("ttyUSB10") + "\t\t\t",
        root.Dev("ttyACM0") + "\t" + root.Dev("ttyACM0") + "\tArduino www.arduino.cc\tUno R3\t",
        root.Dev("ttyS0") + "\t" + root.Dev("ttyS0") + "\t\t\t",
        root.Dev("ttyS10") + "\t" + root.Dev("ttyS10") + "\t\t\t",
        ""};
    EXPECT_EQ(lines, expected);

    // Nothing present: said on standard error, still a success.
    QTemporaryDir empty;
    environment.insert("CLIPWRIGHT_DEVICE_ROOT", empty.path());
    process.setProcessEnvironment(environment);
    process.start(CLIPWRIGHT_CLI_PATH, {"ports", "--home", home.path()});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_EQ(process.readAllStandardError(), "clipwright-cli: ports: no serial device found\n");
}

}  // namespace
