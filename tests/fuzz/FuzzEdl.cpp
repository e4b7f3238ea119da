// EDL import, in each counting mode: any bytes are refused with a reason or give a list within
// the list's capacity; an accepted list saves as a .cwf that reads back unchanged, and its own
// export imports again.
#include "FuzzSupport.h"
#include "ProjectRoundTrip.h"
#include "config/TextDecoding.h"
#include "edit/EdlParser.h"
#include "edit/EdlWriter.h"
#include "edit/SceneList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    for (const uint32_t mode : {Fps25, Fps30, Fps30Drop}) {
        EdlImport import =
            ParseEdl(bytes, mode, mode == Fps30 ? kLanguageJapanese : kLanguageEnglish);
        if (import.refused())
            continue;
        fuzz::Require(!import.rows.empty() && import.rows.size() <= SceneList::kMaxRows,
                      "an accepted EDL gives 1 to 100 rows");
        SceneList list(mode);
        list.ReplaceRows(std::move(import.rows));
        fuzz::RequireSavedListReadsBack(list);
        const EdlExport exported =
            WriteEdl(list, {QStringLiteral("fuzz"), DefaultEdlRecordStart(mode)});
        if (exported.result == EdlExport::Result::Written)
            fuzz::Require(!ParseEdl(exported.bytes, mode, kLanguageEnglish).refused(),
                          "an exported list imports again");
    }
    return 0;
}
