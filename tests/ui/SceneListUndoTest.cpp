// The edit history on a real scene list with the supplied captions, the effect rules attached
// and the controller's own editing functions: every kind of step undone and redone against
// whole list states, their names, trim merging, the modified flag and the step limit.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <functional>
#include <ostream>
#include <random>

#include "config/CaptionTable.h"
#include "controller/EditPoints.h"
#include "devices/CDevCaps.h"
#include "edit/EffectRules.h"
#include "edit/SceneListFixtures.h"
#include "ui/EditHistory.h"

namespace {

// Everything the user can see of the list, compared as a whole.
struct ListSnapshot {
    SceneListState state;
    int selectedCount = 0;
    int32_t totalFrames = 0;
    bool operator==(const ListSnapshot&) const = default;
};

void PrintTo(const ListSnapshot& s, std::ostream* out) {
    *out << "current " << s.state.current << " anchor " << s.state.anchor << " selected "
         << s.selectedCount << " total " << s.totalFrames << ":";
    for (const Scene& r : s.state.rows) {
        *out << " [" << r.memo.toStdString() << ' ' << r.inText.toStdString() << '-'
             << r.outText.toStdString() << " e" << r.effect << " t" << r.transition
             << (r.tapeChange ? " T" : "") << (r.selected ? " S" : "") << " m" << r.pointMarks
             << ']';
    }
}

ListSnapshot Snap(const SceneList& list) {
    return {list.State(), list.selectedCount(), list.totalFrames()};
}

struct Action {
    const char* label;
    EditStep step;
    std::function<void(SceneList&)> prepare;  // outside the history: selections, marks
    std::function<void(SceneList&, EffectRules&)> act;
    const char* stepName;
};

void Nothing(SceneList&) {}

const Action kActions[] = {
    {"add scene", EditStep::AddScene, [](SceneList& l) { l.SelectOnly(2); },
     [](SceneList& l, EffectRules&) { l.AddRow(SceneList::RowKind::Scene); }, "Add Scene"},
    {"add tape change", EditStep::AddTapeChange, [](SceneList& l) { l.SelectOnly(5); },
     [](SceneList& l, EffectRules&) { l.AddRow(SceneList::RowKind::TapeChange); },
     "Add Tape Change"},
    {"delete three", EditStep::Delete,
     [](SceneList& l) {
         SelectRows(l, {1, 3, 4});
     },
     [](SceneList& l, EffectRules&) { l.DeleteSelected(); }, "Delete 3 Scenes"},
    {"cut with row 0 selected", EditStep::Cut,
     [](SceneList& l) {
         SelectRows(l, {0, 2});
     },
     [](SceneList& l, EffectRules&) { l.Cut(); }, "Cut Scene"},
    {"paste", EditStep::Paste,
     [](SceneList& l) {
         SelectRows(l, {1, 2});
         l.Copy();
         l.SelectOnly(4);
     },
     [](SceneList& l, EffectRules&) { l.Paste(); }, "Paste 2 Scenes"},
    {"drag move onto a row", EditStep::DragMove,
     [](SceneList& l) {
         SelectRows(l, {1, 2});
     },
     [](SceneList& l, EffectRules&) { l.DropOnRow(5, SceneList::kKeyModeNone); }, "Move 2 Scenes"},
    {"drag move to the end", EditStep::DragMove,
     [](SceneList& l) {
         SelectRows(l, {0, 2});
     },
     [](SceneList& l, EffectRules&) {
         l.DropOnList(SceneList::DragSource::SelectedRow, SceneList::kKeyModeNone);
     },
     "Move Scene"},
    {"drag copy", EditStep::DragCopy,
     [](SceneList& l) {
         SelectRows(l, {2, 3});
     },
     [](SceneList& l, EffectRules&) {
         l.DropOnList(SceneList::DragSource::SelectedRow, SceneList::kKeyModeCtrl);
     },
     "Copy 2 Scenes"},
    {"correction of the times", EditStep::Correction, Nothing,
     [](SceneList& l, EffectRules&) { l.ModifyRow(3, "00:00:40:00", "00:02:00:00", "r3", false); },
     "Modify Scene"},
    {"memo", EditStep::Correction, Nothing,
     [](SceneList& l, EffectRules&) {
         l.ModifyRow(3, l.row(3).inText, l.row(3).outText, "cake", false);
     },
     "Memo"},
    {"tape-change mark", EditStep::Correction, Nothing,
     [](SceneList& l, EffectRules&) {
         l.ModifyRow(3, l.row(3).inText, l.row(3).outText, l.row(3).memo, true);
     },
     "Tape Change Mark"},
    {"entry opens a row", EditStep::Entry,
     [](SceneList& l) {
         SelectRows(l, {2, 4});
     },
     [](SceneList& l, EffectRules&) { Entry(l, "00:05:00:00"); }, "Entry"},
    {"entry closes a row", EditStep::Entry,
     [](SceneList& l) {
         l.SelectOnly(2);
         l.SetPointMarks(2, kInPointMarked);
     },
     [](SceneList& l, EffectRules&) { Entry(l, "00:05:00:00"); }, "Entry"},
    {"in", EditStep::MarkIn, [](SceneList& l) { l.SelectOnly(2); },
     [](SceneList& l, EffectRules&) { MarkPoint(l, EditPoint::In); }, "In Point"},
    {"out", EditStep::MarkOut, [](SceneList& l) { l.SelectOnly(2); },
     [](SceneList& l, EffectRules&) { MarkPoint(l, EditPoint::Out); }, "Out Point"},
    {"trim", EditStep::Trim,
     [](SceneList& l) {
         l.SelectOnly(2);
         l.SetPointMarks(2, kOutPointMarked);
     },
     [](SceneList& l, EffectRules&) { TrimPoint(l, -1); }, "Trim"},
    {"scene key leaving marks", EditStep::SceneUp,
     [](SceneList& l) {
         l.SelectOnly(3);
         l.SetPointMarks(3, kInPointMarked);
     },
     [](SceneList& l, EffectRules&) { StepScene(l, -1); }, "Previous Scene"},
    {"effect on a selection with row 0", EditStep::Effect,
     [](SceneList& l) {
         SelectRows(l, {0, 2, 3});
     },
     [](SceneList&, EffectRules& rules) { rules.ApplyEffect(3); }, "Effect"},
    {"transition", EditStep::Transition,
     [](SceneList& l) {
         SelectRows(l, {1, 2});
     },
     [](SceneList&, EffectRules& rules) { rules.ApplyTransition(105); }, "Transition"},
    {"delete clearing the overlap before it", EditStep::Delete,
     [](SceneList& l) {
         l.SetTransition(5, 111);
         l.SelectOnly(6);
     },
     [](SceneList& l, EffectRules&) { l.DeleteSelected(); }, "Delete Scene"},
};

class SceneListUndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        captions.SelectLanguage(9);
        ASSERT_TRUE(captions.LoadCaptions(QCoreApplication::applicationDirPath() + "/cw20.cpt"));
        caps.SetPlayerId(1);
        caps.SetCategory(CDevCaps::kCameraCategory);
        caps.Load();  // no such file: the camera defaults
        rules.SetMessageSink([this](const QString& text) { messages << text; });
        rules.AttachToList();
        history.SetTickSource([this] { return now; });
        Reset();
    }

    // A freshly loaded list of six scenes: unmodified, no history.
    void Reset() {
        FillScenes(list, 6);
        list.SelectOnly(0);
        list.SetModified(false);
        history.Clear();
    }

    void Perform(const Action& action) {
        history.Perform(action.step, [&] { action.act(list, rules); });
    }

    QTemporaryDir dir;
    CaptionTable captions;
    CDevCaps caps{dir.filePath("cw20dev.ini")};
    SceneList list{Fps30};
    EffectRules rules{list, caps, captions};
    EditHistory history{list, captions};
    qint64 now = 0;
    QStringList messages;
};

