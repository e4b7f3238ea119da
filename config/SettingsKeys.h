// Every section and key of cw20.ini in one table, with its type, default and users. Code reads
// and writes settings through these names only, so this file is the whole map of the file.
#pragma once

#include <QLatin1String>
#include <QString>

struct SettingKey {
    QLatin1String section;
    QLatin1String key;
};

namespace settings_keys {

// [Directories] Program: text, the project file last opened or saved. Read at the main window's
// first show (its folder starts the open and save dialogs; default: the program folder); written
// at main window close when a project file is known.
inline constexpr SettingKey kProgram{QLatin1String("Directories"), QLatin1String("Program")};
// [Directories] Edl, Report: text, the folder of the EDL last imported or exported and of the
// verification report's text last saved. Read when their file dialogs open (default: the
// project's folder, the home folder); written when the user has chosen a file there.
inline constexpr SettingKey kEdlFolder{QLatin1String("Directories"), QLatin1String("Edl")};
inline constexpr SettingKey kReportFolder{QLatin1String("Directories"), QLatin1String("Report")};

// [Setup] FrameMode: integer timecode mode (0: 25 fps, 1: 30 fps, 2: 30 fps drop-frame).
// Read at the main window's first show and handed to the options; written at main window close.
inline constexpr SettingKey kFrameMode{QLatin1String("Setup"), QLatin1String("FrameMode")};
inline constexpr int kDefaultFrameMode = 0;

// [Setup] VtrWindow: integer, 1 reopens the deck controller shortly after start. Default: closed.
// Written at main window close (1 when the controller is showing, else 0).
inline constexpr SettingKey kVtrWindow{QLatin1String("Setup"), QLatin1String("VtrWindow")};

// [Setup] Log: integer, 1 switches the program's log on (clipwright.log in the program folder).
// Read at start by the program and clipwright-cli; never written. Default: off.
inline constexpr SettingKey kLog{QLatin1String("Setup"), QLatin1String("Log")};

// [INIT]: initial device values of a new installation, only ever read. Once the device setup has
// stored its choices in the device store, the store wins (and its CurID replaces PlayID).
inline constexpr QLatin1String kInitSection("INIT");
// CODE: model code handed to the capability database at start (default 0).
inline constexpr SettingKey kCode{kInitSection, QLatin1String("CODE")};
inline constexpr int kDefaultCode = 0;
// Category: device category handed to the device setup at start; missing or 0 gives 7.
inline constexpr SettingKey kCategory{kInitSection, QLatin1String("Category")};
inline constexpr int kDefaultCategory = 7;
// COM, fUseEdit, PlayID, RecID, DEVICES, ID<n>: device setup fallbacks (default 0 / no).
inline constexpr SettingKey kCom{kInitSection, QLatin1String("COM")};
inline constexpr SettingKey kUseEdit{kInitSection, QLatin1String("fUseEdit")};
inline constexpr SettingKey kPlayId{kInitSection, QLatin1String("PlayID")};
inline constexpr SettingKey kRecId{kInitSection, QLatin1String("RecID")};
inline constexpr SettingKey kDevices{kInitSection, QLatin1String("DEVICES")};
// ID0 .. ID<DEVICES-1>: the id of the device at that list position (its low 8 bits are used).
inline QString DeviceIdKey(int position) {
    return QStringLiteral("ID") + QString::number(position);
}
// OEM: non-zero selects the alternative title picture for non-Japanese users (default 0).
inline constexpr SettingKey kOem{kInitSection, QLatin1String("OEM")};

// [Option]: editing options, read by the options at start-up and written when they are
// confirmed. Defaults depend on the timecode mode: see DefaultOptions.
inline constexpr SettingKey kInPoint{QLatin1String("Option"), QLatin1String("InPoint")};
inline constexpr SettingKey kOutPoint{QLatin1String("Option"), QLatin1String("OutPoint")};
inline constexpr SettingKey kSearchHigh{QLatin1String("Option"), QLatin1String("SearchHigh")};
inline constexpr SettingKey kSyncroEdit{QLatin1String("Option"), QLatin1String("SyncroEdit")};
// Frames a playing deck takes from a pause command until it stands (0 to 200; default
// EditOptions::kDefaultPauseLead at every frame rate): Goto and Preroll pause the player, Review
// the recorder, this early.
inline constexpr SettingKey kPlayerPauseLead{QLatin1String("Option"),
                                             QLatin1String("PlayerPauseLead")};
inline constexpr SettingKey kRecorderPauseLead{QLatin1String("Option"),
                                               QLatin1String("RecorderPauseLead")};
// A scene that lands further than the tolerance (0 to 10 frames, default 1) off its length or its
// seam is recorded again over itself, at most RetakeAttempts times (0 to 5, default 2; 0: never).
inline constexpr SettingKey kRetakeAttempts{QLatin1String("Option"),
                                            QLatin1String("RetakeAttempts")};
inline constexpr SettingKey kRetakeTolerance{QLatin1String("Option"),
                                             QLatin1String("RetakeTolerance")};
// QuickCue: integer, 1 lets Preview and Auto Rec cue the player the quick way (a measured
// approach, no run-on beyond what the recorder's pause needs, winding to far scenes); 0 or
// missing: the fixed search distance and run-on. Only the waiting between scenes differs.
inline constexpr SettingKey kQuickCue{QLatin1String("Option"), QLatin1String("QuickCue")};

struct OptionDefaults {
    int inPoint;     // frames, 0 to 200
    int outPoint;    // frames, 0 to 200
    int searchHigh;  // 1 = high-speed search
    int syncroEdit;  // frames
};
// Mode 0 counts 25 frames per second; modes 1 and 2 count 30.
inline constexpr OptionDefaults DefaultOptions(int frameMode) {
    return frameMode == 0 ? OptionDefaults{33, 8, 0, 125} : OptionDefaults{40, 10, 0, 150};
}

// [Resume]: where an Auto Rec that was stopped or failed can go on. List: text, a fingerprint of
// the list it recorded (empty: nothing to resume); Row: the last row complete on tape (0: none);
// RecorderAt: the recorder's counter in frames where that row's scene ends; RecordingStart: its
// counter where the run began. Written, all four in one replacement of the file, when an Auto Rec
// starts, after each scene complete on tape and when it ends (cleared when it finished); read
// when Resume Auto Rec starts, and refused there when a value is beyond what it can be.
inline constexpr QLatin1String kResumeSection("Resume");
inline constexpr SettingKey kResumeList{kResumeSection, QLatin1String("List")};
inline constexpr SettingKey kResumeRow{kResumeSection, QLatin1String("Row")};
inline constexpr SettingKey kResumeRecorderAt{kResumeSection, QLatin1String("RecorderAt")};
inline constexpr SettingKey kResumeRecordingStart{kResumeSection, QLatin1String("RecordingStart")};

// [<window name>] Top, Left, Width, Height: window positions in pixels, one section per window
// (frmEDS, frmAvCtl, frmCrct, frmOption, frmTarnDev). Missing values centre the window.
inline constexpr QLatin1String kTop("Top");
inline constexpr QLatin1String kLeft("Left");
inline constexpr QLatin1String kWidth("Width");
inline constexpr QLatin1String kHeight("Height");

// [Ports] COM<n>: text, the device path of serial port n; default /dev/ttyS<n-1>.
inline constexpr QLatin1String kPortsSection("Ports");
inline QString PortKey(int port) {
    return QStringLiteral("COM") + QString::number(port);
}

}  // namespace settings_keys
