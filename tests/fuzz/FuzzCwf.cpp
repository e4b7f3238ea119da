// The .cwf project file: the reader refuses or accepts any bytes without a fault, and an accepted
// file saves and reads back unchanged. Read in the English and the Japanese code page.
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
        SceneList list;
        list.ReplaceRows(std::move(*rows));
        fuzz::RequireSavedListReadsBack(list);
    }
    return 0;
}
