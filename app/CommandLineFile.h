// The project file named on the command line: the plain arguments taken whole as one path, so
// that an unquoted path with blanks still names its file, without the quotes a launcher may
// have left around it.
#pragma once

#include <QString>
#include <QStringList>

// Empty when no argument was given.
QString CommandLineFile(const QStringList& arguments);
