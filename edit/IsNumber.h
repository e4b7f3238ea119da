// The one test of "is this a decimal number" used by the file readers: one or more decimal
// digits, optionally preceded by '+' or '-'. Nothing else (no blanks, no hexadecimal).
#pragma once

#include <QByteArrayView>
#include <QStringView>

bool IsNumber(QStringView text);
bool IsNumber(QByteArrayView text);
