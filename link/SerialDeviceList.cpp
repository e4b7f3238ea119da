#include "link/SerialDeviceList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <set>

#include "link/PortResolver.h"

namespace {

// ttyUSB0 .. ttyUSB10 in numeric order, not as text.
QStringList KernelNodes(const QDir& dev, const QString& prefix) {
    const QRegularExpression pattern(QStringLiteral("^%1([0-9]+)$").arg(prefix));
    std::vector<std::pair<int, QString>> numbered;
    for (const QString& name : dev.entryList({prefix + u'*'}, QDir::System | QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch())
            numbered.emplace_back(match.captured(1).toInt(), name);
    }
    std::sort(numbered.begin(), numbered.end());
    QStringList names;
    for (const auto& entry : numbered)
        names << entry.second;
    return names;
}

QString FirstLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine()).trimmed();
}

// The kernel's class folder of a terminal, such as <root>/sys/class/tty/ttyUSB0.
QString ClassFolder(const QString& root, const QString& kernelName) {
    return root + QStringLiteral("/sys/class/tty/") + kernelName;
}

// A USB adapter's descriptors sit a few folders above its terminal in the device tree.
bool ReadUsbDescriptors(const QString& root, const QString& kernelName, SerialDevice* device) {
    const QString top = QDir(root + QStringLiteral("/sys")).canonicalPath();
    QString folder =
        QFileInfo(ClassFolder(root, kernelName) + QStringLiteral("/device")).canonicalFilePath();
    while (!folder.isEmpty() && !top.isEmpty() && folder.startsWith(top) && folder != top) {
        const QString maker = FirstLine(folder + QStringLiteral("/manufacturer"));
        const QString model = FirstLine(folder + QStringLiteral("/product"));
        if (!maker.isEmpty() || !model.isEmpty()) {
            device->maker = maker;
            device->model = model;
            return true;
        }
        folder = QFileInfo(folder).path();
    }
    return false;
}

// udev's record of the device (by its major:minor number): the hardware database's names, else
// the names udev read from the device.
void ReadUdevProperties(const QString& root, const QString& kernelName, SerialDevice* device) {
    const QString number = FirstLine(ClassFolder(root, kernelName) + QStringLiteral("/dev"));
    if (number.isEmpty())
        return;
    QFile file(root + QStringLiteral("/run/udev/data/c") + number);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QHash<QString, QString> properties;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QStringLiteral("E:")))
            properties.insert(line.mid(2).section(u'=', 0, 0), line.section(u'=', 1));
    }
    auto named = [&properties](const char* fromDatabase, const char* fromDevice) {
        const QString text = properties.value(QLatin1String(fromDatabase));
        // udev writes the device's own names with underscores for blanks.
        return text.isEmpty()
                   ? properties.value(QLatin1String(fromDevice)).replace(u'_', u' ').simplified()
                   : text;
    };
    device->maker = named("ID_VENDOR_FROM_DATABASE", "ID_VENDOR");
    device->model = named("ID_MODEL_FROM_DATABASE", "ID_MODEL");
}

SerialDevice Described(const QString& root, const QString& path) {
    SerialDevice device;
    device.path = path;
    device.kernelPath = QFileInfo(path).canonicalFilePath();
    const QString kernelName = QFileInfo(device.kernelPath).fileName();
    if (!ReadUsbDescriptors(root, kernelName, &device))
        ReadUdevProperties(root, kernelName, &device);
    return device;
}

// An on-board port answers when the kernel found a UART there (type 0: nothing answered).
bool UartPresent(const QString& root, const QString& kernelName) {
    const QString type = FirstLine(ClassFolder(root, kernelName) + QStringLiteral("/type"));
    return !type.isEmpty() && type != QStringLiteral("0");
}

}  // namespace

QString SerialDeviceRoot() {
    const QString root = qEnvironmentVariable("CLIPWRIGHT_DEVICE_ROOT");
    return root.isEmpty() ? QStringLiteral("/") : root;
}

std::vector<SerialDevice> ListSerialDevices(const QString& rootFolder) {
    const QString root = rootFolder == QStringLiteral("/") ? QString() : rootFolder;
    const QDir dev(root + QStringLiteral("/dev"));
    std::vector<SerialDevice> devices;
    std::set<QString> covered;  // kernel nodes already listed under a stable name
    const QDir byId(dev.filePath(QStringLiteral("serial/by-id")));
    for (const QString& name : byId.entryList(QDir::System | QDir::Files, QDir::Name)) {
        SerialDevice device = Described(root, byId.filePath(name));
        if (device.kernelPath.isEmpty())
            continue;  // a link left behind by an adapter that is gone
        covered.insert(device.kernelPath);
        devices.push_back(device);
    }
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        for (const QString& name : KernelNodes(dev, QLatin1String(prefix))) {
            const QString path = dev.filePath(name);
            if (covered.count(QFileInfo(path).canonicalFilePath()) != 0)
                continue;
            if (QLatin1String(prefix) == QLatin1String("ttyS") && !UartPresent(root, name))
                continue;
            devices.push_back(Described(root, path));
        }
    }
    return devices;
}

QString MakerAndModel(const SerialDevice& device) {
    return QStringList({device.maker, device.model}).filter(QRegularExpression("\\S")).join(u' ');
}

QStringList PortsUsing(const SerialDevice& device, const PortResolver& ports, int lastPort) {
    QStringList names;
    for (int port = 1; port <= lastPort; ++port) {
        if (QFileInfo(ports.DevicePath(port)).canonicalFilePath() == device.kernelPath)
            names << QStringLiteral("COM%1").arg(port);
    }
    return names;
}
