// A real folder in which this thread cannot create files, for the messages about failed saves.
// Its mode forbids writing; root passes every mode check with CAP_DAC_OVERRIDE, so for root the
// thread leaves that capability out of its effective set while the folder lives.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>

class UnwritableFolder {
public:
    UnwritableFolder(const QString& parent, const QString& name)
        : path_(QDir(parent).filePath(name)) {
        QDir().mkpath(path_);
        QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        dropped_ = SetOverride(false);
    }
    ~UnwritableFolder() {
        if (dropped_)
            SetOverride(true);
        QFile::setPermissions(
            path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;

    QString FilePath(const QString& name) const { return QDir(path_).filePath(name); }

private:
    // Switches the thread's effective CAP_DAC_OVERRIDE; true when it was there to switch.
    static bool SetOverride(bool on) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] = {};
        if (syscall(SYS_capget, &header, data) != 0)
            return false;
        const __u32 bit = 1u << CAP_DAC_OVERRIDE;
        if (!on && (data[0].effective & bit) == 0)
            return false;
        data[0].effective = on ? data[0].effective | bit : data[0].effective & ~bit;
        return syscall(SYS_capset, &header, data) == 0;
    }

    QString path_;
    bool dropped_ = false;
};
