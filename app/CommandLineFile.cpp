#include "app/CommandLineFile.h"

QString CommandLineFile(const QStringList& arguments) {
    // A shell splits an unquoted path at its blanks; joining the pieces with one blank gives the
    // path back for the usual case of single blanks.
    QString path = arguments.join(u' ').trimmed();
    // A launcher that quotes the whole line (as a Windows-style shortcut does) leaves the quotes
    // in the argument.
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
        path = path.mid(1, path.size() - 2);
    return path;
}
