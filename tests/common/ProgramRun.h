// One of the installed programs run as a terminal user runs it, without any display (answering
// its command line must not need one): its exit code, standard output and the lines of standard
// error. `environment` changes the user's variables for the run (an empty value removes one).
#pragma once

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

struct ProgramRun {
    int exitCode = -1;  // also when it did not end normally within the time limit
    QString out;
    QStringList errLines;
    QString err() const { return errLines.join(u'\n'); }
};

inline ProgramRun RunProgram(const QString& program, const QStringList& args,
                             const QString& folder = QString(),
                             const QHash<QString, QString>& changes = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(name);
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (it.value().isEmpty())
            environment.remove(it.key());
        else
            environment.insert(it.key(), it.value());
    }
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, args);
    ProgramRun run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.errLines = QString::fromUtf8(process.readAllStandardError()).split(u'\n');
    return run;
}
