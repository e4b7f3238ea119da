#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "BusBench.h"
#include "devices/MonitorText.h"
#include "ui/TfrmMonitor.h"

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> b) {
    return b;
}

TEST(MonitorTextTest, EntryBytesFromDigitsAndSeparatorsAndFramesAndNumbersShown) {
    const EntryBytes expected{0x05, 0x08, 0x4E, 0x20, 0, 0, 0, 0};
    EXPECT_EQ(ParseHexEntry("05:08:4E:20:00:00:00:00:"), expected);
    EXPECT_EQ(ParseHexEntry("5 8 4e 20"), expected);
    EXPECT_EQ(ParseHexEntry("zz:yy:"), EntryBytes{});
    // Only the first 24 characters count: the ninth byte and beyond are never read.
    EXPECT_EQ(ParseHexEntry("01:02:03:04:05:06:07:0809:0A")[7], 0x08);
    EXPECT_EQ(ParseHexEntry("01:02:03:04:05:06:07:08:FF:")[7], 0x08);
    EXPECT_EQ(ParseHexEntry("abc")[0], 0xAB);
    EXPECT_EQ(ParseHexEntry("abc")[1], 0x0C);

    // Frames and numbers as the monitor shows them.
    const std::vector<uint8_t> frame =
        Bytes({0xFF, 0xFF, 0x05, 0x08, 0x4E, 0x20, 0, 0, 0, 0, 0x07});
    EXPECT_EQ(BytesToHexText(frame), "FF:FF:05:08:4E:20:00:00:00:00:07:");
    EXPECT_EQ(LastDecimalDigits(6, 2), "06");
    EXPECT_EQ(LastDecimalDigits(123456, 4), "3456");
    EXPECT_EQ(LastDecimalDigits(0, 4), "0000");
}

class TfrmMonitorTest : public BusBench {
protected:
    void Open(const std::string& bench) {
        sim = &Serve(bench);
        BuildProgram();
        ASSERT_TRUE(bus->comm().Open(1) && bus->comm().Configure());
        monitor.SetLink(&bus->link());
        monitor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&monitor));
    }
    void TearDown() override { bus->vtr().StopPolling(); }
    QString Panel(const char* name) {
        return monitor.findChild<QLabel*>(QLatin1String(name))->text();
    }
    // Clicks and waits for the answer: until it comes, neither key can be pressed again.
    void Send(const QString& entry, const char* button = "btnSend") {
        auto* edit = monitor.findChild<QLineEdit*>(QStringLiteral("edSend"));
        edit->setText(entry);
        auto* send = monitor.findChild<QPushButton*>(QStringLiteral("btnSend"));
        auto* sendBreak = monitor.findChild<QPushButton*>(QStringLiteral("btnSendBreak"));
        QTest::mouseClick(monitor.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
        EXPECT_FALSE(send->isEnabled() || sendBreak->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(send->isEnabled() && sendBreak->isEnabled(), 5000);
    }
    std::vector<std::vector<uint8_t>> Requests() const {
        std::vector<std::vector<uint8_t>> out;
        for (const auto& entry : sim->TranscriptEntries()) {
            if (entry.kind == tarnsim::TranscriptEntry::Kind::Request)
                out.push_back(entry.bytes);
        }
        return out;
    }

    tarnsim::Simulator* sim = nullptr;
    TfrmMonitor monitor;
};

TEST_F(TfrmMonitorTest, TheEntrySendsItsFrameAndShowsTheExchangeAndLettersBeyondFSendNothing) {
    Open(BenchOf(VcrJson(5, "Deck5")));
    sim->ClearTranscript();
    Send("05:08:4E:20:00:00:00:00:");

    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0], Bytes({0xFF, 0xFF, 0x05, 0x08, 0x4E, 0x20, 0, 0, 0, 0, 0x07}));
    EXPECT_EQ(Panel("pnlTD"), "FF:FF:05:08:4E:20:00:00:00:00:07:");
    EXPECT_TRUE(Panel("pnlRD").startsWith("FC:FF:05:"));
    EXPECT_EQ(Panel("pnlJErr"), "00");
    EXPECT_EQ(Panel("pnlCErr"), "0000");

    // The entry comes back in its normal form.
    Send("5 8 4e 20");
    EXPECT_EQ(monitor.findChild<QLineEdit*>(QStringLiteral("edSend"))->text(),
              "05:08:4E:20:00:00:00:00:");

    // Letters beyond F send to id zero, which never reaches the wire.
    sim->ClearTranscript();
    Send("zz:gh:kk:");
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Panel("pnlJErr"), "06");
}

TEST_F(TfrmMonitorTest, SendAndBreakFreezesOnItsOwnExchangeWhilePollingGoesOn) {
    Open(BenchOf(VcrJson(5, "Deck5")));
    bus->vtr().SetId(5);
    bus->vtr().StartPolling();
    // Let the polls' traces reach the display first.
    QTRY_COMPARE_WITH_TIMEOUT(Panel("pnlTD").mid(6, 3), QString("05:"), 5000);

    Send("05:7C:4E:20:00:00:00:00:", "btnSendBreak");
    EXPECT_TRUE(monitor.findChild<QCheckBox*>(QStringLiteral("cbBreak"))->isChecked());
    EXPECT_EQ(Panel("pnlTD").left(24), "FF:FF:05:7C:4E:20:00:00:");
    const QString frozenReply = Panel("pnlRD");
    QTest::qWait(300);
    EXPECT_EQ(Panel("pnlTD").left(24), "FF:FF:05:7C:4E:20:00:00:");
    EXPECT_EQ(Panel("pnlRD"), frozenReply);

    // Unchecking BREAK lets the polls through again.
    monitor.findChild<QCheckBox*>(QStringLiteral("cbBreak"))->setChecked(false);
    QTRY_COMPARE_WITH_TIMEOUT(Panel("pnlTD").mid(9, 3), QString("08:"), 5000);
}

}  // namespace