TEST_F(SceneListUndoTest, EveryKindOfStepUndoesToTheWholeStateBeforeAndRedoesToTheStateAfter) {
    for (const Action& action : kActions) {
        SCOPED_TRACE(action.label);
        Reset();
        action.prepare(list);
        const ListSnapshot before = Snap(list);
        Perform(action);
        const ListSnapshot after = Snap(list);
        ASSERT_NE(after, before);
        ASSERT_EQ(history.stack().count(), 1);
        EXPECT_EQ(history.stack().undoText(), action.stepName);

        history.Undo();
        EXPECT_EQ(Snap(list), before);
        EXPECT_EQ(history.stack().redoText(), action.stepName);
        // The user looks elsewhere before redoing; redo still replays the step exactly.
        list.SelectOnly(1);
        history.Redo();
        EXPECT_EQ(Snap(list), after);
    }
    EXPECT_EQ(messages, QStringList{"No.05 Overlap wipe from left\nThis transition needs a "
                                    "following scene."})
        << "only the delete clears a transition, once";
}

TEST_F(SceneListUndoTest, ALongMixedSequenceWalksBackToTheStartAndForwardToTheEnd) {
    // Each step's state before it (with whatever selection led to it) and after it.
    std::vector<ListSnapshot> before{Snap(list)}, after{Snap(list)};
    std::mt19937 random(15);
    for (int n = 0; n < 120; ++n) {
        // Every action finds the rows it names: a list that got short grows first.
        const Action& action =
            list.count() < 8 ? kActions[0] : kActions[random() % std::size(kActions)];
        action.prepare(list);
        const ListSnapshot was = Snap(list);
        const int index = history.stack().index();
        now += 300;  // trims in a row merge
        Perform(action);
        if (history.stack().index() > index) {
            before.push_back(was);
            after.push_back(Snap(list));
        } else if (action.step == EditStep::Trim && Snap(list) != was) {
            after.back() = Snap(list);  // merged into the trim before it
        }
    }
    const int steps = history.stack().index();
    ASSERT_GT(steps, 60);
    ASSERT_LT(steps, EditHistory::kStepLimit);
    ASSERT_EQ(steps + 1, static_cast<int>(after.size()));
    for (int i = steps; i > 0; --i) {
        history.Undo();
        ASSERT_EQ(Snap(list), before[i]) << "undoing step " << i;
    }
    EXPECT_FALSE(history.stack().canUndo());
    EXPECT_FALSE(list.modified());
    for (int i = 1; i <= steps; ++i) {
        history.Redo();
        ASSERT_EQ(Snap(list), after[i]) << "redoing step " << i;
    }
    EXPECT_TRUE(list.modified());
}

