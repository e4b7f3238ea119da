// The logging category of link/, clipwright.link: opens, hang-ups, retries and result codes of the
// Tarn link; each exchange on the debug level. Off unless switched on (config/ProgramLog.h).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)
