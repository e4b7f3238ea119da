// What every clipwright-cli command sets up as the program does: from the start options (--home,
// --language), the program folder, its settings file cw20.ini (malformed values reported on
// standard error), the caption table in the run's language and the current timecode mode.
#pragma once

#include <cstdint>
#include <memory>

#include "config/CaptionTable.h"
#include "config/ProgramFolder.h"
#include "config/SettingsFile.h"
#include "config/StartOptions.h"
#include "config/TerminalSettingsReporter.h"

class CliSession {
public:
    explicit CliSession(const StartOptions& options);

    int languageCode() const { return m_captions.languageCode(); }
    // [Setup] FrameMode of the program folder's settings, 0 when missing, 1 when out of range.
    uint32_t timecodeMode() const { return m_timecodeMode; }
    const CaptionTable& captions() const { return m_captions; }
    const ProgramFolder& folder() const { return m_folder; }
    const SettingsFile& settings() const { return *m_settings; }

private:
    ProgramFolder m_folder;
    TerminalSettingsReporter m_reporter;
    std::unique_ptr<SettingsFile> m_settings;
    CaptionTable m_captions;
    uint32_t m_timecodeMode = 0;
};
