// Resume Auto Rec, as the front takes it: a point that does not fit the list, or a recorder that
// cannot be read, is refused before any deck moves; otherwise the run goes on as an Auto Rec that
// first places the recorder (RecorderPlacement).
#include "config/CaptionTable.h"
#include "edit/SceneList.h"
#include "engine/AutoEngine.h"
#include "engine/AutoRecOperation.h"

bool AutoEngine::AutoResume(const ResumePoint& point) {
    if (IsRunning())
        return false;
    const SceneList& list = host_.Scenes();
    switch (CheckResume(point, list)) {
        case ResumeRefusal::NothingToResume:
            return RefuseResume(run_.Caption(QStringLiteral("MSG_RESUME_NONE")));
        case ResumeRefusal::ListChanged:
            return RefuseResume(run_.Caption(QStringLiteral("MSG_RESUME_CHANGED")));
        case ResumeRefusal::Damaged:
            return RefuseResume(
                run_.Caption(QStringLiteral("MSG_RESUME_BAD")).arg(ResumePointFault(point, list)));
        case ResumeRefusal::None:
            break;
    }
    // Only the recorder's own counter can find the frame again.
    run_.decks.SetDevices(host_.Devices());
    if (run_.decks.Devices().recorderId == 0 || !run_.decks.TryReadRecorderPosition())
        return RefuseResume(run_.Caption(QStringLiteral("MSG_RESUME_UNREACH")));
    BeginRun(AutoKind::AutoRec);
    QueueStart([this, point] {
        ArmGuard(AutoKind::AutoRec);  // the recorder is moved to its frame before it records
        auto operation = std::make_unique<AutoRecOperation>(run_, transitions_, editPoints_);
        operation->Resume(point);
        operation_ = std::move(operation);
        kind_ = AutoKind::AutoRec;  // from here on the ticks run, cueing the recorder first
    });
    return true;
}

bool AutoEngine::RefuseResume(const QString& text) {
    host_.ShowFinalMessage(run_.Caption(QStringLiteral("TI_MAIN")), text, false);
    return false;
}
