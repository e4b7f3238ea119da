// What the controller needs of the device configuration: the chosen player and recorder, whether
// the recorder is driven through the player's edit terminal, and the device setup dialog. The
// program answers it from the device setup; tests answer it from a bench.
#pragma once

class ControllerDevices {
public:
    virtual ~ControllerDevices() = default;

    virtual int PlayerId() const = 0;    // 0: no player chosen
    virtual int RecorderId() const = 0;  // 0: no recorder chosen
    virtual bool UseEditTerminal() const = 0;
    // The player lists the effect command group, so the engine can run effects on it.
    virtual bool PlayerHasEffects() const = 0;
    // Loads the stored device configuration (which opens and sets up the serial port) and
    // refreshes the known devices; true when the player is among them.
    virtual bool LoadAndFindPlayer() = 0;
    // The device setup dialog, modal; returns when the user has closed it.
    virtual void ShowDeviceSetup() = 0;
};
