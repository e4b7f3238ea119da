#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <set>

#include "BusBench.h"
#include "common/FakeDeviceRoot.h"
#include "config/TextDecoding.h"
#include "link/CComm.h"
#include "link/PortAccess.h"
#include "ui/SerialDeviceChooser.h"
#include "ui/TfrmTarnDev.h"
#include "ui/TfrmWait.h"

namespace {

// A pseudo-terminal nobody else uses; its path is empty when none could be made.
struct SparePseudoTerminal {
    SparePseudoTerminal() : master(::posix_openpt(O_RDWR | O_NOCTTY)) {
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            path = QString::fromLocal8Bit(::ptsname(master));
    }
    ~SparePseudoTerminal() {
        if (master >= 0)
            ::close(master);
    }
    int master;
    QString path;
};

class TfrmTarnDevTest : public BusBench {
protected:
    void Open(int language = kLanguageEnglish) {
        BuildProgram();
        captions.SelectLanguage(language);
        ASSERT_TRUE(captions.LoadCaptions(QStringLiteral(CAPTIONS_PATH)));
        wait = std::make_unique<TfrmWait>(captions);
        dialog = std::make_unique<TfrmTarnDev>(*setup, *settings, captions);
        dialog->SetProgressWindow(wait.get());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        AwaitBus();
    }
    // The dialog waits, disabled, for the bus's answer to a refresh or a scan.
    void AwaitBus() { QTRY_VERIFY_WITH_TIMEOUT(dialog->isEnabled(), 60000); }
    void TearDown() override {
        if (dialog && dialog->isVisible())
            dialog->reject();
        dialog.reset();
    }

