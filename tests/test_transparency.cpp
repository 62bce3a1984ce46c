// The transparency dialog: live preview, OK saves, Cancel restores, reuse.
#include "dialogs/transparency.h"
#include "model/options.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

struct TransparencyFixture : ::testing::Test {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("Compass.ini"));
    TDervikOptions options{file};
    int renders = 0;
    TfrmTransparency dialog{options, [this] { ++renders; }, nullptr};

    [[nodiscard]] int savedTransparency() const { return TDervikOptions(file).Transparency; }
    void slideTo(int opacity) {
        dialog.trkTransparency->setFocus();
        dialog.trkTransparency->setValue(opacity);
    }
};

} // namespace

TEST_F(TransparencyFixture, OpeningSetsTheSliderToTheOpacity) {
    struct Case {
        int transparency;
        int slider;
        int transparencyAfterOpening;
    };
    // 95 was written by hand: the slider clamps to 10 and that applies at once.
    const Case cases[] = {{30, 70, 30}, {0, 100, 0}, {90, 10, 90}, {95, 10, 90}, {-20, 100, 0}};
    for (const Case& c : cases) {
        options.Transparency = c.transparency;
        dialog.Open();
        EXPECT_EQ(dialog.trkTransparency->value(), c.slider) << c.transparency;
        EXPECT_EQ(dialog.lblTrans->text(), QString::number(c.slider));
        EXPECT_EQ(options.Transparency, c.transparencyAfterOpening);
        dialog.reject();
    }
}

TEST_F(TransparencyFixture, SliderPreviewsAtOnceAndCancelRestores) {
    options.Transparency = 20;
    dialog.Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    renders = 0;
    slideTo(40);
    EXPECT_EQ(options.Transparency, 60);
    EXPECT_EQ(dialog.lblTrans->text(), QStringLiteral("40"));
    EXPECT_EQ(renders, 1);
    QTest::keyClick(dialog.trkTransparency, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(options.Transparency, 20);
    EXPECT_EQ(renders, 2);
    EXPECT_FALSE(QFile::exists(file)); // nothing saved
}

TEST_F(TransparencyFixture, OkSavesAndTheNextCancelRestoresThatValue) {
    options.Transparency = 20;
    dialog.Open();
    slideTo(70);
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(options.Transparency, 30);
    EXPECT_EQ(savedTransparency(), 30);

    dialog.Open();
    EXPECT_EQ(dialog.trkTransparency->value(), 70);
    slideTo(10);
    EXPECT_EQ(options.Transparency, 90);
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    EXPECT_EQ(options.Transparency, 30);
    EXPECT_EQ(savedTransparency(), 30);
}

TEST_F(TransparencyFixture, CloseBoxCancelsAndOpeningTwiceKeepsTheFirstRecord) {
    options.Transparency = 50;
    dialog.Open();
    slideTo(80);
    dialog.Open(); // already shown: must not record the previewed value
    dialog.close();
    EXPECT_EQ(options.Transparency, 50);
}
