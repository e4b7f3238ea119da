#include "link/LinkLog.h"

// Warnings only by default: the information lines appear when the log is switched on.
Q_LOGGING_CATEGORY(lcLink, "clipwright.link", QtWarningMsg)
