// The style file cw20.sty: every line becomes a style or is skipped, no field is longer than its
// capacity, and a style's name finds the first style of that name.
#include "FuzzSupport.h"
#include "config/CaptionTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CaptionTable table;
    table.ParseStyles(fuzz::Bytes(data, size));
    for (int i = 0; i < table.StyleCount(); ++i) {
        const StyleEntry& s = table.Style(i);
        fuzz::Require(s.name.size() <= CaptionTable::kStyleNameBytes &&
                          s.fontName.size() <= CaptionTable::kFontNameBytes &&
                          s.size.size() <= CaptionTable::kSizeBytes &&
                          s.bold.size() <= CaptionTable::kBoldBytes,
                      "style fields keep their capacity");
        fuzz::Require(table.FindStyle(s.name) <= i, "a style's name finds its first entry");
        fuzz::Require(s.PointSize() >= 0 && s.PointSize() <= 99, "a size has two digits at most");
        s.KeepsWindowFont();
        s.IsBold();
    }
    return 0;
}
