#include "devices/DiagnosticsReport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSysInfo>

#include "devices/CDevCaps.h"
#include "link/ExchangeRing.h"

namespace {

QString SystemText(const QString& program) {
    return QStringLiteral("%1\nQt %2 (built with %3)\n%4, kernel %5 %6, %7\nwritten %8\n")
        .arg(program, QLatin1String(qVersion()), QLatin1String(QT_VERSION_STR),
             QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             QSysInfo::currentCpuArchitecture(),
             QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
}

// The file's name and text: its folder is the program folder's or the device store's, which are
// the user's own business.
QString FileText(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: none\n").arg(name);
    return QStringLiteral("%1:\n").arg(name) + QString::fromUtf8(file.readAll());
}

QString SourceName(CDevCaps::Source source) {
    switch (source) {
        case CDevCaps::Source::None:
            return QStringLiteral("none");
        case CDevCaps::Source::File:
            return QStringLiteral("capability file");
        case CDevCaps::Source::Device:
            return QStringLiteral("the device");
        case CDevCaps::Source::Defaults:
            return QStringLiteral("video camera defaults");
    }
    return {};
}

QString CapabilitiesText(const CDevCaps* caps) {
    if (caps == nullptr)
        return QStringLiteral("not looked up\n");
    QStringList words;
    for (const int32_t word : caps->Words())
        words << QString::number(word);
    return QStringLiteral("player id %1, category %2, model code %3, from %4\nwords %5\n")
        .arg(caps->PlayerId())
        .arg(caps->Category())
        .arg(caps->ModelCode())
        .arg(SourceName(caps->LastSource()), words.join(u' '));
}

QString ExchangesText(const ExchangeRing* ring, const QString& port) {
    if (ring == nullptr)
        return QStringLiteral("no link in this session\n");
    const std::vector<ExchangeRecord> records = ring->Records();
    QString text = QStringLiteral("port %1; %2 exchanges since the start, the last %3 below\n")
                       .arg(port.isEmpty() ? QStringLiteral("(none open)") : port)
                       .arg(ring->TotalAdded())
                       .arg(records.size());
    for (const ExchangeRecord& record : records)
        text += ExchangeRing::Line(record) + u'\n';
    return text;
}

}  // namespace

DiagnosticsReport::DiagnosticsReport(const DiagnosticsSources& sources) {
    AddSection(QStringLiteral("Program"), SystemText(sources.program));
    AddSection(QStringLiteral("Settings"), FileText(sources.settingsPath));
    AddSection(QStringLiteral("Device store"), FileText(sources.deviceStorePath));
    AddSection(QStringLiteral("Capabilities in use"), CapabilitiesText(sources.capabilities));
    AddSection(QStringLiteral("Last Auto Rec"), sources.lastRun.isEmpty()
                                                    ? QStringLiteral("none in this session\n")
                                                    : sources.lastRun);
    AddSection(QStringLiteral("Link exchanges"),
               ExchangesText(sources.exchanges, sources.portPath));
    AddSection(QStringLiteral("Log"),
               sources.logTail.isEmpty()
                   ? QStringLiteral("empty (switch the log on with [Setup] Log=1)\n")
                   : sources.logTail.join(u'\n') + u'\n');
    text_ = WithoutUserPaths(text_, sources.programFolder, sources.homeFolder);
}

void DiagnosticsReport::AddSection(const QString& title, const QString& body) {
    text_ += QStringLiteral("== %1 ==\n").arg(title) + body;
    if (!body.endsWith(u'\n'))
        text_ += u'\n';
    text_ += u'\n';
}

QString DiagnosticsReport::WithoutUserPaths(QString text, const QString& programFolder,
                                            const QString& homeFolder) {
    // The program folder first: it usually lies inside the home folder.
    const QString program = QDir::cleanPath(programFolder);
    const QString home = QDir::cleanPath(homeFolder);
    if (program.size() > 1)
        text.replace(program, QStringLiteral("<program folder>"));
    if (home.size() > 1)
        text.replace(home, QStringLiteral("~"));
    return text;
}

bool DiagnosticsReport::Write(const QString& path, QString* error) const {
    QSaveFile file(path);
    const QByteArray bytes = text_.toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}
