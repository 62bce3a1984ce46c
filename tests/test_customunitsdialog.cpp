// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The calibration dialog: typing into the grid, adding and removing units,
// and what OK and Cancel leave in the units list and its file.
#include "dialogs/customunitsdialog.h"
#include "findwidget.h"
#include "model/inidocument.h"
#include "model/unittable.h"
#include "testfiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

// Six shipped units and one of the user's, the shape of the shipped file.
const char* const kUnitsFile = "[选项]\nUnitsCount=7\nUnitsLockedCount=6\nSelectedUnit=4\n"
                               "[单位1]\n名称=像素\nPixelNum=1\nUnitNum=1\nDecimalNum=0\n"
                               "[单位2]\n名称=厘米\nPixelNum=37.8\nUnitNum=1\nDecimalNum=2\n"
                               "[单位3]\n名称=毫米\nPixelNum=3.78\nUnitNum=1\nDecimalNum=1\n"
                               "[单位4]\n名称=英寸\nPixelNum=96\nUnitNum=1\nDecimalNum=2\n"
                               "[单位5]\n名称=点\nPixelNum=4\nUnitNum=3\nDecimalNum=1\n"
                               "[单位6]\n名称=派卡\nPixelNum=16\nUnitNum=1\nDecimalNum=2\n"
                               "[单位7]\n名称=Custom 3\nPixelNum=2.5\nUnitNum=1\nDecimalNum=3\n";

struct CustomUnitsDialogTest : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<UnitTable> units;
    std::unique_ptr<CustomUnitsDialog> dialog;
    int beeps = 0;
    int changes = 0;
    int helps = 0;

    void SetUp() override {
        test::writeAll(dir.filePath(QStringLiteral("distances.ini")), kUnitsFile);
        units = std::make_unique<UnitTable>(dir.path() + u'/', QString(), u'.');
        dialog = std::make_unique<CustomUnitsDialog>(CustomUnitsDeps{
            *units, [this] { ++changes; }, [this] { ++helps; }, nullptr, nullptr, {}});
        dialog->setBeep([this] { ++beeps; });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    [[nodiscard]] QTableWidget& grid() const {
        return *test::child<QTableWidget>(*dialog, "unitGrid");
    }
    [[nodiscard]] QPushButton* button(const char* name) const {
        return test::child<QPushButton>(*dialog, name);
    }
    [[nodiscard]] QString cell(int row, int column) const {
        return grid().item(row, column)->text();
    }
    // The open in-place editor (closed ones linger until deleted later).
    [[nodiscard]] QLineEdit* editor() const {
        return qobject_cast<QLineEdit*>(grid().indexWidget(grid().currentIndex()));
    }
    [[nodiscard]] QString fileText() const {
        return QString::fromUtf8(test::readAll(dir.filePath(QStringLiteral("distances.ini"))));
    }

    // Types into a cell as a user does: the first key opens the editor.
    void type(int row, int column, const QString& keys) {
        grid().setFocus();
        grid().setCurrentCell(row, column);
        QTest::keyClicks(&grid(), keys.left(1));
        ASSERT_NE(editor(), nullptr);
        if (keys.size() > 1)
            QTest::keyClicks(editor(), keys.mid(1));
    }
    void clear(int row, int column) {
        grid().setFocus();
        grid().setCurrentCell(row, column);
        QTest::keyClick(&grid(), Qt::Key_F2);
        ASSERT_NE(editor(), nullptr);
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor(), Qt::Key_Backspace);
    }
    // Return writes the editor's text into the cell.
    void commit() { QTest::keyClick(editor(), Qt::Key_Return); }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
};

} // namespace

TEST_F(CustomUnitsDialogTest, GridShowsEveryUnitWithShippedRatiosLocked) {
    ASSERT_EQ(grid().rowCount(), 7);
    EXPECT_EQ(QStringList({cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3)}),
              QStringList({"Centimetres", "37.8", "1", "2"})); // shipped: named in English
    for (int c = 0; c < 3; ++c)
        EXPECT_FALSE(grid().item(5, c)->flags() & Qt::ItemIsSelectable) << c;
    EXPECT_TRUE(grid().item(5, 3)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid().item(6, 0)->flags() & Qt::ItemIsEditable);
    // A click on a shipped name leaves the current cell where it was.
    grid().setCurrentCell(6, 1);
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {},
                      grid().visualItemRect(grid().item(2, 0)).center());
    EXPECT_EQ(grid().currentRow(), 6);
    QTest::mouseClick(test::child<QLabel>(*dialog, "helpLink"), Qt::LeftButton);
    EXPECT_EQ(helps, 1); // the help link asks for calibration help
}

TEST_F(CustomUnitsDialogTest, KeystrokesAreCheckedAsTheyAreTyped) {
    // Row, column, keys typed, text shown, beeps.
    const std::tuple<int, int, QString, QString, int> cases[] = {
        {6, 1, "a", "2.5", 1},           // refused first key: the old text stays
        {6, 1, "12a.5", "12.5", 1},      // one refused key in the middle
        {6, 2, "1..", "1.", 1},          // a second point is refused
        {3, 3, "7", "4", 0},             // at most four decimals
        {6, 3, "-3", "-3", 0},           // negative decimals are accepted
        {6, 0, "ruler 2", "ruler 2", 0}, // names take anything
    };
    for (const auto& [row, column, keys, shown, beeped] : cases) {
        beeps = 0;
        type(row, column, keys);
        EXPECT_EQ(editor()->text(), shown) << keys.toStdString();
        EXPECT_EQ(beeps, beeped) << keys.toStdString();
        commit();
        EXPECT_EQ(cell(row, column), shown);
    }
}

