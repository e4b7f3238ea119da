// The effect toolbar: 24 buttons in two rows on the main window's toolbar panel, six picture
// effects on the left and eighteen transitions beside them. A click applies the button's code to
// the selected scenes through the effect rules, as one step of the edit history; buttons whose
// code the player cannot do are greyed and inert. The raised face follows the pointer from
// button to button.
#pragma once

#include <QList>
#include <QObject>
#include <array>

#include "edit/EffectCodes.h"

class CaptionTable;
class CDevCaps;
class EditHistory;
class EffectButton;
class EffectRules;
class PictureLists;
class QWidget;

class EffectToolbar : public QObject {
    Q_OBJECT

public:
    EffectToolbar(QWidget* toolbarPanel, const PictureLists& pictures, const CaptionTable& captions,
                  const CDevCaps& caps, EffectRules& rules, EditHistory& history);

    // Builds the 24 buttons in index order, each placed, named, hinted and drawn for the
    // capabilities in force. Done once; later calls do nothing.
    void CreateButtons();

    // Every button asks the capability database again (after the device setup chose a player).
    void RefreshAll();
    // Every button greyed and inert (the device setup closed without a player).
    void DisableAll();
    // The raised face goes away (the pointer is over the panel's background or the header).
    void ClearHover();
    // The pointer moving over widget (or leaving it) clears the raised face too.
    void ClearHoverOver(QWidget* widget);

    int buttonCount() const { return created_ ? effectcodes::kButtonCount : 0; }
    EffectButton* button(int index) const { return buttons_[static_cast<size_t>(index)]; }
    EffectButton* hotButton() const { return hot_; }

    // Where button i sits on the panel and how wide it is.
    static QRect ButtonGeometry(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh(EffectButton& button, bool available);
    bool Supported(int code) const;
    void Hover(EffectButton* button);
    void Apply(int code);

    QWidget* panel_;
    QList<QObject*> hoverEnders_;
    const PictureLists& pictures_;
    const CaptionTable& captions_;
    const CDevCaps& caps_;
    EffectRules& rules_;
    EditHistory& history_;
    std::array<EffectButton*, effectcodes::kButtonCount> buttons_{};
    EffectButton* hot_ = nullptr;
    bool created_ = false;
};
