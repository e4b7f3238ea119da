#include "cli/CliSession.h"

#include "cli/CliIo.h"
#include "config/FrameModeSetting.h"
#include "config/GuardNote.h"

CliSession::CliSession(const StartOptions& options)
    : m_folder(ProgramFolder::ForRunningProgram(options.home)),
      m_settings(std::make_unique<SettingsFile>(m_folder.Path())) {
    m_settings->SetReporter(&m_reporter);
    m_timecodeMode = ReadFrameModeSetting(*m_settings, m_reporter);
    m_captions.SelectLanguage(options.language);
    // Without a caption file the messages fall back to their keys (see TerminalFileHost).
    m_captions.LoadCaptions(m_folder.SuppliedFile(QStringLiteral("cw20.cpt")));
    // What the tape guard did after the program's unexpected end is told once, at the next start.
    if (const std::optional<GuardNote> note = GuardNote::Take(m_folder.Path()))
        PrintError(note->Text(m_captions));
}
