#include "cli/CliSession.h"

#include "config/FrameModeSetting.h"

CliSession::CliSession(const StartOptions& options)
    : m_folder(ProgramFolder::ForRunningProgram(options.home)),
      m_settings(std::make_unique<SettingsFile>(m_folder.Path())) {
    m_settings->SetReporter(&m_reporter);
    m_timecodeMode = ReadFrameModeSetting(*m_settings, m_reporter);
    m_captions.SelectLanguage(options.language);
    // Without a caption file the messages fall back to their keys (see TerminalFileHost).
    m_captions.LoadCaptions(m_folder.SuppliedFile(QStringLiteral("cw20.cpt")));
}
