// The note the tape guard leaves in the program folder when it had to pause the decks for a
// program that ended unexpectedly (or stopped answering): which operation was running and
// where the recorder was paused, or that it did not confirm. The next start shows it once.
#pragma once

#include <QString>
#include <optional>

class CaptionTable;

struct GuardNote {
    static constexpr const char* kFileName = "guard-note.ini";

    QString operation;       // the operation's code: autorec, edit, preview, calibration
    QString recorderAt;      // the recorder's counter where it stands, empty when not read
    bool confirmed = false;  // the recorder's status showed it out of record

    // Replaces the note in folder; false when it cannot be written.
    bool Write(const QString& folder) const;
    // The note in folder, removed once read; none when there is none.
    static std::optional<GuardNote> Take(const QString& folder);
    // What the user is told, in the captions' language.
    QString Text(const CaptionTable& captions) const;
};
