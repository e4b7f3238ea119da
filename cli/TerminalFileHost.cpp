#include "cli/TerminalFileHost.h"

#include "cli/CliIo.h"
#include "config/CaptionTable.h"

QString TerminalFileHost::Text(const QString& captionKey) const {
    const QString text = m_captions.CaptionText(captionKey);
    return text.isEmpty() ? captionKey : text;
}

bool TerminalFileHost::AskYesNo(const QStringList& captionKeys) {
    QStringList lines;
    for (const QString& key : captionKeys)
        lines << Text(key);
    PrintError(lines.join(u' ') + " (answered No)");
    return false;
}

void TerminalFileHost::ShowWarning(const QString& captionKey) {
    PrintError(Text(captionKey));
}

void TerminalFileHost::ReportWriteFailure(const QString& path, const QString& reason) {
    PrintError(Text("MSG_WRITEFAIL").arg(path) + ' ' + reason);
}
