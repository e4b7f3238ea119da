#include "cli/CliIo.h"

#include <cstdio>

void PrintLine(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PrintError(const QString& text) {
    std::fputs(("clipwright-cli: " + text).toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}
