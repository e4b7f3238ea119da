// EDL import, in each counting mode: any bytes are refused with a reason and a line of the input,
// or give a list within the list's capacity that starts with a tape and whose scenes all last;
// an accepted list saves as a .cwf that reads back unchanged, and its own export imports again.
#include "FuzzSupport.h"
#include "ProjectRoundTrip.h"
#include "config/TextDecoding.h"
#include "edit/EdlParser.h"
#include "edit/EdlWriter.h"
#include "edit/SceneList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    const int lines = static_cast<int>(bytes.count('\n') + bytes.count('\r')) + 1;
    for (const uint32_t mode : {Fps25, Fps30, Fps30Drop}) {
        EdlImport import =
            ParseEdl(bytes, mode, mode == Fps30 ? kLanguageJapanese : kLanguageEnglish);
        if (import.refused()) {
            fuzz::Require(import.rows.empty(), "a refused EDL gives no rows");
            fuzz::Require(import.refusedLine <= lines, "a refusal names a line of the input");
            continue;
        }
        fuzz::Require(!import.rows.empty() && import.rows.size() <= SceneList::kMaxRows,
                      "an accepted EDL gives 1 to 100 rows");
        fuzz::Require(import.rows[0].tapeChange, "an imported list starts with a tape");
        for (const Scene& row : import.rows)
            fuzz::Require(row.inText.size() == 11 && row.outText.size() == 11,
                          "points have the list's 11 characters");
        SceneList list(mode);
        list.ReplaceRows(std::move(import.rows));
        for (int i = 1; i < list.count(); ++i)
            fuzz::Require(list.row(i).tapeChange || list.row(i).outFrames > list.row(i).inFrames,
                          "every imported scene lasts");
        fuzz::RequireSavedListReadsBack(list);
        const EdlExport exported =
            WriteEdl(list, {QStringLiteral("fuzz"), DefaultEdlRecordStart(mode)});
        if (exported.result == EdlExport::Result::Written)
            fuzz::Require(!ParseEdl(exported.bytes, mode, kLanguageEnglish).refused(),
                          "an exported list imports again");
    }
    return 0;
}
