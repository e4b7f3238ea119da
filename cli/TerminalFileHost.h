// The project file layer's questions and warnings on a terminal: warnings are printed on
// standard error in the run's language; questions are answered No, since a command has no one
// to ask (the commands that save replace files without asking).
#pragma once

#include "edit/ProjectFileHost.h"

class CaptionTable;

class TerminalFileHost : public ProjectFileHost {
public:
    explicit TerminalFileHost(const CaptionTable& captions) : m_captions(captions) {}

    void RaiseProgressWindow() override {}
    void CloseProgressWindow() override {}
    bool AskYesNo(const QStringList& captionKeys) override;
    void ShowWarning(const QString& captionKey) override;
    void ReportWriteFailure(const QString& path, const QString& reason) override;

private:
    QString Text(const QString& captionKey) const;

    const CaptionTable& m_captions;
};
