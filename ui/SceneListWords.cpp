#include "ui/SceneListWords.h"

#include "config/CaptionTable.h"
#include "edit/EffectCodes.h"

namespace {

QString Caption(const CaptionTable& captions, const QString& key, const char* fallback) {
    const QString text = captions.CaptionText(key);
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

}  // namespace

SceneListWords SceneListWords::FromCaptions(const CaptionTable& captions) {
    SceneListWords words;
    words.listName = Caption(captions, QStringLiteral("AX_LIST"), "Edit list");
    // The column titles are the main window's header labels.
    const auto header = [&captions](const char* name, const char* fallback) {
        const int index =
            captions.FindComponentEntry({QStringLiteral("frmEDS"), QString(), QLatin1String(name)});
        return index >= 0 ? captions.Caption(index).text : QString::fromUtf8(fallback);
    };
    words.columns = {header("lblNum", "No."),
                     header("lblIn", "In Point"),
                     Caption(captions, QStringLiteral("AX_EFFECT"), "Effect"),
                     header("lblOut", "Out Point"),
                     Caption(captions, QStringLiteral("AX_TRANS"), "Transition"),
                     header("lblDTime", "Duration Time"),
                     header("lblMemo", "Memo")};
    words.tapeChange = Caption(captions, QStringLiteral("AX_TAPE"), "Tape change");
    for (int button = 0; button < effectcodes::kButtonCount; ++button)
        words.buttonNames << captions.CaptionText(
            QStringLiteral("EF_BTN%1").arg(button, 2, 10, QLatin1Char('0')));
    return words;
}

QString SceneListWords::EffectName(int effect) const {
    if (effect <= effectcodes::kNoEffect || effect > effectcodes::kLastEffect)
        return {};
    return buttonNames.value(effectcodes::ButtonOfEffect(effect));
}

QString SceneListWords::TransitionName(int transition) const {
    if (transition < effectcodes::kFirstTransition || transition > effectcodes::kLastTransition)
        return {};
    return buttonNames.value(effectcodes::ButtonOfTransition(transition));
}
