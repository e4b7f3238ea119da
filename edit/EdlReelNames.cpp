#include "edit/EdlReelNames.h"

#include <QSet>

#include "edit/EdlFormat.h"

namespace {

bool IsReelCharacter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
}

// Letters and digits of the memo, every run of other characters one '_' between them.
QString ReelNameOfMemo(const QString& memo) {
    QString reel;
    bool gap = false;
    for (QChar c : memo.trimmed()) {
        if (IsReelCharacter(c)) {
            if (gap && !reel.isEmpty())
                reel += u'_';
            gap = false;
            reel += c.toUpper();
        } else {
            gap = true;
        }
    }
    return reel.left(edl::kReelLength);
}

QString NumberedReelName(int tape) {
    return QStringLiteral("TAPE%1").arg(tape, 2, 10, QChar(u'0'));
}

}  // namespace

bool IsBlackReelName(const QString& reel) {
    const QString upper = reel.toUpper();
    return upper == u"BL" || upper == u"BLK";
}

bool IsReservedReelName(const QString& reel) {
    const QString upper = reel.toUpper();
    return IsBlackReelName(reel) || upper == u"AX" || upper == u"AUX";
}

QStringList ReelNamesForTapes(const QStringList& tapeMemos) {
    QStringList reels;
    QSet<QString> taken;
    for (int tape = 1; tape <= tapeMemos.size(); ++tape) {
        QString reel = ReelNameOfMemo(tapeMemos[tape - 1]);
        if (reel.isEmpty() || IsReservedReelName(reel) || taken.contains(reel)) {
            // A memo may itself read TAPE02; the next free number keeps the names apart.
            int number = tape;
            do {
                reel = NumberedReelName(number++);
            } while (taken.contains(reel));
        }
        taken.insert(reel);
        reels << reel;
    }
    return reels;
}
