// The caption file cw20.cpt in each language: every line becomes an entry or is skipped, no field
// is longer than its capacity, and the lookups the windows make work on whatever was read (for
// the first entries only: each lookup walks the table, and the fuzzer's time is better spent on
// new inputs than on a square of the supplied file's 300 lines).
#include "FuzzSupport.h"
#include "config/CaptionTable.h"

constexpr int kLookedUpEntries = 40;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    for (const int language : {kLanguageEnglish, kLanguageFrench, kLanguageJapanese}) {
        CaptionTable table;
        table.SelectLanguage(language);
        table.ParseCaptions(bytes);
        for (int i = 0; i < table.CaptionCount(); ++i) {
            const CaptionEntry& e = table.Caption(i);
            fuzz::Require(e.owner.size() <= CaptionTable::kOwnerBytes &&
                              e.name.size() <= CaptionTable::kNameBytes &&
                              e.text.size() <= CaptionTable::kTextBytes &&
                              e.styleName.size() <= CaptionTable::kStyleNameBytes,
                          "caption fields keep their capacity");
            if (i < kLookedUpEntries) {
                const int found = table.FindComponentEntry({e.owner, QString(), e.name});
                fuzz::Require(found <= i, "a component's lookup finds its first entry");
            }
        }
        table.CaptionText(QStringLiteral("TI_MAIN"));
        table.FindComponentEntry({QStringLiteral("frmEDS"), QString(), QStringLiteral("mnuOpen")});
    }
    return 0;
}
