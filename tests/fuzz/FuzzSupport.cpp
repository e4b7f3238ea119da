#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

// Millions of inputs make Qt warn about what the program rightly refuses; the fuzzer's own
// report is what matters.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

const bool kQuiet = (qInstallMessageHandler(QuietMessages), true);

}  // namespace

QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

const QString& ScratchFolder() {
    // In memory where the machine has it: the program syncs every file it writes, and a sync
    // to a disk would make each input take milliseconds.
    static const QString base = QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath();
    static QTemporaryDir folder(base + "/clipwright-fuzz-XXXXXX");
    static const QString path = folder.path();
    return path;
}

QString WriteScratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = ScratchFolder() + "/" + name;
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "scratch file opens");
    Require(file.write(bytes) == bytes.size(), "scratch file written");
    return path;
}

void Require(bool holds, const char* what) {
    (void)kQuiet;
    if (!holds) {
        std::fprintf(stderr, "fuzz: property broken: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzz
