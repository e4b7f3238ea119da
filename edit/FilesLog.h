// The logging category of edit/, clipwright.files: project and EDL files opened, saved or refused,
// with the reason. Off unless switched on (config/ProgramLog.h).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFiles)
