// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/customunitsdialog.h"

#include "dialogs/dialogkit.h"
#include "model/messages.h"
#include "model/numbers.h"
#include "model/unittable.h"
#include "platform/abovecompass.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>

namespace orvanta {

namespace {

constexpr QSize kPicture(178, 116);
constexpr int kIconSize = 32;
// The narrowest each column gets; a longer heading or a larger font widens it.
constexpr int kColumnWidths[] = {153, 100, 100, 100};
// The grid shows this many rows before it scrolls.
constexpr int kVisibleRows = 9;
// Rows are this high at least, and as high as the font needs.
constexpr int kRowHeight = 18;
constexpr int kRowPadding = 4;
// The readout pattern has room for this many decimals.
constexpr int kMaxDecimals = 4;
const QColor kLockedText(128, 128, 128);

// A value the user cleared or garbled counts as 0; a ratio side of 0 would
// divide by zero, so it becomes 1.
long double ratioSide(const QString& text, QChar separator) {
    const long double v = parseFloat(text, separator).value_or(0);
    return v == 0 ? 1 : v;
}

} // namespace

// The in-place editor checks every change of its text against the column's
// rule and puts the last accepted text back when a keystroke is refused.
class UnitCellDelegate : public QStyledItemDelegate {
public:
    explicit UnitCellDelegate(CustomUnitsDialog& dialog)
        : QStyledItemDelegate(&dialog), m_dialog(dialog) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        auto* editor =
            qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        if (!editor)
            return nullptr;
        const int row = index.row();
        const int column = index.column();
        connect(editor, &QLineEdit::textEdited, editor,
                [this, editor, row, column](const QString& text) {
                    const QString accepted = editor->property(kAccepted).toString();
                    const auto kept = m_dialog.validate(column, text);
                    if (!kept) {
                        m_dialog.beep();
                        editor->setText(accepted);
                        return;
                    }
                    if (*kept != text)
                        editor->setText(*kept);
                    editor->setProperty(kAccepted, *kept);
                    // The cell follows the editor at once, so OK sees what is typed.
                    if (QTableWidgetItem* item = m_dialog.m_grid->item(row, column))
                        item->setText(*kept);
                });
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        QStyledItemDelegate::setEditorData(editor, index);
        editor->setProperty(kAccepted, index.data(Qt::EditRole).toString());
    }

private:
    static constexpr const char* kAccepted = "acceptedText";
    CustomUnitsDialog& m_dialog;
};

CustomUnitsDialog::CustomUnitsDialog(CustomUnitsDeps deps, QWidget* parent)
    : QDialog(parent, kDialogFlags), m_deps(std::move(deps)), m_beep([] { QApplication::beep(); }),
      m_separator(systemDecimalSeparator()) {
    setWindowModality(Qt::ApplicationModal);
    const HeadingPanel frame = makeHeadingPanel(this, kIconSize, kPicture);
    QWidget* panel = frame.panel;
    m_heading = frame.heading;

    m_note = new QLabel(panel);
    m_note->setObjectName(QStringLiteral("note"));
    m_helpLink = new QLabel(panel);
    m_helpLink->setObjectName(QStringLiteral("helpLink"));
    makeLinkLabel(m_helpLink);
    m_helpLink->installEventFilter(this);

    m_addButton = new QPushButton(panel);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_addButton->setFlat(true);
    m_removeButton = new QPushButton(panel);
    m_removeButton->setObjectName(QStringLiteral("removeButton"));
    m_removeButton->setFlat(true);
    auto* tools = new QHBoxLayout;
    tools->addWidget(m_addButton);
    tools->addWidget(m_removeButton);
    if (m_deps.calibrateScreen) {
        m_calibrateScreenButton = new QPushButton(panel);
        m_calibrateScreenButton->setObjectName(QStringLiteral("calibrateScreenButton"));
        m_calibrateScreenButton->setFlat(true);
        tools->addWidget(m_calibrateScreenButton);
        connect(m_calibrateScreenButton, &QPushButton::clicked, this,
                [this] { m_deps.calibrateScreen(); });
    }
    tools->addStretch();
    frame.beside->addWidget(m_note);
    frame.beside->addWidget(m_helpLink, 0, Qt::AlignLeft);
    frame.beside->addStretch();
    frame.beside->addLayout(tools);

    m_grid = new QTableWidget(0, ColumnCount, panel);
    m_grid->setObjectName(QStringLiteral("unitGrid"));
    m_grid->verticalHeader()->hide();
    const int rowHeight = std::max(kRowHeight, m_grid->fontMetrics().height() + kRowPadding);
    m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->setItemDelegate(new UnitCellDelegate(*this));
    m_grid->setTabKeyNavigation(true);
    m_grid->setMinimumHeight(m_grid->horizontalHeader()->sizeHint().height() +
                             kVisibleRows * rowHeight + 2 * m_grid->frameWidth());
    frame.below->addWidget(m_grid);

    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    finishWithButtons(layout, m_okButton, m_cancelButton);

    auto* feedback = new PointerFeedback(m_deps.cursors, this);
    for (QWidget* w : std::initializer_list<QWidget*>{m_addButton, m_removeButton, m_okButton,
                                                      m_cancelButton, m_helpLink})
        feedback->watch(w);

    // Enter is OK wherever the keyboard is, never the first tool button.
    for (QPushButton* b : {m_addButton, m_removeButton, m_calibrateScreenButton, m_cancelButton})
        if (b)
            b->setAutoDefault(false);
    m_okButton->setDefault(true);

    connect(m_addButton, &QPushButton::clicked, this, &CustomUnitsDialog::addUnit);
    connect(m_removeButton, &QPushButton::clicked, this, &CustomUnitsDialog::removeUnit);
    connect(m_okButton, &QPushButton::clicked, this, &CustomUnitsDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &CustomUnitsDialog::reject);
    connect(m_grid, &QTableWidget::currentCellChanged, this,
            &CustomUnitsDialog::updateRemoveButton);

    fillGrid();
    retranslateUi();
}

