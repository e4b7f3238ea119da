// The device setup's Device... window: the serial devices present (stable names of USB adapters
// first, then adapters without one and the on-board ports that answer), with what each stands
// for, its maker and model and the ports that name it already. The user picks the one the Tarn
// bus hangs on; Refresh lists them again after an adapter was plugged in.
#pragma once

#include <QDialog>
#include <vector>

#include "link/SerialDeviceList.h"

class CaptionTable;
class PortResolver;
class QLabel;
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

    // The chosen device's whole path, empty until one is chosen.
    QString ChosenPath() const;

    void Refresh();

private:
    void BuildLayout(const CaptionTable& captions, const QString& portName);

    QString root_;
    const PortResolver& ports_;
    std::vector<SerialDevice> devices_;
    QTreeWidget* list_ = nullptr;
    QLabel* lblNone_ = nullptr;
    QPushButton* btnOk_ = nullptr;
};