    template <typename T>
    T* Child(const char* name) {
        T* child = dialog->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QTableWidget* Grid() { return Child<QTableWidget>("SG1"); }
    QString Cell(int row, int column) {
        QTableWidgetItem* item = Grid()->item(row, column);
        return item ? item->text() : QString();
    }
    void ChoosePort(int index) {
        auto* combo = Child<QComboBox>("cbCom");
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        AwaitBus();
    }
    void ClickRow(int row) {
        QTableWidget* grid = Grid();
        const QRect cell = grid->visualItemRect(grid->item(row, TfrmTarnDev::ColName));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void Click(const char* button) {
        QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton);
    }
    void Scan(std::vector<int>* gaugeValues = nullptr) {
        auto* gauge = wait->findChild<QProgressBar*>(QStringLiteral("Gauge1"));
        QMetaObject::Connection seen;
        if (gaugeValues) {
            seen = QObject::connect(gauge, &QProgressBar::valueChanged,
                                    [gaugeValues](int v) { gaugeValues->push_back(v); });
        }
        Click("btnScan");
        // The dialog waits for the link's answer: nothing in it can be pressed, not even Cancel.
        EXPECT_FALSE(dialog->isEnabled());
        dialog->reject();
        EXPECT_TRUE(dialog->isVisible());
        AwaitBus();
        QObject::disconnect(seen);
    }
    // Types a new id into the id cell of row and confirms it with Enter.
    void ChangeIdInGrid(int row, const QString& typed) {
        ClickRow(row);
        dialog->findChild<QAction*>(QStringLiteral("mnuChID"))->trigger();
        auto* editor = Child<QLineEdit>("edId");
        ASSERT_TRUE(editor->isVisible());
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    std::unique_ptr<TfrmWait> wait;
    std::unique_ptr<TfrmTarnDev> dialog;
};

TEST_F(TfrmTarnDevTest, ScanFillsTheGridWithNamesCategoriesAndIdsAndOkStoresTheShorterList) {
    Serve(DemoBenchWith(VcrJson(3, "SecondVCR")));
    // A list of five from an earlier bus: OK with the three found must not leave ID3 and ID4.
    StoreInt("COM", 1);
    StoreInt("DEVICES", 5);
    for (int n = 0; n < 5; ++n)
        StoreInt(qPrintable(QStringLiteral("ID%1").arg(n)), 10 + n);
    Open();

    std::vector<int> gauge;
    Scan(&gauge);

    ASSERT_EQ(Grid()->rowCount(), 4);
    EXPECT_EQ(Cell(0, TfrmTarnDev::ColName), "Not connected");
    EXPECT_EQ(Cell(1, TfrmTarnDev::ColNumber), "1");
    EXPECT_EQ(Cell(1, TfrmTarnDev::ColId), "01");
    EXPECT_EQ(Cell(1, TfrmTarnDev::ColCategory), "Camcorder");
    EXPECT_EQ(Cell(1, TfrmTarnDev::ColName), "DemoCam DC-5");
    EXPECT_EQ(Cell(2, TfrmTarnDev::ColId), "02");
    EXPECT_EQ(Cell(2, TfrmTarnDev::ColCategory), "VCR");
    EXPECT_EQ(Cell(2, TfrmTarnDev::ColName), "DemoVCR");
    EXPECT_EQ(Cell(3, TfrmTarnDev::ColName), "SecondVCR");
    ASSERT_FALSE(gauge.empty());
    EXPECT_EQ(gauge.back(), 100);
    EXPECT_FALSE(wait->isVisible());
    // Three devices: the scan chooses nothing by itself.
    EXPECT_EQ(config.playerId, 0);

    Click("btnOk");
    int value = 0;
    ASSERT_TRUE(StoredInt("DEVICES", &value));
    EXPECT_EQ(value, 3);
    ASSERT_TRUE(StoredInt("ID2", &value));
    EXPECT_EQ(value, 3);
    EXPECT_FALSE(StoredInt("ID3", &value));
    EXPECT_FALSE(StoredInt("ID4", &value));
    ASSERT_TRUE(StoredInt("COM", &value));
    EXPECT_EQ(value, 1);
}

TEST_F(TfrmTarnDevTest, ScanFindingOneCamcorderChoosesItAsPlayerWithItsEditTerminalInFrench) {
    Serve(BenchOf(R"({"id": 4, "name": "LoneCam", "category": 7, "groups": [8],
                      "answer_delay_ms": 1, "deck": {}})"));
    StoreInt("COM", 1);
    Open(kLanguageFrench);
    Scan();
    // The grid's texts show whole in French.
    EXPECT_EQ(Grid()->horizontalHeaderItem(TfrmTarnDev::ColNumber)->text(), "N°");
    EXPECT_EQ(Cell(1, TfrmTarnDev::ColCategory), "Caméscope");
    QStyleOptionViewItem cell;
    cell.initFrom(Grid());
    cell.widget = Grid();
    const QModelIndex camcorder = Grid()->model()->index(1, TfrmTarnDev::ColCategory);
    const int gridLine = 1;
    EXPECT_GE(Grid()->columnWidth(TfrmTarnDev::ColCategory),
              Grid()->itemDelegate()->sizeHint(cell, camcorder).width() + gridLine);

    EXPECT_EQ(config.playerId, 4);
    EXPECT_TRUE(config.useEditTerminal);
    EXPECT_EQ(config.recorderId, 0);
    EXPECT_EQ(Child<QLabel>("lblSelP")->text(), "ID:04 LoneCam");
    EXPECT_TRUE(Child<QCheckBox>("cbEdit")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>("cbEdit")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>("btnRSel")->isEnabled());

    Click("btnOk");
    int value = 0;
    ASSERT_TRUE(StoredInt("CurID", &value));
    EXPECT_EQ(value, 4);
    ASSERT_TRUE(StoredInt("fUseEdit", &value));
    EXPECT_EQ(value, 1);
    ASSERT_TRUE(StoredInt("Category", &value));
    EXPECT_EQ(value, 7);
}

TEST_F(TfrmTarnDevTest, ScanOfAnEmptyBusEndsWithAnEmptyGridWhileTheGaugeKeepsMoving) {
    Serve(BenchOf(""));
    StoreInt("COM", 1);
    Open();
    auto* gauge = wait->findChild<QProgressBar*>(QStringLiteral("Gauge1"));
    // Timers still run during the scan only if the GUI thread keeps serving its events.
    std::set<int> sampled;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (wait->isVisible())
            sampled.insert(gauge->value());
    });
    sampler.start(200);
    Scan();
    sampler.stop();

