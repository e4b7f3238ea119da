#include "engine/RunSummary.h"

#include "engine/VerificationReport.h"
#include "engine/VerificationTable.h"

QString RunSummaryText(const VerificationReport& report, const CaptionTable& captions) {
    const StopReason& stop = report.Stop();
    const QString ending = stop.cause == StopCause::None
                               ? QStringLiteral("finished\n")
                               : QStringLiteral("stopped: %1, deck %2, step %3\n")
                                     .arg(stop.CauseCode(), stop.DeckCode(), stop.StepCode());
    return ending + BuildVerificationTable(report, captions).Text();
}
