#include "app/ResumeAutoRecCommand.h"

#include <QAction>
#include <QMenu>

#include "app/ControllerWiring.h"
#include "app/TfrmEDS.h"

ResumeAutoRecCommand::ResumeAutoRecCommand(TfrmEDS& mainWindow, ControllerWiring& deck)
    : mainWindow_(mainWindow), deck_(deck), item_(mainWindow.menus().mnuResume) {
    QMenu* controllerMenu = deck_.controller().programMenu();
    controllerMenu->addAction(item_);
    for (QMenu* menu : {mainWindow_.menus().mnuProgram, controllerMenu})
        connect(menu, &QMenu::aboutToShow, this, &ResumeAutoRecCommand::UpdateItem);
    connect(item_, &QAction::triggered, this, &ResumeAutoRecCommand::Run);
    UpdateItem();
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
