#include "edit/ProjectWriter.h"

#include "edit/SceneList.h"

namespace {

QByteArray ThreeDigits(int value) {
    return QString::asprintf("%03d", value).toLatin1();
}

// Field and line separators inside a memo would split the row when the file is read back; they
// are written as blanks so that every saved list can be opened again.
QByteArray MemoField(const QString& memo) {
    QByteArray bytes = memo.toUtf8();
    bytes.replace('\t', ' ');
    bytes.replace('\r', ' ');
    return bytes;
}

}  // namespace

QByteArray ProjectFileBytes(const SceneList& list) {
    QByteArray out;
    out += "TCMode\t" + ThreeDigits(static_cast<int>(list.timecodeMode())) + "\r\n";
    out += "Scenes\t" + ThreeDigits(list.count()) + "\r\n";
    out += "No.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n";
    for (int i = 0; i < list.count(); ++i) {
        const Scene& row = list.row(i);
        out += ThreeDigits(i) + "\t " + row.inText.toUtf8() + "\t " + row.outText.toUtf8() + "\t" +
               ThreeDigits(row.effect) + "\t" + ThreeDigits(row.transition) + "\t" +
               (row.tapeChange ? "1" : "0") + "\t" + MemoField(row.memo) + "\r\n";
    }
    return out;
}
