// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The transparency dialog: live preview, OK saves, Cancel restores, reuse.
#include "controllerharness.h"
#include "dialogs/transparencydialog.h"
#include "findwidget.h"
#include "model/values.h"
#include "platform/abovecompass.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

struct TransparencyDialogTest : ::testing::Test {
    void SetUp() override {
        if (!compass.ok())
            GTEST_SKIP() << "needs the built program folder";
        dialog = std::make_unique<TransparencyDialog>(*compass.controller, nullptr);
    }
    test::ControllerHarness compass;
    const Settings& options() const { return compass.controller->settings(); }
    int& renders = compass.view.renders;
    std::unique_ptr<TransparencyDialog> dialog;

    [[nodiscard]] int savedTransparency() const { return compass.saved().transparency; }
    [[nodiscard]] bool saved() const {
        return compass.program.readFile("Compass.ini").contains("Transparency");
    }
    [[nodiscard]] QSlider* slider() const { return test::child<QSlider>(*dialog, "opacitySlider"); }
    [[nodiscard]] QLabel* percent() const { return test::child<QLabel>(*dialog, "percentLabel"); }
    void openAt(int transparency) {
        compass.controller->previewOpacity(kFullOpacity - transparency);
        dialog->showDialog();
    }
    void slideTo(int opacity) {
        slider()->setFocus();
        slider()->setValue(opacity);
    }
};

} // namespace

TEST_F(TransparencyDialogTest, OpeningSetsTheSliderToTheOpacity) {
    // transparency, slider, transparency after opening; 95 and -20 were written
    // by hand: the slider clamps and that applies at once.
    const int cases[][3] = {{30, 70, 30}, {90, 10, 90}, {95, 10, 90}, {-20, 100, 0}};
    for (const auto& [transparency, position, after] : cases) {
        openAt(transparency);
        EXPECT_EQ(slider()->value(), position) << transparency;
        EXPECT_EQ(percent()->text(), QString::number(position));
        EXPECT_EQ(options().transparency, after);
        dialog->reject();
    }
}

TEST_F(TransparencyDialogTest, SliderPreviewsAtOnceCancelRestoresAndOkSaves) {
    openAt(20);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    renders = 0;
    slideTo(40);
    EXPECT_EQ(options().transparency, 60);
    EXPECT_EQ(percent()->text(), QStringLiteral("40"));
    EXPECT_EQ(renders, 1);
    QTest::keyClick(slider(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(options().transparency, 20);
    EXPECT_EQ(renders, 2);
    EXPECT_FALSE(saved()); // nothing saved

    // The close box cancels too, and opening an open dialog keeps the first record.
    openAt(50);
    slideTo(80);
    dialog->showDialog();
    dialog->close();
    EXPECT_EQ(options().transparency, 50);

    // OK saves, and the next Cancel restores the saved value.
    openAt(20);
    slideTo(70);
    QTest::mouseClick(test::child<QPushButton>(*dialog, "okButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(options().transparency, 30);
    EXPECT_EQ(savedTransparency(), 30);

    dialog->showDialog();
    EXPECT_EQ(slider()->value(), 70);
    slideTo(10);
    EXPECT_EQ(options().transparency, 90);
    QTest::mouseClick(test::child<QPushButton>(*dialog, "cancelButton"), Qt::LeftButton);
    EXPECT_EQ(options().transparency, 30);
    EXPECT_EQ(savedTransparency(), 30);
}

// The dialog goes beside the compass it previews, on the compass's monitor,
// never over it.
TEST(BesideRect, LeavesTheCompassInSightOnItsMonitor) {
    const QRect monitor(1920, 0, 1920, 1080);
    const QSize size(300, 150);
    const struct {
        QRect compass;
        QPoint topLeft;
    } cases[] = {
        {QRect(2000, 400, 200, 200), QPoint(2216, 424)},  // right of it
        {QRect(3600, 400, 200, 200), QPoint(3284, 424)},  // no room right: left
        {QRect(1920, 100, 1920, 200), QPoint(2729, 316)}, // as wide as the monitor: below
        {QRect(1920, 800, 1920, 280), QPoint(2729, 634)}, // at the bottom: above
        {QRect(1920, 0, 1800, 1080), QPoint(3540, 0)},    // no room: a corner away from it
        {QRect(), QPoint(1920, 0)},                       // no compass: a corner
    };
    for (const auto& c : cases) {
        const QRect r = besideRect(c.compass, size, monitor);
        EXPECT_EQ(r, QRect(c.topLeft, size)) << c.compass.x() << "," << c.compass.y();
        EXPECT_TRUE(monitor.contains(r));
    }
}
