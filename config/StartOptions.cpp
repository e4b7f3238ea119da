#include "config/StartOptions.h"

#include "config/TextDecoding.h"

namespace {

const QString kHome = QStringLiteral("--home");
const QString kLanguage = QStringLiteral("--language");

bool IsKnownLanguage(int code) {
    return code == kLanguageEnglish || code == kLanguageFrench || code == kLanguageJapanese;
}

}  // namespace

bool TakeStartOption(const QString& name, const QString& value, StartOptions* options) {
    if (name == kHome) {
        if (value.isEmpty()) {
            options->error = QStringLiteral("--home needs a folder");
            return false;
        }
        options->home = value;
        return true;
    }
    bool isNumber = false;
    const int code = value.toInt(&isNumber);
    if (!isNumber || !IsKnownLanguage(code)) {
        options->error = QStringLiteral(
                             "--language must be 9 (English), 12 (French) or 17 "
                             "(Japanese), not \"%1\"")
                             .arg(value);
        return false;
    }
    options->language = code;
    return true;
}

StartOptions ParseStartOptions(const QStringList& args) {
    StartOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QStringLiteral("--")) {
            options.arguments << args.mid(i + 1);
            break;
        }
        const QString name = arg.section(u'=', 0, 0);
        if (name != kHome && name != kLanguage) {
            options.arguments << arg;
            continue;
        }
        QString value;
        if (arg.contains(u'=')) {
            value = arg.section(u'=', 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (!TakeStartOption(name, value, &options))
            return options;
    }
    return options;
}

QString StartOptionsUsage() {
    return QStringLiteral(
        "  --home DIR          program folder for cw20.ini and the user's own files\n"
        "  --language 9|12|17  captions in English, French or Japanese");
}
