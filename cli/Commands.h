// The sub-commands of clipwright-cli. Each takes its parsed command line and returns the process
// exit code; errors go to standard error.
#pragma once

class CommandArguments;

int RunCapsCommand(const CommandArguments& args);
int RunFrameCommand(const CommandArguments& args);
int RunPollCommand(const CommandArguments& args);
int RunPortsCommand(const CommandArguments& args);
int RunDiagnosticsCommand(const CommandArguments& args);
int RunProjectCommand(const CommandArguments& args);
int RunScanCommand(const CommandArguments& args);
int RunSendCommand(const CommandArguments& args);
int RunStatusCommand(const CommandArguments& args);
int RunTimecodeCommand(const CommandArguments& args);
int RunAutoRecCommand(const CommandArguments& args);
int RunCalibrateCommand(const CommandArguments& args);
int RunEditCommand(const CommandArguments& args);
int RunGotoCommand(const CommandArguments& args);
int RunPreviewCommand(const CommandArguments& args);
int RunPrerollCommand(const CommandArguments& args);
int RunReviewCommand(const CommandArguments& args);
int RunTapeReportCommand(const CommandArguments& args);
