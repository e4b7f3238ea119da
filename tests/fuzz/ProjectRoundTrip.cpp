#include "ProjectRoundTrip.h"

#include <cstdio>

#include "FuzzSupport.h"
#include "config/TextDecoding.h"
#include "edit/ProjectParser.h"
#include "edit/ProjectWriter.h"
#include "edit/SceneList.h"

namespace fuzz {

void RequireSavedListReadsBack(const SceneList& list) {
    const std::optional<std::vector<Scene>> rows =
        ParseProject(ProjectFileBytes(list), kLanguageEnglish);
    Require(rows.has_value(), "a saved list is a readable .cwf");
    SceneList reread(list.timecodeMode());
    reread.ReplaceRows(*rows);
    Require(reread.count() == list.count(), "the saved list keeps its row count");
    for (int i = 0; i < list.count(); ++i) {
        const Scene& a = list.row(i);
        const Scene& b = reread.row(i);
        Require(a.inText == b.inText && a.outText == b.outText, "in and out points read back");
        Require(a.effect == b.effect && a.transition == b.transition, "effects read back");
        Require(a.tapeChange == b.tapeChange, "tape-change marks read back");
        if (a.memo != b.memo)
            std::fprintf(stderr, "row %d memo \"%s\" read back as \"%s\"\n", i,
                         a.memo.toUtf8().toPercentEncoding(" ").constData(),
                         b.memo.toUtf8().toPercentEncoding(" ").constData());
        Require(a.memo == b.memo, "memos read back");
        Require(a.durationFrames == b.durationFrames, "durations read back");
    }
}

}  // namespace fuzz
