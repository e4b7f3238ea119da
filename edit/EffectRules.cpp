#include "edit/EffectRules.h"

#include "config/CaptionTable.h"
#include "edit/EffectCodes.h"
#include "edit/EffectCompatibility.h"
#include "edit/SceneList.h"

using namespace effectcodes;

namespace {

QString TwoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

}  // namespace

EffectRules::EffectRules(SceneList& list, const EffectCompatibility& caps,
                         const CaptionTable& captions)
    : list_(list), caps_(caps), captions_(captions) {}

void EffectRules::AttachToList() {
    list_.SetRevalidationHook([this] { RevalidateTransitions(); });
}

// "No.07 Sepia": the row number and the name of the toolbar button concerned.
QString EffectRules::RowButton(int row, int button) const {
    return QStringLiteral("No.") + TwoDigits(row) + QLatin1Char(' ') +
           captions_.CaptionText(QStringLiteral("EF_BTN") + TwoDigits(button));
}

void EffectRules::Refuse(const QString& firstLine, const QString& secondLine, const QString& key) {
    if (!sink_)
        return;
    QString text = firstLine + QLatin1Char('\n');
    if (!secondLine.isEmpty())
        text += secondLine + QLatin1Char('\n');
    sink_(text + captions_.CaptionText(key));
}

bool EffectRules::CheckEffect(int i, int e) {
    const int own = list_.row(i).transition;
    if (!caps_.Compatible(e, own)) {
        Refuse(RowButton(i, ButtonOfEffect(e)), RowButton(i, ButtonOfTransition(own)),
               QStringLiteral("MSG_EFFECT_NG1"));
        return false;
    }
    const int incoming = list_.row(i - 1).transition;
    if (!caps_.Compatible(e, incoming)) {
        Refuse(RowButton(i, ButtonOfEffect(e)), RowButton(i - 1, ButtonOfTransition(incoming)),
               QStringLiteral("MSG_EFFECT_NG1"));
        return false;
    }
    return true;
}

bool EffectRules::CheckTransition(int i, int t) {
    const bool last = i == list_.count() - 1;
    if (NeedsFollowingScene(t) &&
        (list_.row(i).tapeChange || last || list_.row(i + 1).tapeChange)) {
        Refuse(RowButton(i, ButtonOfTransition(t)), QString(), QStringLiteral("MSG_PICNG"));
        return false;
    }
    const int own = list_.row(i).effect;
    if (!caps_.Compatible(own, t)) {
        Refuse(RowButton(i, ButtonOfEffect(own)), RowButton(i, ButtonOfTransition(t)),
               QStringLiteral("MSG_EFFECT_NG1"));
        return false;
    }
    if (!last && !caps_.Compatible(list_.row(i + 1).effect, t)) {
        Refuse(RowButton(i + 1, ButtonOfEffect(list_.row(i + 1).effect)),
               RowButton(i, ButtonOfTransition(t)), QStringLiteral("MSG_EFFECT_NG1"));
        return false;
    }
    return true;
}

void EffectRules::ApplyEffect(int e) {
    // Row 0 is the first tape's entry, not a scene: it never carries an effect.
    for (int i = 1; i < list_.count(); ++i) {
        if (list_.row(i).selected && CheckEffect(i, e))
            list_.SetEffect(i, e);
    }
}

void EffectRules::ApplyTransition(int t) {
    for (int i = 0; i < list_.count(); ++i) {
        if (list_.row(i).selected && CheckTransition(i, t))
            list_.SetTransition(i, t);
    }
}

void EffectRules::RevalidateTransitions() {
    for (int i = 0; i < list_.count(); ++i) {
        if (!CheckTransition(i, list_.row(i).transition))
            list_.SetTransition(i, kNoTransition);
    }
}
