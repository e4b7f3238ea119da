// A folder that stands for the file system's root as the serial device list reads it: device
// nodes under dev/ (plain files do for nodes), udev's stable names under dev/serial/by-id, the
// kernel's device tree under sys/ and udev's records under run/udev/data.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

class FakeDeviceRoot {
public:
    explicit FakeDeviceRoot(const QString& root) : root_(root) {}

    const QString& path() const { return root_; }
    QString Dev(const QString& name) const { return root_ + "/dev/" + name; }

    void Node(const QString& name) const { Write("dev/" + name, QString()); }
    // dev/serial/by-id/<name> linking to target (a path relative to that folder, or absolute).
    void StableName(const QString& name, const QString& target) const {
        QDir().mkpath(root_ + "/dev/serial/by-id");
        QFile::link(target, root_ + "/dev/serial/by-id/" + name);
    }
    // A USB adapter whose descriptors name maker and model, with kernelName as its terminal.
    void UsbAdapter(const QString& kernelName, const QString& maker, const QString& model) const {
        const QString usb = "sys/devices/pci0000:00/usb1/1-1";
        Write(usb + "/manufacturer", maker + "\n");
        Write(usb + "/product", model + "\n");
        QDir().mkpath(root_ + "/" + usb + "/1-1:1.0/" + kernelName);
        QDir().mkpath(ClassFolder(kernelName));
        QFile::link(root_ + "/" + usb + "/1-1:1.0/" + kernelName,
                    ClassFolder(kernelName) + "/device");
    }
    // A terminal known to udev only by its record (number major:minor and its properties).
    void UdevRecord(const QString& kernelName, const QString& number,
                    const QString& properties) const {
        Write("sys/class/tty/" + kernelName + "/dev", number + "\n");
        Write("run/udev/data/c" + number, properties);
    }
    // An on-board port whose UART type the kernel found (0: nothing answered).
    void UartType(const QString& kernelName, int type) const {
        Write("sys/class/tty/" + kernelName + "/type", QString::number(type) + "\n");
    }

private:
    QString ClassFolder(const QString& kernelName) const {
        return root_ + "/sys/class/tty/" + kernelName;
    }
    void Write(const QString& relative, const QString& text) const {
        const QString file = root_ + "/" + relative;
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(text.toUtf8());
    }

    QString root_;
};
