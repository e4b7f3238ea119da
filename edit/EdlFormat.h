// The words of a CMX 3600 edit decision list that both the EDL writer and the EDL reader use:
// header keywords, the clip-name comments editors exchange, and the comment lines of our own
// that carry what an EDL has no column for (effects, transitions, tape-change rows), so that an
// exported list comes back whole while other editors skip those lines as comments.
#pragma once

#include <QString>

namespace edl {

inline const QString kTitle = QStringLiteral("TITLE:");
inline const QString kFrameCountMode = QStringLiteral("FCM:");
inline const QString kDropFrame = QStringLiteral("DROP FRAME");
inline const QString kNonDropFrame = QStringLiteral("NON-DROP FRAME");
inline const QString kFromClipName = QStringLiteral("* FROM CLIP NAME:");
inline const QString kToClipName = QStringLiteral("* TO CLIP NAME:");

// "* CLIPWRIGHT SCENE EFFECT e TRANSITION t" follows each event line we write;
// "* CLIPWRIGHT TAPE EFFECT e TRANSITION t: memo" stands for a tape-change row, in list order.
inline const QString kOwnScene = QStringLiteral("* CLIPWRIGHT SCENE");
inline const QString kOwnTape = QStringLiteral("* CLIPWRIGHT TAPE");

// Reels are named in at most eight letters, digits or underscores.
constexpr int kReelLength = 8;
// Video-only track and cut transition of the events we write.
inline const QString kVideoTrack = QStringLiteral("V");
inline const QString kCut = QStringLiteral("C");

}  // namespace edl