TEST_F(CustomUnitsDialogTest, AddingNamesTheNextCustomUnitAndEnablesRemoveOnItOnly) {
    grid().setCurrentCell(6, 3); // units from the file are not removed here
    EXPECT_FALSE(button("removeButton")->isEnabled());
    click(button("addButton"));
    ASSERT_EQ(grid().rowCount(), 8);
    EXPECT_EQ(QStringList({cell(7, 0), cell(7, 1), cell(7, 2), cell(7, 3)}),
              QStringList({"Custom 4", "1", "1", "2"}));
    EXPECT_EQ(grid().currentRow(), 7);
    EXPECT_TRUE(button("removeButton")->isEnabled());
    grid().setCurrentCell(6, 0);
    EXPECT_FALSE(button("removeButton")->isEnabled());

    // The next name counts only custom names with a number, past the int range.
    grid().item(7, 0)->setText(QStringLiteral("Custom 2147483647"));
    for (const char* name : {"尺", "Custom x", "Custom -5", "Custom 9b", "Custom "}) {
        grid().item(6, 0)->setText(QString::fromUtf8(name));
        EXPECT_EQ(dialog->nextCustomName(), QStringLiteral("Custom 2147483648")) << name;
    }
}

TEST_F(CustomUnitsDialogTest, RemovingMovesToTheNearestRowAndChangesNothingBeforeOk) {
    click(button("addButton"));
    click(button("addButton"));
    click(button("addButton")); // rows 7, 8, 9
    grid().setCurrentCell(8, 0);
    click(button("removeButton"));
    EXPECT_EQ(grid().rowCount(), 9);
    EXPECT_EQ(grid().currentRow(), 8);
    EXPECT_EQ(cell(8, 0), QStringLiteral("Custom 6"));
    for (int i = 0; i < 3; ++i) // the third click removes nothing: a unit from the file
        click(button("removeButton"));
    EXPECT_EQ(grid().rowCount(), 7);
    EXPECT_EQ(grid().currentRow(), 6);
    EXPECT_EQ(units->unitsCount(), 7);
}

TEST_F(CustomUnitsDialogTest, OkWritesTheGridSelectsTheCurrentRowAndSaves) {
    click(button("addButton"));
    clear(7, 1); // cleared pixels: 1 pixel per unit
    commit();
    type(7, 2, "2.54");
    commit();
    type(1, 3, "3"); // shipped decimals change for this run
    commit();
    grid().setCurrentCell(2, 3);
    click(button("okButton"));

    EXPECT_EQ(changes, 1);
    ASSERT_EQ(units->unitsCount(), 8);
    EXPECT_EQ(units->name(7), QStringLiteral("Custom 4"));
    EXPECT_EQ(units->name(1), QStringLiteral("厘米")); // the shipped name, not the one shown
    EXPECT_EQ(units->pixelNum(7), 1.0L);
    EXPECT_EQ(units->unitNum(7), 2.54L);
    EXPECT_EQ(units->decimalNum(1), 3);
    EXPECT_EQ(units->selectedUnit(), 2);

    const IniDocument saved = IniDocument::fromText(fileText());
    EXPECT_EQ(saved.readString(u"选项", u"SelectedUnit", {}), QStringLiteral("2"));
    EXPECT_EQ(saved.readString(u"单位8", u"UnitNum", {}), QStringLiteral("2.54"));
    EXPECT_EQ(saved.readString(u"单位2", u"DecimalNum", {}), QStringLiteral("2"));
}

// The dialog opens on the unit in use; OK, by its button or by Enter, keeps it.
TEST_F(CustomUnitsDialogTest, OkWithoutChangesKeepsTheUnitInUse) {
    for (const bool enter : {true, false}) {
        dialog->show();
        EXPECT_EQ(grid().currentRow(), 4);
        if (enter) // where the keyboard is when the dialog opens
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : &grid(),
                            Qt::Key_Return);
        else
            click(button("okButton"));
        EXPECT_FALSE(dialog->isVisible()) << enter;
        EXPECT_EQ(units->selectedUnit(), 4) << enter;
        EXPECT_EQ(grid().rowCount(), 7) << "Enter added a unit";
    }
}

TEST_F(CustomUnitsDialogTest, CancelEscapeAndCloseBoxChangeNothing) {
    const QString before = fileText();
    for (int way = 0; way < 3; ++way) {
        dialog->show();
        click(button("addButton"));
        type(6, 1, "9");
        commit();
        if (way == 0)
            click(button("cancelButton"));
        else if (way == 1)
            QTest::keyClick(&grid(), Qt::Key_Escape);
        else
            dialog->close();
        EXPECT_FALSE(dialog->isVisible()) << way;
    }
    EXPECT_EQ(units->unitsCount(), 7);
    EXPECT_EQ(units->pixelNum(6), 2.5L);
    EXPECT_EQ(units->selectedUnit(), 4);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(fileText(), before);
}
