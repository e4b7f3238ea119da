#include "cli/CliSession.h"

#include "config/FrameModeSetting.h"

CliSession::CliSession(const QStringList& args)
    : m_options(ParseStartOptions(args)),
      m_folder(ProgramFolder::ForRunningProgram(m_options.home)),
      m_settings(std::make_unique<SettingsFile>(m_folder.Path())) {
    m_settings->SetReporter(&m_reporter);
    m_timecodeMode = ReadFrameModeSetting(*m_settings, m_reporter);
    m_captions.SelectLanguage(m_options.language);
    // Without a caption file the messages fall back to their keys (see TerminalFileHost).
    m_captions.LoadCaptions(m_folder.SuppliedFile(QStringLiteral("cw20.cpt")));
}
