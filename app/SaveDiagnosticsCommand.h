// Help › Save Diagnostics...: writes the diagnostics file (version, system, settings, device
// store, capabilities in use, the last Auto Rec, the link's last exchanges, the log's tail) where
// the user chooses, to send with a report of a fault.
#pragma once

#include <QObject>

class AppContext;
class ControllerWiring;
class TfrmEDS;
class UserPrompts;

class SaveDiagnosticsCommand : public QObject {
public:
    SaveDiagnosticsCommand(TfrmEDS& mainWindow, AppContext& context, const ControllerWiring& deck,
                           UserPrompts& prompts);

    // Asks for the file, writes it and says how that went.
    void Run();

private:
    TfrmEDS& mainWindow_;
    AppContext& context_;
    const ControllerWiring& deck_;
    UserPrompts& prompts_;
};