    EXPECT_EQ(Grid()->rowCount(), 1);
    EXPECT_TRUE(setup->working().empty());
    EXPECT_GE(sampled.size(), 4u) << "the gauge was seen at too few positions while scanning";
    EXPECT_EQ(config.playerId, 0);
    EXPECT_EQ(Child<QLabel>("lblSelP")->text(), "Not selected");
}

TEST_F(TfrmTarnDevTest, ADeviceWithoutDeckCommandsCanBeNeitherPlayerNorRecorder) {
    Serve(BenchOf(VcrJson(2, "Deck") + R"(, {"id": 5, "name": "Printer", "category": 34})"));
    StoreInt("COM", 1);
    StoreInt("DEVICES", 2);
    StoreInt("ID0", 2);
    StoreInt("ID1", 5);
    Open();

    ASSERT_EQ(Grid()->rowCount(), 3);
    const int printerRow = dialog->RowOfDevice(5);
    ASSERT_GE(printerRow, 1);
    EXPECT_EQ(Cell(printerRow, TfrmTarnDev::ColCategory), "Printer");
    ClickRow(printerRow);
    EXPECT_FALSE(Child<QPushButton>("btnPSel")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>("btnRSel")->isEnabled());

    ClickRow(dialog->RowOfDevice(2));
    EXPECT_TRUE(Child<QPushButton>("btnPSel")->isEnabled());
    Click("btnRSel");
    EXPECT_EQ(config.recorderId, 2);
    EXPECT_EQ(Child<QLabel>("lblSelR")->text(), "ID:02 Deck");
    // Chosen already: neither button offers it again.
    EXPECT_FALSE(Child<QPushButton>("btnPSel")->isEnabled());
}

TEST_F(TfrmTarnDevTest,
       ChangeIdTakesTwoDigitsRenamesTheDeviceAndTheStoredListAndRefusesADuplicate) {
    tarnsim::Simulator& sim = Serve(DemoBenchJson());
    StoreInt("COM", 1);
    StoreInt("DEVICES", 2);
    StoreInt("ID0", 1);
    StoreInt("ID1", 2);
    StoreInt("CurID", 1);
    StoreInt("RecID", 2);
    Open();
    ASSERT_EQ(Grid()->rowCount(), 3);

    // The id cell keeps two digits only; Escape leaves the id as it was.
    ClickRow(dialog->RowOfDevice(2));
    dialog->findChild<QAction*>(QStringLiteral("mnuChID"))->trigger();
    auto* editor = Child<QLineEdit>("edId");
    editor->clear();
    QTest::keyClicks(editor, "4x56");
    EXPECT_EQ(editor->text(), "45");
    EXPECT_FALSE(Child<QPushButton>("btnScan")->isEnabled());
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(Cell(dialog->RowOfDevice(2), TfrmTarnDev::ColId), "02");
    EXPECT_TRUE(Child<QPushButton>("btnScan")->isEnabled());
    EXPECT_TRUE(dialog->isVisible());

    ChangeIdInGrid(dialog->RowOfDevice(2), "7");
    EXPECT_TRUE(sim.Device(7).has_value());
    EXPECT_FALSE(sim.Device(2).has_value());
    int value = 0;
    ASSERT_TRUE(StoredInt("ID1", &value));
    EXPECT_EQ(value, 7);
    ASSERT_TRUE(StoredInt("RecID", &value));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(config.recorderId, 7);
    EXPECT_EQ(Cell(dialog->RowOfDevice(7), TfrmTarnDev::ColId), "07");
    EXPECT_EQ(Child<QLabel>("lblSelR")->text(), "ID:07 DemoVCR");
    EXPECT_FALSE(Child<QLineEdit>("edId")->isVisible());
    EXPECT_TRUE(Child<QPushButton>("btnOk")->isEnabled());

    // The camcorder's id is taken by nobody else, but 7 is: nothing may go on the wire.
    sim.ClearTranscript();
    const int cameraRow = dialog->RowOfDevice(1);
    ChangeIdInGrid(cameraRow, "07");
    EXPECT_TRUE(sim.TranscriptEntries().empty());
    EXPECT_EQ(Cell(cameraRow, TfrmTarnDev::ColId), "01");
    EXPECT_TRUE(sim.Device(1).has_value());
}

TEST_F(TfrmTarnDevTest, CancelAfterChoosingAnotherPortReopensThePreviousOne) {
    Serve(DemoBenchJson(), 1);
    Serve(BenchOf(VcrJson(3, "OtherBus")), 2);
    StoreInt("COM", 1);
    StoreInt("DEVICES", 1);
    StoreInt("ID0", 1);
    StoreInt("CurID", 1);
    Open();
    ASSERT_EQ(bus->comm().DevicePath().toStdString(), SimPath(1));

    ChoosePort(2);
    EXPECT_EQ(bus->comm().DevicePath().toStdString(), SimPath(2));
    EXPECT_EQ(config.playerId, 0) << "the player is not on the other port";

    Click("btnCancel");
    EXPECT_TRUE(bus->comm().IsOpen());
    EXPECT_EQ(bus->comm().DevicePath().toStdString(), SimPath(1));
    EXPECT_EQ(config.playerId, 1);
    int value = 0;
    ASSERT_TRUE(StoredInt("COM", &value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(dialog->cancelled());
}

TEST_F(TfrmTarnDevTest, PortsThatCannotOpenLeaveThePreviousPortInUse) {
    Serve(DemoBenchJson(), 1);
    StoreInt("COM", 1);
    StoreInt("DEVICES", 2);
    StoreInt("ID0", 1);
    StoreInt("ID1", 2);
    StoreInt("CurID", 1);
    StoreInt("RecID", 2);
    Open();
    auto* reason = Child<QLabel>("lblPortError");
    EXPECT_FALSE(reason->isVisible());
    for (int port : {3, 4}) {
        ChoosePort(port);
        EXPECT_EQ(Child<QComboBox>("cbCom")->currentIndex(), 1) << "COM" << port;
        EXPECT_EQ(bus->comm().DevicePath().toStdString(), SimPath(1)) << "COM" << port;
        // The dialog says why; a device the user may not use names the group to join.
        EXPECT_TRUE(reason->isVisible()) << "COM" << port;
        const QString path = bus->comm().PathOfPort(port);
        EXPECT_TRUE(reason->text().contains(path)) << reason->text().toStdString();
        EXPECT_EQ(reason->text().contains("sudo adduser $USER " + PortGroup(path)), port == 4)
            << reason->text().toStdString();
    }
    const QString playerShown = Child<QLabel>("lblSelP")->text();
    ChoosePort(0);
    EXPECT_FALSE(reason->isVisible());
    EXPECT_FALSE(bus->comm().IsOpen());
    EXPECT_FALSE(Child<QPushButton>("btnScan")->isEnabled());
    EXPECT_EQ(Grid()->rowCount(), 1);
    ASSERT_TRUE(playerShown.startsWith("ID:"));
    EXPECT_FALSE(Child<QLabel>("lblSelP")->text().startsWith("ID:"));  // "not selected"
    EXPECT_FALSE(Child<QLabel>("lblSelR")->text().startsWith("ID:"));
    // "Not used" shows no devices but forgets neither choice.
    EXPECT_EQ(config.playerId, 1);
    EXPECT_EQ(config.recorderId, 2);

    ChoosePort(1);
    EXPECT_EQ(config.playerId, 1);
    EXPECT_EQ(config.recorderId, 2);
    EXPECT_EQ(Child<QLabel>("lblSelP")->text(), playerShown);
}

TEST_F(TfrmTarnDevTest, DeviceListOrATypedTerminalBecomesThePortsDeviceAndOtherPathsAreRefused) {
    Serve(DemoBenchJson(), 2);
    QTemporaryDir rootDir;
    const FakeDeviceRoot root(rootDir.path());
    root.Node("ttyUSB3");
    root.UsbAdapter("ttyUSB3", "FTDI", "FT232R USB UART");
    const QString stable = root.Dev("serial/by-id/usb-Tarn_Simulator-if00");
    root.StableName("usb-Tarn_Simulator-if00", QString::fromStdString(SimPath(2)));
    Open();
    dialog->SetDeviceRoot(root.path());
    auto* combo = Child<QComboBox>("cbCom");
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->itemText(2), "COM2  " + QString::fromStdString(SimPath(2)));
    EXPECT_EQ(combo->itemText(3), "COM3  " + programDir.filePath("no-such-port"));

    // Not used: the choice goes to COM1. The list names what COM2 already uses.
    QStringList rows;
    QTimer::singleShot(0, [&] {
        auto* chooser = qobject_cast<SerialDeviceChooser*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        auto* list = chooser->findChild<QTreeWidget*>("lvSerial");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int column = 0; column < SerialDeviceChooser::ColumnCount; ++column)
                cells << list->topLevelItem(i)->text(column);
            rows << cells.join(u'|');
        }
        list->setCurrentItem(list->topLevelItem(0));
        QTest::mouseClick(chooser->findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    });
    Click("btnDevice");
    AwaitBus();  // the port's devices are asked on the link thread
    EXPECT_EQ(rows, QStringList(
                        {"usb-Tarn_Simulator-if00|" + QString::fromStdString(SimPath(2)) + "||COM2",
                         "ttyUSB3||FTDI FT232R USB UART|"}));
    QString written;
    ASSERT_TRUE(settings->ReadString("Ports", "COM1", &written));
    EXPECT_EQ(written, stable);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(combo->itemText(1), "COM1  " + stable);
    EXPECT_EQ(bus->comm().DevicePath(), stable);
    EXPECT_TRUE(Child<QPushButton>("btnScan")->isEnabled());

    // Cancel writes nothing.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    Click("btnDevice");
    ASSERT_TRUE(settings->ReadString("Ports", "COM1", &written));
    EXPECT_EQ(written, stable);

    // A typed path: a file that is no terminal is refused with its reason, and the window
    // stays; a pseudo-terminal the list does not know is taken.
    const SparePseudoTerminal spare;
    ASSERT_FALSE(spare.path.isEmpty());
    QString refusal;
    QTimer::singleShot(0, [&] {
        auto* chooser = qobject_cast<SerialDeviceChooser*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        auto* path = chooser->findChild<QLineEdit*>("edPath");
        auto* ok = chooser->findChild<QPushButton*>("btnOk");
        // Tab reads the window top to bottom: the list, the path row, then the buttons.
        const QStringList stops = {"lvSerial",   "edPath", "btnBrowse",
                                   "btnRefresh", "btnOk",  "btnCancel"};
        QStringList chain;
        QWidget* w = chooser->findChild<QTreeWidget*>("lvSerial");
        for (int step = 0; step < 100 && chain.size() < stops.size(); ++step) {
            if (stops.contains(w->objectName()) && !chain.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        }
        EXPECT_EQ(chain.join(' '), stops.join(' '));
        path->clear();
        QTest::keyClicks(path, root.Dev("ttyUSB3"));
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_TRUE(chooser->isVisible());
        refusal = chooser->findChild<QLabel*>("lblPathError")->text();
        path->clear();
        QTest::keyClicks(path, spare.path);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    Click("btnDevice");
    AwaitBus();
    EXPECT_EQ(refusal, root.Dev("ttyUSB3") +
                           " is not a terminal: the Tarn bus is reached through a serial device "
                           "or a pseudo-terminal.");
    ASSERT_TRUE(settings->ReadString("Ports", "COM1", &written));
    EXPECT_EQ(written, spare.path);
    EXPECT_EQ(bus->comm().DevicePath(), spare.path);
    // Every port the selector offers is one the transport opens.
    EXPECT_EQ(combo->count(), 1 + CComm::kLastPort);
}

}  // namespace
