// The man pages name the options the parsers take, no more and no fewer: per command of
// clipwright-cli, its entry under COMMANDS; the options of every command under OPTIONS; and
// tarn-sim's under its OPTIONS.
#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include "cli/CommandTable.h"
#include "sim/CommandLine.h"

namespace {

QString ManPage(const QString& name) {
    QFile file(QStringLiteral(SOURCE_DIR "/docs/man/%1.1.scd").arg(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The text of section "# TITLE", up to the next section.
QString Section(const QString& page, const QString& title) {
    const qsizetype start = page.indexOf("\n# " + title + "\n");
    const qsizetype end = page.indexOf("\n# ", start + 1);
    return start < 0 ? QString() : page.mid(start, end - start);
}

// The options a text names in bold: "*--port*".
QSet<QString> NamedOptions(const QString& text) {
    QSet<QString> names;
    static const QRegularExpression bold("\\*(--[a-z-]+)\\*");
    for (const QRegularExpressionMatch& m : bold.globalMatch(text))
        names.insert(m.captured(1));
    return names;
}

template <typename Options>
QSet<QString> Parsed(const Options& options, QSet<QString> more = {}) {
    for (const auto& option : options)
        more.insert("--" + QLatin1String(option.name));
    return more;
}

TEST(ManPages, NameEveryOptionOfTheParsersAndNoOther) {
    const QString page = ManPage("clipwright-cli");
    // An entry begins with a line "*command* ..." and runs to the next; project has one per form.
    QMap<QString, QString> entries;
    QString current;
    for (const QString& line : Section(page, "COMMANDS").split(u'\n')) {
        if (line.startsWith(u'*'))
            current = line.mid(1).section(QRegularExpression("[* ]"), 0, 0);
        if (!current.isEmpty())
            entries[current] += line + u'\n';
    }
    for (const CliCommand& command : CliCommands()) {
        EXPECT_EQ(NamedOptions(entries.take(command.name)), Parsed(command.options))
            << command.name.toStdString();
    }
    EXPECT_EQ(entries.keys(), QStringList{"help"});
    EXPECT_EQ(NamedOptions(Section(page, "OPTIONS")),
              Parsed(SharedCliOptions(), {"--help", "--version"}));

    EXPECT_EQ(NamedOptions(Section(ManPage("tarn-sim"), "OPTIONS")),
              Parsed(tarnsim::CommandLine::Options(), {"--help"}));
}

}  // namespace
