// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The calibration dialog: every unit in an editable grid (name, pixels, units,
// decimals). The shipped units keep their names and ratios; their decimals and
// everything of the user's units can change, and user units can be added and
// removed. Nothing reaches the units list before OK.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace orvanta {

class CursorSource;
class MessageSink;
class UnitTable;

struct CustomUnitsDeps {
    UnitTable& units;
    // After OK has written and saved the units (rebuilds the units menu).
    std::function<void()> unitsChanged;
    // The calibration help link.
    std::function<void()> openCalibrationHelp;
    // Tells the user when the units file cannot be written; may be null.
    MessageSink* messages = nullptr;
    CursorSource* cursors = nullptr; // may be null
    // Opens the calibration of the monitor under the compass; may be null.
    std::function<void()> calibrateScreen;
};

class CustomUnitsDialog : public QDialog {
    Q_OBJECT

public:
    explicit CustomUnitsDialog(CustomUnitsDeps deps, QWidget* parent = nullptr);

    // A new dialog, shown modally without waiting, freed when closed.
    static CustomUnitsDialog* showDialog(CustomUnitsDeps deps, QWidget* parent = nullptr);

    // The sound of a rejected keystroke (QApplication::beep by default).
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    // "Custom " and the next free number, after the numbers of the units named
    // that way (in the user's language: "自定义" and the number in Chinese).
    [[nodiscard]] QString nextCustomName() const;

    enum Column { ColName, ColPixels, ColUnits, ColDecimals, ColumnCount };

public Q_SLOTS:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class UnitCellDelegate;

    void retranslateUi();
    void fillGrid();
    void fitColumns();
    void setRow(int row, const QString& name, const QString& pixels, const QString& units,
                const QString& decimals);
    void addUnit();
    void removeUnit();
    void updateRemoveButton();
    [[nodiscard]] bool isLocked(int row) const;
    [[nodiscard]] QString cell(int row, int column) const;
    // Checks the editor's new text for `column`: the text to keep, or nothing
    // when the keystroke is refused.
    [[nodiscard]] std::optional<QString> validate(int column, const QString& text) const;
    void beep() const { m_beep(); }

    CustomUnitsDeps m_deps;
    std::function<void()> m_beep;
    QChar m_separator;
    QLabel* m_heading;
    QLabel* m_note;
    QLabel* m_helpLink;
    QPushButton* m_addButton;
    QPushButton* m_removeButton;
    QPushButton* m_calibrateScreenButton = nullptr;
    QTableWidget* m_grid;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};

} // namespace orvanta
