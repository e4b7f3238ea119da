#include "ui/SerialDeviceChooser.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/CaptionTable.h"
#include "link/CComm.h"
#include "ui/ApplyCaptions.h"
#include "ui/NamedControls.h"

namespace {

// A caption from the table, or the built-in text when the caption file lacks the key.
QString TextOr(const CaptionTable& captions, const char* key, const char* fallback) {
    const QString text = captions.CaptionText(QLatin1String(key));
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

}  // namespace

SerialDeviceChooser::SerialDeviceChooser(const CaptionTable& captions, const QString& portName,
                                         QString root, const PortResolver& ports, QWidget* parent)
    : QDialog(parent), root_(std::move(root)), ports_(ports) {
    setObjectName(QStringLiteral("frmSerialDev"));
    setWindowTitle(TextOr(captions, "TI_SERIALDEV", "Serial Devices"));
    BuildLayout(captions, portName);
    ApplyCaptions(this, captions);
    Refresh();
}

void SerialDeviceChooser::BuildLayout(const CaptionTable& captions, const QString& portName) {
    auto* prompt = NamedLabel(
        "lblSerialFor",
        TextOr(captions, "LB_SERIALFOR", "Choose the serial device for %1:").arg(portName), this);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lvSerial"));
    list_->setRootIsDecorated(false);
    list_->setColumnCount(ColumnCount);
    list_->setHeaderLabels({TextOr(captions, "LB_SERIALDEV", "Device"),
                            TextOr(captions, "LB_SERIALNODE", "Stands for"),
                            TextOr(captions, "LB_SERIALMAKER", "Maker and model"),
                            TextOr(captions, "LB_SERIALPORT", "Port")});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setMinimumSize(620, 180);
    prompt->setBuddy(list_);
    lblNone_ =
        NamedLabel("lblNoSerial",
                   TextOr(captions, "MSG_NOSERIAL",
                          "No serial device was found. Plug in the adapter, then press Refresh."),
                   this);
    lblNone_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    auto* btnRefresh = NamedButton("btnRefresh", QStringLiteral("Refresh"), this);
    btnOk_ = NamedButton("btnOk", QStringLiteral("OK"), this);
    auto* btnCancel = NamedButton("btnCancel", QStringLiteral("Cancel"), this);
    buttons->addButton(btnRefresh, QDialogButtonBox::ResetRole);
    buttons->addButton(btnOk_, QDialogButtonBox::AcceptRole);
    buttons->addButton(btnCancel, QDialogButtonBox::RejectRole);
    btnOk_->setDefault(true);
    connect(btnRefresh, &QPushButton::clicked, this, &SerialDeviceChooser::Refresh);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &SerialDeviceChooser::ShowListChoice);
    connect(list_, &QTreeWidget::itemActivated, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(list_);
    layout->addWidget(lblNone_);
    layout->addLayout(BuildPathRow(captions));
    layout->addWidget(lblPathError_);
    layout->addWidget(buttons);
    // Top to bottom, as the window reads: the buttons were made before the path row.
    QWidget* const order[] = {list_,      edPath_, findChild<QPushButton*>("btnBrowse"),
                              btnRefresh, btnOk_,  btnCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QLayout* SerialDeviceChooser::BuildPathRow(const CaptionTable& captions) {
    auto* label = NamedLabel("lblSerialPath", TextOr(captions, "LB_SERIALPATH", "Path:"), this);
    edPath_ = new QLineEdit(this);
    edPath_->setObjectName(QStringLiteral("edPath"));
    label->setBuddy(edPath_);
    browseTitle_ = TextOr(captions, "TI_SERIALPATH", "Serial Device");
    auto* btnBrowse = NamedButton("btnBrowse", TextOr(captions, "BTN_BROWSE", "Browse..."), this);
    connect(btnBrowse, &QPushButton::clicked, this, &SerialDeviceChooser::Browse);
    connect(edPath_, &QLineEdit::textChanged, this, [this] {
        lblPathError_->hide();
        btnOk_->setEnabled(!ChosenPath().isEmpty());
    });
    lblPathError_ = NamedLabel("lblPathError", QString(), this);
    lblPathError_->setWordWrap(true);
    lblPathError_->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblPathError_->hide();
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edPath_, 1);
    row->addWidget(btnBrowse);
    return row;
}

void SerialDeviceChooser::ShowListChoice() {
    const QTreeWidgetItem* item = list_->currentItem();
    if (item != nullptr && item->isSelected())
        edPath_->setText(item->data(ColDevice, Qt::UserRole).toString());
}

void SerialDeviceChooser::Browse() {
    // Device nodes are system entries, hidden from a file dialog's usual view; a stable name is
    // a link, kept as the link so that it survives re-plugging.
    const QString byId = root_ + QStringLiteral("/dev/serial/by-id");
    QFileDialog dialog(this, browseTitle_,
                       QFileInfo(byId).isDir() ? byId : root_ + QStringLiteral("/dev"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks);
    dialog.setFilter(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        edPath_->setText(dialog.selectedFiles().constFirst());
}

void SerialDeviceChooser::accept() {
    const QString path = ChosenPath();
    if (path.isEmpty())
        return;
    const QString refusal = pathCheck_ ? pathCheck_(path) : QString();
    if (!refusal.isEmpty()) {
        lblPathError_->setText(refusal);
        lblPathError_->show();
        return;
    }
    QDialog::accept();
}

void SerialDeviceChooser::Refresh() {
    devices_ = ListSerialDevices(root_);
    list_->clear();
    for (const SerialDevice& device : devices_) {
        // The name alone fits the list; the whole path is what the setting takes.
        auto* item = new QTreeWidgetItem(
            list_, {QFileInfo(device.path).fileName(),
                    device.kernelPath == device.path ? QString() : device.kernelPath,
                    MakerAndModel(device),
                    PortsUsing(device, ports_, CComm::kLastPort).join(QStringLiteral(", "))});
        item->setData(ColDevice, Qt::UserRole, device.path);
        item->setToolTip(ColDevice, device.path);
    }
    if (!devices_.empty())
        list_->setCurrentItem(list_->topLevelItem(0));
    lblNone_->setVisible(devices_.empty());
    btnOk_->setEnabled(!ChosenPath().isEmpty());
}

QString SerialDeviceChooser::ChosenPath() const {
    return edPath_->text().trimmed();
}
