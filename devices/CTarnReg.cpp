#include "devices/CTarnReg.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

// Status codes for lastStatus(): which step failed.
constexpr int kStatusOk = 0;
constexpr int kStatusMissing = 2;
constexpr int kStatusBadValue = 13;
constexpr int kStatusWriteFailed = 5;

QString Key(const QString& section, const QString& name) {
    return section + u'/' + name;
}

}  // namespace

CTarnReg::CTarnReg(const QString& configHome)
    : filePath_(QDir(configHome).filePath(QStringLiteral("Brenvik/Tarn.ini"))) {}

QString CTarnReg::DefaultConfigHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty())
        return xdg;
    return QDir::home().filePath(QStringLiteral(".config"));
}

bool CTarnReg::WriteInt(const QString& section, const QString& name, int32_t value) {
    // The store is opened for this one operation only, so another process (or a second
    // device dialog) always sees what was last written.
    QSettings store(filePath_, QSettings::IniFormat);
    store.setValue(Key(section, name), value);
    store.sync();
    lastStatus_ = store.status() == QSettings::NoError ? kStatusOk : kStatusWriteFailed;
    return lastStatus_ == kStatusOk;
}

bool CTarnReg::ReadInt(const QString& section, const QString& name, int32_t* value) {
    QSettings store(filePath_, QSettings::IniFormat);
    const QVariant stored = store.value(Key(section, name));
    if (!stored.isValid()) {
        lastStatus_ = kStatusMissing;
        return false;
    }
    bool ok = false;
    const qlonglong number = stored.toString().trimmed().toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > INT32_MAX) {
        lastStatus_ = kStatusBadValue;
        return false;
    }
    *value = static_cast<int32_t>(number);
    lastStatus_ = kStatusOk;
    return true;
}

void CTarnReg::DeleteValue(const QString& section, const QString& name) {
    QSettings store(filePath_, QSettings::IniFormat);
    if (!store.contains(Key(section, name)))
        return;
    store.remove(Key(section, name));
    store.sync();
}
