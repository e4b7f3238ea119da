#include "engine/TapeChangeText.h"

#include <algorithm>

#include "config/CaptionTable.h"

QString TapeChangeText(const std::vector<Scene>& rows, int row, const CaptionTable& captions) {
    const QString request = captions.CaptionText(QStringLiteral("MSG_TAPECH"));
    const QString memo = rows[static_cast<size_t>(row)].memo.trimmed();
    if (!memo.isEmpty())
        return request + u'\n' + captions.CaptionText(QStringLiteral("MSG_TAPECH_NEXT")).arg(memo);
    const auto tapes = std::count_if(rows.begin(), rows.begin() + row + 1,
                                     [](const Scene& scene) { return scene.tapeChange; });
    return request + u'\n' +
           captions.CaptionText(QStringLiteral("MSG_TAPECH_NTH")).arg(static_cast<int>(tapes));
}
