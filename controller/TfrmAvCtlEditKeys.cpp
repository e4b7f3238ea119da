#include "controller/TfrmAvCtl.h"

// The controller window's editing keys: Entry, In, Out, Trim and the scene keys change the edit
// list as steps of its history, the operation keys start the timed operations, and the arrow
// between the decks flashes while Auto Rec records.
#include <QLabel>

#include "controller/ControllerDevices.h"
#include "controller/KeyAutoRepeat.h"
#include "controller/SkinKey.h"
#include "edit/SceneList.h"
#include "link/Clock.h"
#include "link/TarnVtr.h"
#include "ui/EditHistory.h"

void TfrmAvCtl::ConnectEditKeys() {
    SceneList& list = parts_.scenes;
    EditHistory& history = parts_.history;
    auto onClick = [this](const char* name, auto handler) {
        connect(key(QLatin1String(name)), &QAbstractButton::clicked, this, handler);
    };
    // Each repeat of a held Trim key is a trim of its own; the history merges them into one step.
    auto repeated = [&](const char* name, int tag, EditStep step, auto action) {
        autoRepeat_->Attach(key(QLatin1String(name)), tag, [&history, &list, step, action] {
            history.Perform(step, [&list, action] { action(list); });
        });
    };
    repeated("btnTrimM", 1, EditStep::Trim, [](SceneList& l) { TrimPoint(l, -1); });
    repeated("btnTrimP", 2, EditStep::Trim, [](SceneList& l) { TrimPoint(l, +1); });
    repeated("btnSup", 3, EditStep::SceneUp, [](SceneList& l) { StepScene(l, -1); });
    repeated("btnSdown", 4, EditStep::SceneDown, [](SceneList& l) { StepScene(l, +1); });
    onClick("btnEntry", [this] { btnEntryClick(); });
    onClick("btnSin", [this] { MarkPointClick(EditPoint::In); });
    onClick("btnSout", [this] { MarkPointClick(EditPoint::Out); });
    onClick("btnSend", [this] { btnSendClick(); });
    onClick("btnProgEdit", [this] {
        const int first = parts_.scenes.FirstSelected();
        if (first >= 0)
            emit modifyRowRequested(first);
    });
    auto start = [this](AutoKind kind) {
        if (autoStart_)
            autoStart_(kind);
    };
    onClick("btnGoto", [start] { start(AutoKind::Goto); });
    onClick("btnPreview", [start] { start(AutoKind::Preview); });
    onClick("btnPreroll", [start] { start(AutoKind::Preroll); });
    onClick("btnEdit", [start] { start(AutoKind::Edit); });
    onClick("btnReview", [this] { btnReviewClick(); });
    onClick("btnAutoRec", [this] { btnAutoRecClick(); });
}

void TfrmAvCtl::UpdateEditButtons() {
    SetEditKeys(
        EvaluateEditKeys(parts_.scenes, {parts_.devices.PlayerId(), parts_.devices.RecorderId()}));
}

void TfrmAvCtl::SetEditKeys(const EditKeyStates& keys) {
    lblScene_->setText(keys.sceneLabel);
    const std::pair<const char*, bool> states[] = {
        {"btnSup", keys.sceneUp},         {"btnSdown", keys.sceneDown},
        {"btnSend", keys.sceneEnd},       {"btnSin", keys.markIn},
        {"btnSout", keys.markOut},        {"btnTrimM", keys.trimMinus},
        {"btnTrimP", keys.trimPlus},      {"btnGoto", keys.gotoScene},
        {"btnPreview", keys.preview},     {"btnAutoRec", keys.autoRec},
        {"btnProgEdit", keys.programEdit}};
    for (const auto& [name, enabled] : states)
        key(QLatin1String(name))->setEnabled(enabled);
    if (keys.reviewOff)
        key(QStringLiteral("btnReview"))->setEnabled(false);
}

void TfrmAvCtl::UpdateEntryButton() {
    key(QStringLiteral("btnEntry"))
        ->setEnabled(EntryPossible(parts_.scenes, parts_.vtr.Counter(),
                                   remote_.view() == DeckRemote::View::Player));
}

void TfrmAvCtl::MarkPointClick(EditPoint point) {
    parts_.history.Perform(point == EditPoint::In ? EditStep::MarkIn : EditStep::MarkOut,
                           [this, point] { MarkPoint(parts_.scenes, point); });
    key(QStringLiteral("btnTrimM"))->setEnabled(true);
    key(QStringLiteral("btnTrimP"))->setEnabled(true);
}

void TfrmAvCtl::btnEntryClick() {
    const DeckState deck = parts_.vtr.State();
    const QString counter = EntryCounterValue(deck.counterText, deck.counter < 0);
    parts_.history.Perform(EditStep::Entry, [this, &counter] { Entry(parts_.scenes, counter); });
    UpdateEditButtons();
    UpdateEntryButton();
    key(QStringLiteral("btnTrimM"))->setEnabled(true);
    key(QStringLiteral("btnTrimP"))->setEnabled(true);
}

void TfrmAvCtl::btnSendClick() {
    autoRepeat_->Stop();
    parts_.history.Perform(EditStep::LastScene,
                           [this] { parts_.scenes.SelectOnly(parts_.scenes.count() - 1); });
    emit listEndRequested();
}

void TfrmAvCtl::btnReviewClick() {
    // The operation's start is queued to the link behind the recorder's connection, so the
    // recorder is addressed before Review's first command; nothing here waits for it.
    if (remote_.view() == DeckRemote::View::Player)
        remote_.SelectView(DeckRemote::View::Recorder);
    if (autoStart_)
        autoStart_(AutoKind::Review);
}

void TfrmAvCtl::btnAutoRecClick() {
    HoldRecordingKeys();
    if (parts_.devices.RecorderId() != 0 && readRecorderPosition_)
        readRecorderPosition_();
    if (autoStart_)
        autoStart_(AutoKind::AutoRec);
}

void TfrmAvCtl::HoldRecordingKeys() {
    key(QStringLiteral("btnAutoRec"))->setEnabled(false);
    key(QStringLiteral("btnReview"))->setEnabled(false);
}

void TfrmAvCtl::EnableAutoRec() {
    key(QStringLiteral("btnAutoRec"))->setEnabled(true);
}

void TfrmAvCtl::EnableReview() {
    key(QStringLiteral("btnReview"))->setEnabled(true);
}

void TfrmAvCtl::ShowRecorderRecording() {
    imgDeckr_->setPixmap(skin_.Picture(QStringLiteral("imgDeckr"), QStringLiteral("red")));
}

void TfrmAvCtl::SetArrowFlashing(bool on) {
    if (on) {
        tmPrg_.start();
        return;
    }
    tmPrg_.stop();
    arrowTag_ = 0;
    imgPtoR_->setPixmap(skin_.Picture(QStringLiteral("imgPtoR"), QStringLiteral("idle")));
}

void TfrmAvCtl::tmPrgTimer() {
    arrowTag_ = arrowTag_ == 0 ? 1 : 0;
    imgPtoR_->setPixmap(skin_.Picture(QStringLiteral("imgPtoR"),
                                      arrowTag_ ? QStringLiteral("lit") : QStringLiteral("idle")));
}

bool TfrmAvCtl::arrowLit() const {
    return arrowTag_ == 1;
}
