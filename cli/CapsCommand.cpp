// clipwright-cli caps --port PATH --id N: what the capability database makes of the device at
// id N: its model code from the maker bytes, then the lookup in cw20dev.ini, the device's own
// answer or the camera defaults. Prints the six words, the model code and where they came from.
#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"
#include "devices/CDevCaps.h"
#include "engine/EffectUnit.h"
#include "link/DeviceRecord.h"
#include "link/TarnSys.h"

namespace {

const char* const kUsage = "usage: caps --port PATH --id N (N from 1 to 99)";

struct CapsArguments {
    QString port;
    int id = 0;
};

std::optional<CapsArguments> ParseArguments(const QStringList& args) {
    CapsArguments parsed;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--port")) {
            parsed.port = args[i + 1];
        } else if (args[i] == QLatin1String("--id")) {
            bool ok = false;
            parsed.id = args[i + 1].toInt(&ok);
            if (!ok)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (args.size() % 2 != 0 || parsed.port.isEmpty() || parsed.id < 1 || parsed.id > 99)
        return std::nullopt;
    return parsed;
}

QString SourceName(CDevCaps::Source source) {
    switch (source) {
        case CDevCaps::Source::File:
            return QStringLiteral("file");
        case CDevCaps::Source::Device:
            return QStringLiteral("device");
        case CDevCaps::Source::Defaults:
            return QStringLiteral("defaults");
        case CDevCaps::Source::None:
            break;
    }
    return QStringLiteral("none");
}

}  // namespace

int RunCapsCommand(const QStringList& args) {
    const CliSession session(args);
    if (!session.error().isEmpty()) {
        PrintError("caps: " + session.error());
        return 2;
    }
    const std::optional<CapsArguments> parsed = ParseArguments(session.arguments());
    if (!parsed) {
        PrintError(kUsage);
        return 2;
    }
    LinkCli cli;
    if (!cli.Open(parsed->port, QStringLiteral("caps")))
        return 1;
    TarnSys& sys = cli.sys;
    DeviceRecord player;
    player.id = static_cast<uint8_t>(parsed->id);
    if (!sys.ReadMakerInfo(player)) {
        PrintError(QStringLiteral("caps: device %1 does not answer").arg(parsed->id));
        return 1;
    }
    // The category only decides whether the camera defaults apply; a device that does not
    // report one simply does not get them.
    sys.ReadCategories(player);

    EffectUnit effects(cli.link);
    CDevCaps caps(session.folder().SuppliedFile(QStringLiteral("cw20dev.ini")), &effects);
    caps.SetPlayerId(parsed->id);
    caps.SetModelFromDevice(player.maker);
    caps.SetCategory(player.category);
    caps.Load();

    QStringList fields;
    for (const int32_t word : caps.Words())
        fields << QString::number(word);
    fields << QString::number(caps.ModelCode()) << SourceName(caps.LastSource());
    PrintLine(fields.join(QLatin1Char(' ')));
    return 0;
}