void CustomUnitsDialog::retranslateUi() {
    setWindowTitle(tr("Configure custom units"));
    setHeading(m_heading, tr("Calibrate units"));
    m_note->setText(tr("The list below holds your units of measurement"));
    m_helpLink->setText(tr("Calibration help"));
    m_addButton->setText(tr("Add unit"));
    m_addButton->setToolTip(tr("Add a new unit to the list"));
    m_removeButton->setText(tr("Delete unit"));
    m_removeButton->setToolTip(tr("Delete the selected unit from the list"));
    if (m_calibrateScreenButton) {
        m_calibrateScreenButton->setText(tr("Calibrate this screen…"));
        m_calibrateScreenButton->setToolTip(
            tr("Match the physical units to a real card on the monitor under the compass"));
    }
    m_grid->setHorizontalHeaderLabels(
        {tr("Unit name"), tr("Pixels"), tr("Length units"), tr("Decimals")});
    //: Read to a screen reader: the grid of units.
    m_grid->setAccessibleName(tr("Units"));
    m_okButton->setText(okText());
    m_cancelButton->setText(cancelText());
    // A screen reader names each control by what it shows.
    for (QLabel* label : {m_note, m_helpLink})
        label->setAccessibleName(label->text());
    for (QPushButton* b :
         {m_addButton, m_removeButton, m_calibrateScreenButton, m_okButton, m_cancelButton})
        if (b)
            b->setAccessibleName(b->text());
    fitColumns();
    // Shipped units are named in the user's language; the user's own as typed.
    for (int r = 0; r < m_grid->rowCount() && isLocked(r); ++r)
        if (QTableWidgetItem* item = m_grid->item(r, ColName))
            item->setText(m_deps.units.displayName(r));
}

void CustomUnitsDialog::fitColumns() {
    QHeaderView* header = m_grid->horizontalHeader();
    int width = 2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < ColumnCount; ++c) {
        m_grid->setColumnWidth(c, std::max(kColumnWidths[c], header->sectionSizeHint(c)));
        width += m_grid->columnWidth(c);
    }
    m_grid->setMinimumWidth(width);
}

void CustomUnitsDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

