#include "config/ProgramLog.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <atomic>

#include "config/SettingsFile.h"

namespace {

// Qt's message handler is a plain function, so the one log in charge is reached through this.
std::atomic<ProgramLog*> current{nullptr};
std::atomic<QtMessageHandler> forward{nullptr};

bool IsProgramCategory(const char* category) {
    return category != nullptr && qstrncmp(category, "clipwright.", 11) == 0;
}

}  // namespace

ProgramLog::ProgramLog(const QString& folder) : file_(folder) {
    current = this;
    forward = qInstallMessageHandler(&ProgramLog::Handle);
}

ProgramLog::~ProgramLog() {
    qInstallMessageHandler(forward.load());
    current = nullptr;
}

void ProgramLog::SwitchOn() {
    QLoggingCategory::setFilterRules(QStringLiteral("clipwright.*.info=true"));
}

void ProgramLog::SwitchOnAsConfigured(const SettingsFile& settings, bool verbose) {
    int32_t log = 0;
    settings.ReadInteger(settings_keys::kLog, &log);
    if (verbose || log == 1)
        SwitchOn();
}

QString ProgramLog::Line(const QMessageLogContext& context, const QString& text) {
    const QString time = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    return QStringLiteral("%1 %2: %3").arg(time, QLatin1String(context.category), text);
}

void ProgramLog::Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    ProgramLog* log = current.load();
    if (log != nullptr && IsProgramCategory(context.category))
        log->file_.Append(Line(context, text));
    // Qt hands back its own default handler when none was installed, so there is always one.
    forward.load()(type, context, text);
}