TEST_F(SceneListUndoTest, TrimsOfOnePointWithinASecondOfEachOtherMergeIntoOneStep) {
    list.SelectOnly(2);
    list.SetPointMarks(2, kOutPointMarked);
    const ListSnapshot start = Snap(list);
    auto trim = [this](int frames) {
        history.Perform(EditStep::Trim, [&] { TrimPoint(list, frames); });
    };
    // A held key: a trim every 100 ms for two seconds, then a repeated click 900 ms later.
    for (int i = 0; i < 20; ++i, now += 100)
        trim(+1);
    now += 800;
    trim(+1);
    ASSERT_EQ(history.stack().count(), 1);
    EXPECT_EQ(list.row(2).outText, "00:01:02:21");

    now += 1001;  // a pause: a new step
    trim(-1);
    list.SetPointMarks(2, kInPointMarked);  // the other point
    trim(-1);
    ASSERT_EQ(history.stack().count(), 3);
    history.Undo();
    history.Undo();
    history.Undo();
    EXPECT_EQ(Snap(list), start);
}

TEST_F(SceneListUndoTest, NoStepWithoutAChangeAndTheModifiedFlagFollowsTheHistoryToTheSave) {
    // A selection alone, or a change the list refuses, adds no step.
    history.Perform(EditStep::Delete, [this] { list.SelectAll(); });
    list.SelectOnly(0);
    history.Perform(EditStep::Delete, [this] { list.DeleteSelected(); });  // row 0 stays
    EXPECT_EQ(history.stack().count(), 0);
    EXPECT_FALSE(history.stack().canUndo());

    list.SelectOnly(1);
    history.Perform(EditStep::AddScene, [this] { list.AddRow(SceneList::RowKind::Scene); });
    list.SetModified(false);  // saved here
    list.SelectOnly(2);
    history.Perform(EditStep::MarkIn, [this] { MarkPoint(list, EditPoint::In); });
    EXPECT_FALSE(list.modified()) << "a point mark alone is nothing a file holds";
    list.SelectOnly(3);
    history.Perform(EditStep::Delete, [this] { list.DeleteSelected(); });
    EXPECT_TRUE(list.modified());

    history.Undo();
    EXPECT_FALSE(list.modified()) << "back at the saved rows";
    history.Undo();
    EXPECT_FALSE(list.modified());
    history.Undo();
    EXPECT_TRUE(list.modified()) << "before the save";
    history.Redo();
    EXPECT_FALSE(list.modified());

    // A new step from an earlier state leaves the saved state unreachable.
    history.Undo();
    list.SelectOnly(1);
    history.Perform(EditStep::Delete, [this] { list.DeleteSelected(); });
    history.Undo();
    EXPECT_TRUE(list.modified());

    // An imported list starts modified: no undo makes it a saved one.
    list.SetModified(true);
    history.Clear();
    history.Perform(EditStep::AddScene, [this] { list.AddRow(SceneList::RowKind::Scene); });
    history.Undo();
    EXPECT_TRUE(list.modified());
}

TEST_F(SceneListUndoTest, KeepsTwoHundredStepsAndLetsTheOldestGo) {
    list.SelectOnly(1);
    list.SetPointMarks(1, kOutPointMarked);
    for (int i = 0; i < EditHistory::kStepLimit + 5; ++i) {
        now += 2000;
        history.Perform(EditStep::Trim, [this] { TrimPoint(list, +1); });
    }
    int undone = 0;
    while (history.stack().canUndo()) {
        history.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, EditHistory::kStepLimit);
    EXPECT_EQ(list.row(1).outText, "00:01:01:05") << "five trims beyond the limit stay";
}

}  // namespace
