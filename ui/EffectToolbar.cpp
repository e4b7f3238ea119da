#include "ui/EffectToolbar.h"

#include <QEvent>
#include <QWidget>

#include "config/CaptionTable.h"
#include "devices/CDevCaps.h"
#include "edit/EffectRules.h"
#include "ui/EditHistory.h"
#include "ui/EffectButton.h"
#include "ui/PictureLists.h"

using namespace effectcodes;

namespace {

constexpr int kTopRow = 8;
constexpr int kRowStep = 20;
constexpr int kNarrowWidth = 26;
constexpr int kWideWidth = 34;  // the joining transitions and "cut" carry a full-width picture

}  // namespace

EffectToolbar::EffectToolbar(QWidget* toolbarPanel, const PictureLists& pictures,
                             const CaptionTable& captions, const CDevCaps& caps, EffectRules& rules,
                             EditHistory& history)
    : QObject(toolbarPanel),
      panel_(toolbarPanel),
      pictures_(pictures),
      captions_(captions),
      caps_(caps),
      rules_(rules),
      history_(history) {
    ClearHoverOver(panel_);
}

void EffectToolbar::ClearHoverOver(QWidget* widget) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    hoverEnders_.append(widget);
}

QRect EffectToolbar::ButtonGeometry(int i) {
    // Even indices in the upper row, odd in the lower; columns of two buttons each.
    const int top = (i % 2) * kRowStep + kTopRow;
    if (i < kNoEffectButton)
        return {(i / 2) * kNarrowWidth + 8, top, kNarrowWidth, EffectButton::kHeight};
    if (i == kNoEffectButton)
        return {60, 28, kNarrowWidth, EffectButton::kHeight};
    if (i < 16)
        return {((i - 6) / 2) * kNarrowWidth + 102, top, kNarrowWidth, EffectButton::kHeight};
    if (i < kNoTransitionButton)
        return {((i - 16) / 2) * kWideWidth + 232, top, kWideWidth, EffectButton::kHeight};
    return {334, 28, kWideWidth, EffectButton::kHeight};
}

void EffectToolbar::CreateButtons() {
    if (created_)
        return;
    created_ = true;
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new EffectButton(panel_);
        button->setObjectName(QStringLiteral("btnEffect%1").arg(i, 2, 10, QLatin1Char('0')));
        const QRect place = ButtonGeometry(i);
        const int code = CodeOfButton(i);
        button->Setup(
            place.topLeft(), place.width(), code,
            captions_.CaptionText(QStringLiteral("EF_BTN%1").arg(i, 2, 10, QLatin1Char('0'))));
        Refresh(*button, Supported(code));
        connect(button, &EffectButton::hovered, this, &EffectToolbar::Hover);
        connect(button, &EffectButton::clicked, this, &EffectToolbar::Apply);
        buttons_[static_cast<size_t>(i)] = button;
    }
}

bool EffectToolbar::Supported(int code) const {
    return IsTransitionCode(code) ? caps_.TransitionAllowed(code) : caps_.EffectAllowed(code);
}

void EffectToolbar::Refresh(EffectButton& button, bool available) {
    const int code = button.code();
    const bool transition = IsTransitionCode(code);
    const int index = transition ? PictureLists::TransitionIndex(code) : code;
    const PictureList& list = transition ? (available ? pictures_.ilTrs : pictures_.ilTrsDs)
                                         : (available ? pictures_.ilEffect : pictures_.ilEffectDs);
    button.ShowPicture(list.Picture(index), available);
    if (!available && hot_ == &button) {
        button.SetRaised(false);
        hot_ = nullptr;
    }
}

void EffectToolbar::RefreshAll() {
    for (EffectButton* button : buttons_) {
        if (button)
            Refresh(*button, Supported(button->code()));
    }
}

void EffectToolbar::DisableAll() {
    for (EffectButton* button : buttons_) {
        if (button)
            Refresh(*button, false);
    }
}

void EffectToolbar::Hover(EffectButton* button) {
    if (button == hot_)
        return;
    if (hot_)
        hot_->SetRaised(false);
    // An unavailable button takes the raised face away without taking it over, so that going
    // back to the previous button raises that one again.
    hot_ = nullptr;
    if (button->isAvailable() && !button->isPressedDown()) {
        button->SetRaised(true);
        hot_ = button;
    }
}

void EffectToolbar::ClearHover() {
    if (hot_)
        hot_->SetRaised(false);
    hot_ = nullptr;
}

bool EffectToolbar::eventFilter(QObject* watched, QEvent* event) {
    // The panel's own background, and leaving the panel altogether, end the hover.
    if (hoverEnders_.contains(watched) &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::Leave))
        ClearHover();
    return QObject::eventFilter(watched, event);
}

void EffectToolbar::Apply(int code) {
    // One step for every selected row, and for the transitions the change made impossible.
    if (IsTransitionCode(code))
        history_.Perform(EditStep::Transition, [this, code] { rules_.ApplyTransition(code); });
    else
        history_.Perform(EditStep::Effect, [this, code] { rules_.ApplyEffect(code); });
}
