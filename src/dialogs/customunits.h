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

class ICursorTable;
class IMessageSink;
class TMeasurements;

struct TCustomUnitsDeps {
    TMeasurements& units;
    // After OK has written and saved the units (rebuilds the units menu).
    std::function<void()> unitsChanged;
    // The calibration help link.
    std::function<void()> openCalibrationHelp;
    // Tells the user when the units file cannot be written; may be null.
    IMessageSink* messages = nullptr;
    ICursorTable* cursors = nullptr; // may be null
};

class TfrmCustomUnits : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCustomUnits(TCustomUnitsDeps deps, QWidget* parent = nullptr);

    // A new dialog, shown modally without waiting, freed when closed.
    static TfrmCustomUnits* Open(TCustomUnitsDeps deps, QWidget* parent = nullptr);

    // The sound of a rejected keystroke (QApplication::beep by default).
    void SetBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    // The name "自定义" + the next free number, after the user units' numbers.
    [[nodiscard]] QString NextCustomName() const;

    enum Column { ColName, ColPixels, ColUnits, ColDecimals, ColumnCount };

    QLabel* lblLinkHelp;
    QPushButton* cmdAddUnit;
    QPushButton* cmdRemoveUnit;
    QTableWidget* gridUnits;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

public Q_SLOTS:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class UnitCellDelegate;

    void FillGrid();
    void SetRow(int row, const QString& name, const QString& pixels, const QString& units,
                const QString& decimals);
    void AddUnit();
    void RemoveUnit();
    void UpdateRemoveButton();
    [[nodiscard]] bool IsLocked(int row) const;
    [[nodiscard]] QString Cell(int row, int column) const;
    // Checks the editor's new text for `column`: the text to keep, or nothing
    // when the keystroke is refused.
    [[nodiscard]] std::optional<QString> Validate(int column, const QString& text) const;
    void Beep() const { m_beep(); }

    TCustomUnitsDeps m_deps;
    std::function<void()> m_beep;
    QChar m_separator;
};

} // namespace orvanta
