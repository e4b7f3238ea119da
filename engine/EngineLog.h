// The logging category of engine/, clipwright.engine: operations, step changes with the counter,
// timed commands with their aim and actual moment, scene checks. Off unless switched on
// (config/ProgramLog.h).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcEngine)
