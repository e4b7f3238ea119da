#include "app/ResumeAutoRecCommand.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include "app/AppContext.h"
#include "app/ControllerWiring.h"
#include "app/TfrmEDS.h"
#include "app/UserPrompts.h"
#include "engine/ResumePoint.h"

namespace {

// How soon the offer looks again while the main window waits (the controller coming back at
// start, a box): a moment the user does not notice.
constexpr int kOfferRetryMs = 200;

}  // namespace

ResumeAutoRecCommand::ResumeAutoRecCommand(AppContext& context, TfrmEDS& mainWindow,
                                           ControllerWiring& deck, UserPrompts& prompts)
    : context_(context),
      mainWindow_(mainWindow),
      deck_(deck),
      prompts_(prompts),
      item_(mainWindow.menus().mnuResume) {
    QMenu* controllerMenu = deck_.controller().programMenu();
    controllerMenu->addAction(item_);
    for (QMenu* menu : {mainWindow_.menus().mnuProgram, controllerMenu})
        connect(menu, &QMenu::aboutToShow, this, &ResumeAutoRecCommand::UpdateItem);
    connect(item_, &QAction::triggered, this, &ResumeAutoRecCommand::Run);
    // The question comes once the opening has finished, not inside it.
    connect(&mainWindow.document(), &ProjectDocument::listOpened, this,
            [this] { QTimer::singleShot(0, this, &ResumeAutoRecCommand::OfferForOpenedList); });
    UpdateItem();
}

void ResumeAutoRecCommand::OfferForOpenedList() {
    if (!Available() || CheckResume(deck_.resumePoint(), context_.scenes()) != ResumeRefusal::None)
        return;
    if (!mainWindow_.isEnabled()) {
        QTimer::singleShot(kOfferRetryMs, this, &ResumeAutoRecCommand::OfferForOpenedList);
        return;
    }
    if (prompts_.AskYesNo(&mainWindow_, context_.Text(QStringLiteral("TI_MAIN")),
                          context_.Text(QStringLiteral("MSG_RESUME_ASK"))))
        Run();
}

bool ResumeAutoRecCommand::Available() const {
    // A resume finds its frame by the recorder's own counter: it needs the recorder as well as
    // the player. Whether the list is still the one recorded is the engine's to say, with its
    // message.
    return !deck_.resumePoint().IsEmpty() && deck_.PlayerId() != 0 && deck_.RecorderId() != 0 &&
           !deck_.engine().IsRunning();
}

void ResumeAutoRecCommand::UpdateItem() {
    item_->setEnabled(Available());
}

void ResumeAutoRecCommand::Run() {
    // The item may have been enabled when its menu opened, long before.
    if (!Available())
        return;
    TfrmAvCtl& controller = deck_.controller();
    mainWindow_.OpenController();
    // A controller that cannot find the player opens the device setup in a moment: the user
    // chooses the decks first, and resumes then.
    if (!controller.isVisible() || controller.deviceTimer().isActive())
        return;
    if (deck_.engine().AutoResume(deck_.resumePoint()))
        controller.HoldRecordingKeys();
}