CustomUnitsDialog* CustomUnitsDialog::showDialog(CustomUnitsDeps deps, QWidget* parent) {
    auto* dialog = new CustomUnitsDialog(std::move(deps), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->adjustSize();
    if (const QScreen* s = QGuiApplication::primaryScreen())
        dialog->move(s->availableGeometry().center() - dialog->rect().center());
    showAbove(dialog);
    return dialog;
}

void CustomUnitsDialog::fillGrid() {
    const UnitTable& units = m_deps.units;
    m_grid->setRowCount(units.unitsCount());
    for (int i = 0; i < units.unitsCount(); ++i)
        setRow(i, units.displayName(i), formatGeneral(units.pixelNum(i), m_separator),
               formatGeneral(units.unitNum(i), m_separator), QString::number(units.decimalNum(i)));
    // The unit in use is current, so that OK without a change keeps it; in a
    // shipped row only its decimals can be.
    if (m_grid->rowCount() > 0) {
        const int row = std::clamp(units.selectedUnit(), 0, m_grid->rowCount() - 1);
        m_grid->setCurrentCell(row, isLocked(row) ? ColDecimals : ColName);
    }
    updateRemoveButton();
}

void CustomUnitsDialog::setRow(int row, const QString& name, const QString& pixels,
                               const QString& units, const QString& decimals) {
    const QString texts[] = {name, pixels, units, decimals};
    for (int c = 0; c < ColumnCount; ++c) {
        auto* item = new QTableWidgetItem(texts[c]);
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (isLocked(row) && c != ColDecimals) {
            // Shipped names and ratios can be neither chosen nor edited.
            item->setFlags(Qt::NoItemFlags);
            item->setForeground(kLockedText);
        }
        m_grid->setItem(row, c, item);
    }
}

bool CustomUnitsDialog::isLocked(int row) const {
    return row < m_deps.units.unitsLockedCount();
}

QString CustomUnitsDialog::cell(int row, int column) const {
    const QTableWidgetItem* item = m_grid->item(row, column);
    return item ? item->text() : QString();
}

std::optional<QString> CustomUnitsDialog::validate(int column, const QString& text) const {
    if (column == ColName || text.isEmpty())
        return text;
    if (column == ColPixels || column == ColUnits) {
        if (!parseFloat(text, m_separator))
            return std::nullopt;
        return text;
    }
    // A lone "-" starts a negative number: negative decimals are allowed and
    // show none.
    if (text == u'-')
        return text;
    const auto decimals = parseInt(text);
    if (!decimals)
        return std::nullopt;
    return *decimals > kMaxDecimals ? QString::number(kMaxDecimals) : text;
}

QString CustomUnitsDialog::nextCustomName() const {
    //: The name of a new unit: %1 is a number, one more than the highest so far.
    const QString pattern = tr("Custom %1");
    const qsizetype marker = pattern.indexOf(QStringLiteral("%1"));
    const QStringView prefix = QStringView(pattern).left(marker);
    const QStringView suffix = QStringView(pattern).mid(marker + 2);
    qint64 next = 1;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        const QString name = cell(r, ColName);
        if (name.size() <= prefix.size() + suffix.size() || !name.startsWith(prefix) ||
            !name.endsWith(suffix))
            continue;
        const QStringView number =
            QStringView(name).sliced(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (const auto n = parseInt(number))
            next = std::max(next, qint64(*n) + 1);
    }
    return pattern.arg(next);
}

void CustomUnitsDialog::addUnit() {
    m_grid->setUpdatesEnabled(false);
    const QString name = nextCustomName();
    const int row = m_grid->rowCount();
    m_grid->setRowCount(row + 1);
    setRow(row, name, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2"));
    m_grid->setCurrentCell(row, ColName);
    m_grid->setUpdatesEnabled(true);
    updateRemoveButton();
}

void CustomUnitsDialog::removeUnit() {
    if (!m_removeButton->isEnabled())
        return;
    const int row = m_grid->currentRow();
    const int column = std::max(m_grid->currentColumn(), 0);
    m_grid->removeRow(row);
    m_grid->setCurrentCell(std::min(row, m_grid->rowCount() - 1), column);
    updateRemoveButton();
}

void CustomUnitsDialog::updateRemoveButton() {
    // The first user unit stays, so there is always one to calibrate.
    m_removeButton->setEnabled(m_grid->currentRow() > m_deps.units.unitsLockedCount());
}

void CustomUnitsDialog::accept() {
    UnitTable& units = m_deps.units;
    const int rows = m_grid->rowCount();
    units.setCount(rows);
    for (int r = 0; r < rows; ++r) {
        // A shipped unit's row shows its name in the user's language; the
        // table keeps the name its file holds.
        if (!isLocked(r))
            units.setName(r, cell(r, ColName));
        units.setPixelNum(r, ratioSide(cell(r, ColPixels), m_separator));
        units.setUnitNum(r, ratioSide(cell(r, ColUnits), m_separator));
        units.setDecimalNum(r, parseInt(cell(r, ColDecimals)).value_or(0));
    }
    units.select(m_grid->currentRow());
    try {
        units.save();
    } catch (const OrvantaError& e) {
        // The units apply for this run even when the file cannot keep them.
        if (m_deps.messages)
            m_deps.messages->showMessage(e.userMessage());
    }
    if (m_deps.unitsChanged)
        m_deps.unitsChanged();
    QDialog::accept();
}

bool CustomUnitsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_helpLink && event->type() == QEvent::MouseButtonPress &&
        m_deps.openCalibrationHelp)
        m_deps.openCalibrationHelp();
    return QDialog::eventFilter(watched, event);
}

} // namespace orvanta
