// The device setup's Device... window: the serial devices present (stable names of USB adapters
// first, then adapters without one and the on-board ports that answer), with what each stands
// for, its maker and model and the ports that name it already. The user picks the one the Tarn
// bus hangs on, or types or browses any other path (a pseudo-terminal, a name the list does not
// know) in the path field, which the list's choice fills too; Refresh lists them again after an
// adapter was plugged in. OK takes the path only when it opens as a terminal, and otherwise says
// why not and stays.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "link/SerialDeviceList.h"

class CaptionTable;
class PortResolver;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class SerialDeviceChooser : public QDialog {
    Q_OBJECT

public:
    enum Column { ColDevice, ColStandsFor, ColMaker, ColPort, ColumnCount };

    // portName: the port the choice is for ("COM1"); root: the folder standing for "/"; ports:
    // what each port names now. Not owned; all outlive the window.
    SerialDeviceChooser(const CaptionTable& captions, const QString& portName, QString root,
                        const PortResolver& ports, QWidget* parent = nullptr);

    // Why a path cannot serve as the port's device (the user's words), empty when it can.
    using PathCheck = std::function<QString(const QString& path)>;
    void SetPathCheck(PathCheck check) { pathCheck_ = std::move(check); }

    // The chosen device's whole path, empty until one is chosen.
    QString ChosenPath() const;

    void Refresh();

protected:
    void accept() override;

private:
    void BuildLayout(const CaptionTable& captions, const QString& portName);
    QLayout* BuildPathRow(const CaptionTable& captions);
    void Browse();
    void ShowListChoice();

    QString root_;
    const PortResolver& ports_;
    PathCheck pathCheck_;
    std::vector<SerialDevice> devices_;
    QTreeWidget* list_ = nullptr;
    QLabel* lblNone_ = nullptr;
    QLineEdit* edPath_ = nullptr;
    QLabel* lblPathError_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QString browseTitle_;
};
