// Resume Auto Rec: one menu item, in the main window's Program menu and in the controller's
// Program popup (also the PROGRAM cover's), that goes on with an Auto Rec that stopped or failed
// from where its last complete scene ends on the recorder's tape. It runs under the progress
// window exactly as Auto Rec from the controller's key does; the engine itself refuses a list
// changed since, a run with nothing left to record and a tape the recorder cannot find the
// frame on, each with its message.
#pragma once

#include <QObject>

class ControllerWiring;
class QAction;
class TfrmEDS;

class ResumeAutoRecCommand : public QObject {
public:
    ResumeAutoRecCommand(TfrmEDS& mainWindow, ControllerWiring& deck);

    // Offered while a resume point is kept and the decks an Auto Rec records with are chosen;
    // worked out each time one of its menus opens.
    bool Available() const;
    void UpdateItem();
    // Opens the controller when it is closed (it connects the decks), then resumes.
    void Run();

private:
    TfrmEDS& mainWindow_;
    ControllerWiring& deck_;
    QAction* item_;
};
