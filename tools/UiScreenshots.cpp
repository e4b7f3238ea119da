// Writes pictures of the scene correction dialog (English and Japanese) and of the scene list
// view into the folder named on the command line, for the documentation.
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "config/CaptionTable.h"
#include "config/ProgramFolder.h"
#include "config/SettingsFile.h"
#include "edit/SceneList.h"
#include "ui/EditHistory.h"
#include "ui/PictureLists.h"
#include "ui/SceneListView.h"
#include "ui/TfrmCrct.h"

namespace {

bool SaveDialog(const ProgramFolder& folder, int language, const QString& path) {
    CaptionTable captions;
    captions.SelectLanguage(language);
    captions.LoadStyles(folder.SuppliedFile("cw20.sty"));
    captions.LoadCaptions(folder.SuppliedFile("cw20.cpt"));
    const SettingsFile settings(QDir::tempPath());
    TfrmCrct dialog(captions, settings);
    dialog.SetScene(
        "00:12:04:10", "00:12:31:02",
        language == 17 ? QStringLiteral("海辺の夕日") : QStringLiteral("Sunset at the beach"),
        false, true, Fps30);
    dialog.show();
    QApplication::processEvents();
    const bool saved = dialog.grab().save(path);
    dialog.hide();
    return saved;
}

void FillDemoList(SceneList& list) {
    list.SetTimecodeMode(Fps30);
    const struct {
        const char* in;
        const char* out;
        const char* memo;
        int effect;
        int transition;
    } scenes[] = {{"00:01:02:10", "00:01:15:00", "Arrival at the station", 0, 102},
                  {"00:03:40:00", "00:04:02:12", "Old town walk", 1, 117},
                  {"00:07:11:05", "00:07:30:00", "Market", 5, 0},
                  {"00:10:00:00", "00:10:25:20", "Harbour at dusk", 3, 105}};
    for (const auto& scene : scenes) {
        list.SelectOnly(list.count() - 1);
        list.AddRow(SceneList::RowKind::Scene);
        const int row = list.count() - 1;
        list.ModifyRow(row, scene.in, scene.out, scene.memo, false);
        list.SetEffect(row, scene.effect);
        list.SetTransition(row, scene.transition);
    }
    list.SelectOnly(list.count() - 1);
    list.AddRow(SceneList::RowKind::TapeChange);
    list.ModifyRow(list.count() - 1, "00:00:00:00", "00:00:00:00", "Second tape", true);
    list.SelectOnly(list.count() - 1);
    list.AddRow(SceneList::RowKind::Scene);
    list.ModifyRow(list.count() - 1, "00:00:45:00", "00:01:20:15", "Birthday cake", false);
    list.SelectOnly(2);
    list.SetPointMarks(2, kInPointMarked);
}

bool SaveList(const ProgramFolder& folder, const QString& path) {
    PictureLists pictures;
    pictures.Load(folder);
    SceneList list(Fps30);
    FillDemoList(list);
    CaptionTable captions;
    EditHistory history(list, captions);
    SceneListView view(list, history, pictures);
    view.resize(640, 8 * SceneListView::kRowHeight + 2 * view.frameWidth());
    view.show();
    QApplication::processEvents();
    return view.grab().save(path);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    const QString bin = QCoreApplication::applicationDirPath();
    const ProgramFolder folder(bin, {bin});
    const bool ok = SaveDialog(folder, 9, out + "/scene-correction-en.png") &&
                    SaveDialog(folder, 17, out + "/scene-correction-ja.png") &&
                    SaveList(folder, out + "/scene-list.png");
    return ok ? 0 : 1;
}
