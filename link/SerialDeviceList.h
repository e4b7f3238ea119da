// The serial devices present on this machine, for the user to put the Tarn bus on one: first the
// stable names udev gives USB adapters (/dev/serial/by-id/...), which stay the same when the
// adapter is plugged into another socket or after another adapter; then the kernel's names of
// USB adapters without such a name (ttyUSB*, ttyACM*); then the on-board ports (ttyS*) that have
// a UART behind them. Maker and model are what the system knows of the adapter: its own USB
// descriptors in sysfs, else udev's hardware database.
#pragma once

#include <QStringList>
#include <vector>

class PortResolver;

struct SerialDevice {
    QString path;        // what a port setting names: the stable name when there is one
    QString kernelPath;  // the device node it stands for, such as /dev/ttyUSB0
    QString maker;       // empty when the system does not know
    QString model;
};

// The folder standing for the file system's root: CLIPWRIGHT_DEVICE_ROOT when set (tests and
// demonstrations build a /dev-like folder of their own), else "/".
QString SerialDeviceRoot();

// The devices under root/dev, described from root/sys and root/run/udev, in the order above.
std::vector<SerialDevice> ListSerialDevices(const QString& root = SerialDeviceRoot());

// "FTDI FT232R USB UART", the maker alone, the model alone, or empty.
QString MakerAndModel(const SerialDevice& device);

// The serial ports (COM1 to COM<lastPort>) whose setting names this device, under any of its names.
QStringList PortsUsing(const SerialDevice& device, const PortResolver& ports, int lastPort);
