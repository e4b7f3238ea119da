// Resume Auto Rec: one menu item, in the main window's Program menu and in the controller's
// Program popup (also the PROGRAM cover's), that goes on with an Auto Rec that stopped or failed
// from where its last complete scene ends on the recorder's tape. It runs under the progress
// window exactly as Auto Rec from the controller's key does; the engine itself refuses a list
// changed since, a run with nothing left to record and a tape the recorder cannot find the
// frame on, each with its message. Opening the list that a stopped run left a point for (also
// at start) asks at once whether to go on with it.
#pragma once

#include <QObject>

class AppContext;
class ControllerWiring;
class QAction;
class TfrmEDS;
class UserPrompts;

class ResumeAutoRecCommand : public QObject {
public:
    ResumeAutoRecCommand(AppContext& context, TfrmEDS& mainWindow, ControllerWiring& deck,
                         UserPrompts& prompts);

    // Offered while a resume point is kept and the decks an Auto Rec records with are chosen;
    // worked out each time one of its menus opens.
    bool Available() const;
    void UpdateItem();
    // Opens the controller when it is closed (it connects the decks), then resumes.
    void Run();

private:
    // After a list was opened: asks whether to resume when the kept point is this list's.
    void OfferForOpenedList();

    AppContext& context_;
    TfrmEDS& mainWindow_;
    ControllerWiring& deck_;
    UserPrompts& prompts_;
    QAction* item_;
};
