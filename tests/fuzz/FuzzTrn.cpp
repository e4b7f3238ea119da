// The legacy .trn listing with its .fxd companion. One input holds both: the .trn bytes, then
// the line "FXD:" and the .fxd bytes (no such line: no companion). Reading never fails, the
// legacy numbers translate into the program's codes (no effect or 0 to 5, no transition or 100 to
// 117), and the list converts to a .cwf that reads back unchanged (clipwright-cli project convert).
#include "FuzzSupport.h"
#include "ProjectRoundTrip.h"
#include "config/TextDecoding.h"
#include "edit/ProjectParser.h"
#include "edit/SceneList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QByteArray kCompanionMark("\nFXD:\n");
    const QByteArray bytes = fuzz::Bytes(data, size);
    const qsizetype mark = bytes.indexOf(kCompanionMark);
    const QByteArray trn = mark < 0 ? bytes : bytes.left(mark + 1);
    for (const int language : {kLanguageEnglish, kLanguageJapanese}) {
        LegacyProject legacy = ParseLegacy(trn, language);
        fuzz::Require(!legacy.rows.empty() && legacy.rows.size() <= SceneList::kMaxRows,
                      "a .trn gives 1 to 100 rows");
        if (mark >= 0)
            ApplyLegacyEffects(bytes.mid(mark + kCompanionMark.size()), legacy);
        for (const Scene& row : legacy.rows) {
            fuzz::Require(row.effect >= 0 && row.effect <= 5, "legacy effects become 0 to 5");
            fuzz::Require(row.transition == 0 || (row.transition >= 100 && row.transition <= 117),
                          "legacy transitions become none or 100 to 117");
        }
        SceneList list;
        list.ReplaceRows(std::move(legacy.rows));
        fuzz::RequireSavedListReadsBack(list);
    }
    return 0;
}
