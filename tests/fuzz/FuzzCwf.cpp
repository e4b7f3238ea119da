// The .cwf project file: the reader refuses or accepts any bytes without a fault, an accepted
// file has its points in the list's layout and its codes within their range, and it saves and
// reads back unchanged. Read in the English and the Japanese code page. The field reader takes
// any line and column, even those no file has.
#include "FuzzSupport.h"
#include "ProjectRoundTrip.h"
#include "config/TextDecoding.h"
#include "edit/ProjectParser.h"
#include "edit/SceneList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    for (const int language : {kLanguageEnglish, kLanguageJapanese}) {
        std::optional<std::vector<Scene>> rows = ParseProject(bytes, language);
        if (!rows)
            continue;
        fuzz::Require(!rows->empty() && rows->size() <= SceneList::kMaxRows,
                      "an accepted file has 1 to 100 rows");
        for (const Scene& row : *rows) {
            fuzz::Require(row.inText.size() == 11 && row.outText.size() == 11,
                          "points have the list's 11 characters");
            fuzz::Require(row.effect >= 0 && row.effect <= 5, "effects are 0 to 5");
            fuzz::Require(row.transition >= 0 && row.transition <= 117, "transitions are 0 to 117");
        }
        SceneList list;
        list.ReplaceRows(std::move(*rows));
        fuzz::RequireSavedListReadsBack(list);
    }
    for (int line = -1; line <= 4; ++line) {
        for (int column = -1; column <= 7; ++column)
            GetField(bytes, line, column);
    }
    return 0;
}
