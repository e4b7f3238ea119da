#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "config/CaptionTable.h"
#include "config/EditOptions.h"
#include "config/SettingsFile.h"
#include "config/TextDecoding.h"
#include "ui/TfrmOption.h"

namespace {

class TfrmOptionTest : public ::testing::Test {
protected:
    void Open(int frameMode) {
        options.LoadOptions(settings, frameMode);
        dialog = std::make_unique<TfrmOption>(options, settings, captions);
        dialog->show();
    }
    void TearDown() override {
        if (dialog)
            dialog->reject();
    }
    int Spin(const char* name) {
        return dialog->findChild<QSpinBox*>(QLatin1String(name))->value();
    }
    bool Checked(const char* name) {
        return dialog->findChild<QRadioButton*>(QLatin1String(name))->isChecked();
    }
    void Click(const char* name) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }
    // The four stored options (the window position is stored at every close).
    std::vector<int32_t> StoredOptions() {
        std::vector<int32_t> values;
        for (const SettingKey& key : {settings_keys::kInPoint, settings_keys::kOutPoint,
                                      settings_keys::kSearchHigh, settings_keys::kSyncroEdit}) {
            int32_t value = -1;
            settings.ReadInteger(key, &value);
            values.push_back(value);
        }
        return values;
    }

    QTemporaryDir home;
    SettingsFile settings{home.path()};
    CaptionTable captions;
    EditOptions options;
    std::unique_ptr<TfrmOption> dialog;
};

TEST_F(TfrmOptionTest, DefaultsFollowTheFrameRate) {
    Open(0);
    EXPECT_EQ(Spin("seIn"), 33);
    EXPECT_EQ(Spin("seOut"), 8);
    EXPECT_TRUE(Checked("rbNorm"));
    EXPECT_EQ(Spin("seSyncSec"), 5);
    EXPECT_EQ(Spin("seSyncFrm"), 0);
    EXPECT_EQ(options.preRollFrames(), 125);
    EXPECT_EQ(options.searchDistance(), 300);
    EXPECT_FALSE(dialog->findChild<QCheckBox*>(QStringLiteral("cbQuickCue"))->isChecked());
    dialog->reject();

    for (int mode : {1, 2}) {
        Open(mode);
        EXPECT_EQ(Spin("seIn"), 40);
        EXPECT_EQ(Spin("seOut"), 10);
        EXPECT_EQ(Spin("seSyncSec"), 5);
        EXPECT_EQ(Spin("seSyncFrm"), 0);
        EXPECT_EQ(options.preRollFrames(), 150);
        dialog->reject();
    }
}

TEST_F(TfrmOptionTest, PreRollSplitsIntoSecondsAndFramesAtTheStartUpRate) {
    settings.WriteInteger(settings_keys::kSyncroEdit, 160);
    Open(1);
    EXPECT_EQ(Spin("seSyncSec"), 5);
    EXPECT_EQ(Spin("seSyncFrm"), 10);
    EXPECT_EQ(dialog->findChild<QSpinBox*>(QStringLiteral("seSyncFrm"))->maximum(), 29);
    dialog->reject();

    Open(0);
    EXPECT_EQ(Spin("seSyncSec"), 6);
    EXPECT_EQ(Spin("seSyncFrm"), 10);
    EXPECT_EQ(dialog->findChild<QSpinBox*>(QStringLiteral("seSyncFrm"))->maximum(), 24);
}

TEST_F(TfrmOptionTest, DefaultThenCancelChangesNothing) {
    settings.WriteInteger(settings_keys::kInPoint, 55);
    settings.WriteInteger(settings_keys::kOutPoint, 3);
    settings.WriteInteger(settings_keys::kSearchHigh, 1);
    settings.WriteInteger(settings_keys::kSyncroEdit, 200);
    Open(1);
    const std::vector<int32_t> before = StoredOptions();
    Click("btnDef");
    EXPECT_EQ(Spin("seIn"), 40);
    EXPECT_TRUE(Checked("rbNorm"));
    Click("btnCancel");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(StoredOptions(), before);
    EXPECT_EQ(options.inCorrection(), 55);
    EXPECT_EQ(options.outCorrection(), 3);
    EXPECT_EQ(options.searchDistance(), 900);
    EXPECT_EQ(options.preRollFrames(), 200);

    // The next showing shows the values in use again, not the defaults put in before Cancel.
    dialog->show();
    EXPECT_EQ(Spin("seIn"), 55);
    EXPECT_TRUE(Checked("rbHigh"));
}

