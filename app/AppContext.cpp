#include "app/AppContext.h"

#include <QFileInfo>

namespace {

bool DebugMarkerPresent(const ProgramFolder& folder) {
    // The marker is a plain file; a folder of that name does not count.
    for (const QString& name : {QStringLiteral("DEBUG"), QStringLiteral("DEBUG.")}) {
        const QFileInfo marker(folder.FilePath(name));
        if (marker.exists() && !marker.isDir())
            return true;
    }
    return false;
}

}  // namespace

AppContext::AppContext(ProgramFolder folder, std::optional<int> language,
                       const QString& deviceStoreHome)
    : folder_(std::move(folder)),
      lock_(folder_.FilePath(QStringLiteral("cw20.key"))),
      debugMode_(DebugMarkerPresent(folder_)),
      settings_(folder_.Path()),
      deviceStore_(deviceStoreHome),
      capabilities_(folder_.SuppliedFile(QStringLiteral("cw20dev.ini"))) {
    captions_.SelectLanguage(language);
    toolkitLanguage_.Select(captions_.languageCode());
    // Missing files leave the tables empty: windows keep their design texts.
    captions_.LoadStyles(folder_.SuppliedFile(QStringLiteral("cw20.sty")));
    captions_.LoadCaptions(folder_.SuppliedFile(QStringLiteral("cw20.cpt")));
    bus_.guard().SetProgramFolder(folder_.Path());
    // A player missing from cw20dev.ini is asked for its capabilities over the bus.
    capabilities_.SetQuery(&effects_);
}
