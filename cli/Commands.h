// The sub-commands of clipwright-cli. Each takes the arguments after its own name and returns
// the process exit code; errors go to standard error.
#pragma once

#include <QStringList>

int RunCapsCommand(const QStringList& args);
int RunFrameCommand(const QStringList& args);
int RunPollCommand(const QStringList& args);
int RunPortsCommand(const QStringList& args);
int RunProjectCommand(const QStringList& args);
int RunScanCommand(const QStringList& args);
int RunSendCommand(const QStringList& args);
int RunStatusCommand(const QStringList& args);
int RunTimecodeCommand(const QStringList& args);
int RunAutoRecCommand(const QStringList& args);
int RunCalibrateCommand(const QStringList& args);
int RunEditCommand(const QStringList& args);
int RunGotoCommand(const QStringList& args);
int RunPreviewCommand(const QStringList& args);
int RunPrerollCommand(const QStringList& args);
int RunReviewCommand(const QStringList& args);
int RunTapeReportCommand(const QStringList& args);
