#include "cli/CliSession.h"

CliSession::CliSession(const QStringList& args)
    : m_options(ParseStartOptions(args)),
      m_folder(ProgramFolder::ForRunningProgram(m_options.home)),
      m_settings(std::make_unique<SettingsFile>(m_folder.Path())) {
    m_settings->SetReporter(&m_reporter);
    int32_t mode = settings_keys::kDefaultFrameMode;
    m_settings->ReadInteger(settings_keys::kFrameMode, &mode);
    m_timecodeMode = static_cast<uint32_t>(mode);
    m_captions.SelectLanguage(m_options.language);
    // Without a caption file the messages fall back to their keys (see TerminalFileHost).
    m_captions.LoadCaptions(m_folder.SuppliedFile(QStringLiteral("cw20.cpt")));
}
