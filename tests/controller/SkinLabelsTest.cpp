// The controller's printed labels come from the caption file, in the captions' language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include "config/CaptionTable.h"
#include "config/ProgramFolder.h"
#include "config/TextDecoding.h"
#include "controller/ControllerSkin.h"

namespace {

QImage PictureIn(int language, const QString& name) {
    QTemporaryDir home;
    const ProgramFolder folder(home.path(), {QApplication::applicationDirPath()});
    CaptionTable captions;
    captions.SelectLanguage(language);
    captions.LoadCaptions(folder.SuppliedFile("cw20.cpt"));
    ControllerSkin skin;
    EXPECT_TRUE(skin.Load(folder, captions));
    return skin.Picture(name).toImage();
}

TEST(SkinLabelsTest, EveryLanguageDrawsItsOwnLabelsOnTheSamePicture) {
    for (const char* name : {"imgDeckp_lit", "btnEntry", "imgPgmCover", "imgFPanel"}) {
        const QImage english = PictureIn(kLanguageEnglish, name);
        ASSERT_FALSE(english.isNull()) << name;
        const QImage french = PictureIn(kLanguageFrench, name);
        const QImage japanese = PictureIn(kLanguageJapanese, name);
        EXPECT_EQ(french.size(), english.size()) << name;
        EXPECT_NE(french, english) << name;
        EXPECT_NE(japanese, english) << name;
        EXPECT_NE(japanese, french) << name;
    }
}

}  // namespace
