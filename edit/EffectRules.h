// The rules for picture effects and transitions on scene rows: an effect or transition the
// player cannot combine with its neighbours is refused with a message naming both, a transition
// that blends into the following scene needs one, and transitions the list's new shape makes
// impossible are cleared. The messages go to the caller's sink (the main window shows them).
#pragma once

#include <QString>
#include <functional>

class CaptionTable;
class EffectCompatibility;
class SceneList;

class EffectRules {
public:
    // Receives the text of each refusal, one per refused row, at the moment of refusal.
    using MessageSink = std::function<void(const QString& text)>;

    EffectRules(SceneList& list, const EffectCompatibility& caps, const CaptionTable& captions);

    void SetMessageSink(MessageSink sink) { sink_ = std::move(sink); }
    // Makes the list run RevalidateTransitions after every change of its shape.
    void AttachToList();

    // Effect e on row i (i >= 1) against the transitions into and out of the row; true when
    // allowed, else false after sending the message.
    bool CheckEffect(int i, int e);
    // Transition t on row i against the following scene and the effects of rows i and i + 1.
    bool CheckTransition(int i, int t);

    // The effect button: effect e on every selected row from 1 on that passes CheckEffect.
    void ApplyEffect(int e);
    // A transition button: transition t on every selected row that passes CheckTransition.
    void ApplyTransition(int t);
    // Every row whose transition no longer passes (after telling why) gets none (100).
    void RevalidateTransitions();

private:
    QString RowButton(int row, int button) const;
    void Refuse(const QString& firstLine, const QString& secondLine, const QString& key);

    SceneList& list_;
    const EffectCompatibility& caps_;
    const CaptionTable& captions_;
    MessageSink sink_;
};
