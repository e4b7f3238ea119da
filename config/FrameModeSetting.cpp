#include "config/FrameModeSetting.h"

#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "config/SettingsReporter.h"

namespace {

constexpr int32_t kLowestFrameMode = 0;
constexpr int32_t kHighestFrameMode = 2;
constexpr int32_t kOutOfRangeFrameMode = 1;

}  // namespace

uint32_t ReadFrameModeSetting(const SettingsFile& settings, SettingsReporter& reporter) {
    int32_t mode = settings_keys::kDefaultFrameMode;
    if (settings.ReadInteger(settings_keys::kFrameMode, &mode) &&
        (mode < kLowestFrameMode || mode > kHighestFrameMode)) {
        reporter.ReportMalformedInteger(settings.iniPath(), settings_keys::kFrameMode.section,
                                        settings_keys::kFrameMode.key, QString::number(mode));
        mode = kOutOfRangeFrameMode;
    }
    return static_cast<uint32_t>(mode);
}