TEST_F(TfrmOptionTest, OkStoresTheFieldsAndHighSpeedSearchesFromNineHundredFrames) {
    Open(0);
    EXPECT_EQ(Spin("seRetakes"), 2);
    EXPECT_EQ(Spin("seRetakeTol"), 1);
    dialog->findChild<QRadioButton*>(QStringLiteral("rbHigh"))->click();
    dialog->findChild<QSpinBox*>(QStringLiteral("seSyncSec"))->setValue(2);
    dialog->findChild<QSpinBox*>(QStringLiteral("seSyncFrm"))->setValue(7);
    dialog->findChild<QSpinBox*>(QStringLiteral("seRetakes"))->setValue(0);
    dialog->findChild<QSpinBox*>(QStringLiteral("seRetakeTol"))->setValue(3);
    Click("btnOk");
    EXPECT_EQ(options.retakeAttempts(), 0);
    EXPECT_EQ(options.retakeTolerance(), 3);
    dialog->findChild<QCheckBox*>(QStringLiteral("cbQuickCue"))->click();
    Click("btnOk");
    EXPECT_TRUE(options.quickCue());
    EXPECT_EQ(options.searchDistance(), 900);
    EXPECT_EQ(options.preRollFrames(), 57);
    int32_t stored = 0;
    ASSERT_TRUE(settings.ReadInteger(settings_keys::kSearchHigh, &stored));
    EXPECT_EQ(stored, 1);
    ASSERT_TRUE(settings.ReadInteger(settings_keys::kSyncroEdit, &stored));
    EXPECT_EQ(stored, 57);
    ASSERT_TRUE(settings.ReadInteger(settings_keys::kInPoint, &stored));
    EXPECT_EQ(stored, 33);
    ASSERT_TRUE(settings.ReadInteger(settings_keys::kRetakeAttempts, &stored));
    EXPECT_EQ(stored, 0);
    ASSERT_TRUE(settings.ReadInteger(settings_keys::kQuickCue, &stored));
    EXPECT_EQ(stored, 1);
}

TEST_F(TfrmOptionTest, FieldsStandInOneColumnAndCorrectionsShowTheirSignAndStepTowardsIt) {
    captions.SelectLanguage(kLanguageFrench);
    ASSERT_TRUE(captions.LoadCaptions(QCoreApplication::applicationDirPath() + "/cw20.cpt"));
    Open(1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    const int left =
        dialog->findChild<QSpinBox*>(QStringLiteral("seIn"))->mapTo(dialog.get(), QPoint()).x();
    for (const char* name :
         {"seOut", "seSyncSec", "sePlayerLead", "seRecorderLead", "seRetakes", "seRetakeTol"})
        EXPECT_EQ(
            dialog->findChild<QSpinBox*>(QLatin1String(name))->mapTo(dialog.get(), QPoint()).x(),
            left)
            << name;
    // No mark of its own stands between a caption and its field.
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        EXPECT_FALSE(QStringList({"-", "\u2212", "\u25AC"}).contains(label->text().trimmed()))
            << label->objectName().toStdString();

    auto* in = dialog->findChild<QSpinBox*>(QStringLiteral("seIn"));
    EXPECT_EQ(in->text(), QStringLiteral("\u221240"));
    in->setFocus();
    QTest::keyClick(in, Qt::Key_Up);
    EXPECT_EQ(in->value(), 39);
    QTest::keyClick(in, Qt::Key_Down);
    QTest::keyClick(in, Qt::Key_Down);
    EXPECT_EQ(in->value(), 41);
}

TEST_F(TfrmOptionTest, AStoredCorrectionBeyondTheFieldIsUsedUntilConfirmed) {
    settings.WriteInteger(settings_keys::kInPoint, 250);
    settings.WriteInteger(settings_keys::kRetakeAttempts, 1000);  // never retakes without end
    Open(1);
    EXPECT_EQ(options.retakeAttempts(), EditOptions::kMaxRetakeAttempts);
    EXPECT_EQ(options.inCorrection(), 250);
    EXPECT_EQ(Spin("seIn"), 200);
    Click("btnOk");
    EXPECT_EQ(options.inCorrection(), 200);
}

}  // namespace

namespace {

TEST_F(TfrmOptionTest, TheDialogReopensWhereItWasClosed) {
    Open(1);
    Click("btnCancel");
    int32_t top = -1;
    ASSERT_TRUE(settings.ReadInteger(QStringLiteral("frmOption"), QStringLiteral("Top"), &top));
    settings.WriteInteger(QStringLiteral("frmOption"), QStringLiteral("Top"), top + 20);
    dialog->show();
    EXPECT_EQ(dialog->pos().y(), top + 20);
}

}  // namespace
