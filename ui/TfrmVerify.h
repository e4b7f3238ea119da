// The verification window, shown at the end of every Auto Rec (finished, stopped or failed) for
// the scenes that were recorded: per scene the expected and the recorded length, the difference
// in frames and the recorder's position at the seam after it ("recorder not readable" where
// only the edit terminal records), and where a resumed run began. Copy puts the table on the
// clipboard as text, Save... writes it to a text file, and when the lengths show that the
// out-point correction is off, Use Correction... stores the corrected value in the options
// after asking, as the options dialog's OK would.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "engine/VerificationTable.h"

class CaptionTable;
class EditOptions;
class QLabel;
class QPushButton;
class QTableWidget;
class SettingsFile;
class VerificationReport;

class TfrmVerify : public QDialog {
    Q_OBJECT

public:
    // The questions the window asks; the program answers them with its message boxes and file
    // dialog, tests with a script.
    struct Prompts {
        std::function<bool(QWidget* parent, const QString& title, const QString& text)> askYesNo;
        std::function<void(QWidget* parent, const QString& title, const QString& text)> warning;
        // A file to save to (empty: cancelled); the overwrite question is the window's.
        std::function<QString(QWidget* parent, const QString& proposedName, const QString& filter)>
            chooseSaveFile;
    };

    TfrmVerify(EditOptions& options, const SettingsFile& settings, const CaptionTable& captions,
               QWidget* parent = nullptr);
    void SetPrompts(Prompts prompts) { prompts_ = std::move(prompts); }

    // Fills the window with report and brings it up (it is not modal).
    void ShowReport(const VerificationReport& report);
    QString TableText() const { return table_.Text(); }

protected:
    void done(int result) override;

private:
    void BuildLayout();
    void FillGrid();
    void PadHeaders();
    void FitGrid();
    void Place();
    void btnCopyClick();
    void btnSaveClick();
    void btnCorrectClick();
    bool WriteText(const QString& path);
    QString Text(const char* key) const;

    EditOptions& options_;
    const SettingsFile& settings_;
    const CaptionTable& captions_;
    Prompts prompts_;
    VerificationTable table_;
    std::optional<int> suggestedOut_;

    QTableWidget* grdScenes_ = nullptr;
    QLabel* lblAdvice_ = nullptr;
    QLabel* lblStopReason_ = nullptr;
    QPushButton* btnCopy_ = nullptr;
    QPushButton* btnSave_ = nullptr;
    QPushButton* btnCorrect_ = nullptr;
    QPushButton* btnClose_ = nullptr;
};
