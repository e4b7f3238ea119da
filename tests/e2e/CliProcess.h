// clipwright-cli run as a terminal user runs it: its arguments, what is typed on standard input,
// and then its exit code and everything it printed.
#pragma once

#include <gtest/gtest.h>
#include <QProcess>
#include <QStringList>

// The exit code, with standard output and standard error in *out.
inline int RunCli(const QStringList& args, const QByteArray& input, QString* out) {
    QProcess cli;
    cli.start(CLIPWRIGHT_CLI_PATH, args);
    EXPECT_TRUE(cli.waitForStarted());
    cli.write(input);
    cli.closeWriteChannel();
    EXPECT_TRUE(cli.waitForFinished(300000));
    *out = QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
    return cli.exitCode();
}
