// clipwright-cli caps --port PATH --id N: what the capability database makes of the device at
// id N: its model code from the maker bytes, then the lookup in cw20dev.ini, the device's own
// answer or the camera defaults. Prints the six words, the model code and where they came from.
#include "cli/CliIo.h"
#include "cli/CliSession.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/LinkCli.h"
#include "devices/CDevCaps.h"
#include "engine/EffectUnit.h"
#include "link/DeviceRecord.h"
#include "link/TarnSys.h"

namespace {

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

int RunCapsCommand(const CommandArguments& args) {
    int id = 0;
    if (!args.positional().isEmpty()) {
        PrintError("caps: takes no arguments besides its options");
        return 2;
    }
    if (!args.Require("port") || !args.Number("id", 1, 99, &id))
        return 2;
    const CliSession session(args.startOptions());
    LinkCli cli;
    if (!cli.Open(args.value("port"), QStringLiteral("caps")))
        return 1;
    TarnSys& sys = cli.sys;
    DeviceRecord player;
    player.id = static_cast<uint8_t>(id);
    if (!sys.ReadMakerInfo(player)) {
        PrintError(QStringLiteral("caps: device %1 does not answer").arg(id));
        return 1;
    }
    // The category only decides whether the camera defaults apply; a device that does not
    // report one simply does not get them.
    sys.ReadCategories(player);

    EffectUnit effects(cli.link);
    CDevCaps caps(session.folder().SuppliedFile(QStringLiteral("cw20dev.ini")), &effects);
    caps.SetPlayerId(id);
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
