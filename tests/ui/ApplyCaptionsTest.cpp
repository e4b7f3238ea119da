#include "ui/ApplyCaptions.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "config/CaptionTable.h"

namespace {

const QByteArray kStyles =
    "$$ the first style line is never applied\r\n"
    "Base\tDejaVu Serif\t20\tfalse\r\n"
    "Small\tDejaVu Sans\t9\tfalse\r\n"
    "Bold\tDejaVu Sans\t10\ttrue\r\n"
    "Keep\t$$\t30\tfalse\r\n";

QByteArray Line(const QByteArray& owner, const QByteArray& name, const QByteArray& text,
                const QByteArray& style) {
    return owner + '\t' + name + '\t' + text + '\t' + style + "\tfr\t\t" + text + " (ja)\t" +
           style + "\r\n";
}

template <typename T>
T* Add(QWidget* parent, const char* name) {
    auto* widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

class ApplyCaptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_.setObjectName("frmTest");
        design_ = window_.font();
        ok_ = Add<QPushButton>(&window_, "btnOk");
        ok_->setText("design");
        hinted_ = Add<QPushButton>(&window_, "btnHint");
        hinted_->setText("design");
        base_ = Add<QLabel>(&window_, "lblBase");
        small_ = Add<QLabel>(&window_, "lblSmall");
        check_ = Add<QCheckBox>(&window_, "cbEdit");
        radio_ = Add<QRadioButton>(&window_, "rbHigh");
        group_ = Add<QGroupBox>(&window_, "gbSel");
        tabs_ = Add<QTabWidget>(&window_, "pcPages");
        page_ = new QWidget;
        page_->setObjectName("tsFirst");
        tabs_->addTab(page_, "design");
        edit_ = Add<QLineEdit>(&window_, "edMemo");
        edit_->setText("content");
        spin_ = Add<QSpinBox>(&window_, "seFrames");
        auto* bar = new QMenuBar(&window_);
        file_ = bar->addMenu("design");
        file_->setObjectName("mnuFile");
        open_ = file_->addAction("design");
        open_->setObjectName("mnuOpen");
        stranger_ = Add<QLabel>(&window_, "lblStranger");
        stranger_->setText("design");
    }

    CaptionTable Table(int language) const {
        CaptionTable table;
        table.SelectLanguage(language);
        table.ParseStyles(kStyles);
        table.ParseCaptions(Line("frmTest", "btnOk", "OK", "Bold") +
                            Line("frmTest", "btnHint", "Press me", "HINT") +
                            Line("frmTest", "lblBase", "Base", "Base") +
                            Line("frmTest", "lblSmall", "Small", "Small") +
                            Line("frmTest", "cbEdit", "Use edit", "Keep") +
                            Line("frmTest", "rbHigh", "High", "") +
                            Line("frmTest", "gbSel", "Selected", "Small") +
                            Line("frmTest", "tsFirst", "First", "") +
                            Line("frmTest", "edMemo", "ignored", "Small") +
                            Line("frmTest", "seFrames", "no", "Small") +
                            Line("frmTest", "mnuFile", "&File", "Small") +
                            Line("frmTest", "mnuOpen", "&Open...", "") +
                            Line("frmOther", "lblStranger", "not mine", ""));
        return table;
    }

    QWidget window_;
    QFont design_;
    QPushButton *ok_, *hinted_;
    QLabel *base_, *small_, *stranger_;
    QCheckBox* check_;
    QRadioButton* radio_;
    QGroupBox* group_;
    QTabWidget* tabs_;
    QWidget* page_;
    QLineEdit* edit_;
    QSpinBox* spin_;
    QMenu* file_;
    QAction* open_;
};

TEST_F(ApplyCaptionsTest, EachKindOfControlGetsItsCaptionHintAndStyle) {
    ApplyCaptions(&window_, Table(kLanguageEnglish), 96);
    EXPECT_EQ(ok_->text(), "OK");
    EXPECT_EQ(base_->text(), "Base");
    EXPECT_EQ(check_->text(), "Use edit");
    EXPECT_EQ(radio_->text(), "High");
    EXPECT_EQ(group_->title(), "Selected");
    EXPECT_EQ(tabs_->tabText(0), "First");
    EXPECT_EQ(file_->title(), "&File");
    EXPECT_EQ(open_->text(), "&Open...");
    EXPECT_EQ(edit_->text(), "content");
    EXPECT_EQ(stranger_->text(), "design");
    // A hint entry sets only the button's hint.
    EXPECT_EQ(hinted_->text(), "design");
    EXPECT_EQ(hinted_->toolTip(), "Press me");
    EXPECT_EQ(hinted_->font(), design_);
    // Styles set face and size, except the first, which stands for none.
    EXPECT_EQ(base_->font(), design_);
    EXPECT_EQ(check_->font(), design_);
    EXPECT_EQ(small_->font().families(), QStringList{"DejaVu Sans"});
    EXPECT_EQ(small_->font().pointSize(), 9);
    EXPECT_EQ(edit_->font().pointSize(), 9);
    EXPECT_EQ(group_->font().pointSize(), 9);
    EXPECT_TRUE(ok_->font().bold());
    EXPECT_EQ(ok_->font().pointSize(), 10);
    // Controls of other kinds and menus keep their fonts whatever the entry says.
    EXPECT_EQ(spin_->font(), design_);
    EXPECT_EQ(file_->font(), design_);
}

TEST_F(ApplyCaptionsTest, DenseScreensGetOnePointLess) {
    EXPECT_EQ(SizeAdjustForDpi(108), 0);
    EXPECT_EQ(SizeAdjustForDpi(108.5), 1);
    ApplyCaptions(&window_, Table(kLanguageEnglish), 120);
    EXPECT_EQ(small_->font().pointSize(), 8);
}

TEST_F(ApplyCaptionsTest, JapaneseTakesItsColumnsAndAFaceWithJapaneseGlyphs) {
    ApplyCaptions(&window_, Table(kLanguageJapanese), 96);
    EXPECT_EQ(small_->text(), "Small (ja)");
    const QStringList faces = small_->font().families();
    ASSERT_GE(faces.size(), 2);
    EXPECT_EQ(faces.front(), "DejaVu Sans");
    EXPECT_TRUE(faces.contains("Noto Sans CJK JP"));
}

TEST_F(ApplyCaptionsTest, WithoutCaptionsTheDesignStays) {
    CaptionTable empty;
    ApplyCaptions(&window_, empty);
    EXPECT_EQ(ok_->text(), "design");
    EXPECT_EQ(tabs_->tabText(0), "design");
}

}  // namespace
