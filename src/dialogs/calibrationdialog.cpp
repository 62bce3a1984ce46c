// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/calibrationdialog.h"

#include "dialogs/calibrationcanvas.h"
#include "dialogs/dialogkit.h"
#include "platform/abovecompass.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace orvanta {

namespace {

// A card matched to within this of the uncalibrated density is no
// calibration: OK then forgets any stored one.
constexpr double kSameDensity = 0.05;

QString number(double v) {
    return QLocale().toString(v, 'f', 1);
}

} // namespace

CalibrationDialog::CalibrationDialog(CompassController& controller, MonitorReport report,
                                     QWidget* parent)
    : QDialog(parent), m_controller(controller), m_report(std::move(report)) {
    setWindowTitle(tr("Calibrate this screen"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);

    auto* layout = new QVBoxLayout(this);
    // A monitor that tells neither its model nor its connector goes unnamed.
    const QString monitor = m_report.monitor.identity.displayName();
    auto* intro = new QLabel(
        monitor.isEmpty()
            ? tr("Hold a bank card (or any ID card) to the glass and move the outline's right and "
                 "bottom edges, with the mouse or the arrow keys, until they match the card. A "
                 "ruler held to the scale below works too.")
            : tr("Monitor %1. Hold a bank card (or any ID card) to the glass and move the "
                 "outline's right and bottom edges, with the mouse or the arrow keys, until they "
                 "match the card. A ruler held to the scale below works too.")
                  .arg(monitor),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_canvas = new CalibrationCanvas(cardPixels(m_report.scale.density), this);
    m_canvas->setObjectName(QStringLiteral("cardCanvas"));
    //: Read to a screen reader: the card's outline that the arrow keys resize.
    m_canvas->setAccessibleName(tr("Card outline"));
    layout->addWidget(m_canvas, 0, Qt::AlignHCenter);
    m_horizontal = new QLabel(this);
    m_horizontal->setObjectName(QStringLiteral("horizontalDensity"));
    m_vertical = new QLabel(this);
    m_vertical->setObjectName(QStringLiteral("verticalDensity"));
    layout->addWidget(m_horizontal);
    layout->addWidget(m_vertical);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Reset, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    const std::pair<QDialogButtonBox::StandardButton, const char*> names[] = {
        {QDialogButtonBox::Ok, "okButton"},
        {QDialogButtonBox::Cancel, "cancelButton"},
        {QDialogButtonBox::Reset, "resetButton"}};
    for (const auto& [which, name] : names) {
        QPushButton* button = buttons->button(which);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(button->text().remove(u'&'));
    }
    buttons->button(QDialogButtonBox::Reset)
        ->setToolTip(tr("Back to the size the monitor reports, or 96 px/in"));
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keepTitleWhole(layout);

    connect(buttons, &QDialogButtonBox::accepted, this, &CalibrationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CalibrationDialog::reject);
    connect(buttons->button(QDialogButtonBox::Reset), &QPushButton::clicked, this,
            &CalibrationDialog::reset);
    connect(m_canvas, &CalibrationCanvas::cardChanged, this, &CalibrationDialog::updateFigures);
    updateFigures();
    m_canvas->setFocus();
}

CalibrationDialog* CalibrationDialog::showDialog(CompassController& controller, QWidget* parent) {
    auto report = controller.monitorUnderCompass();
    if (!report)
        return nullptr;
    auto* dialog = new CalibrationDialog(controller, *report, parent);
    dialog->adjustSize();
    dialog->move(report->monitor.geometry.center() - dialog->rect().center());
    showAbove(dialog);
    return dialog;
}

PixelDensity CalibrationDialog::density() const {
    return densityOfCard(m_canvas->card());
}

void CalibrationDialog::updateFigures() {
    const PixelDensity now = density();
    const MonitorScale& before = m_report.uncalibrated;
    const bool reported = before.source == DensitySource::Reported;
    const auto line = [&](const QString& axis, double value, double uncalibrated) {
        return reported ? tr("%1: %2 px/in (reported by the monitor: %3)")
                              .arg(axis, number(value), number(uncalibrated))
                        : tr("%1: %2 px/in (the monitor reports no usable size: %3 assumed)")
                              .arg(axis, number(value), number(uncalibrated));
    };
    m_horizontal->setText(line(tr("Horizontal"), now.x, before.density.x));
    m_horizontal->setAccessibleName(m_horizontal->text());
    m_vertical->setText(line(tr("Vertical"), now.y, before.density.y));
    m_vertical->setAccessibleName(m_vertical->text());
}

void CalibrationDialog::reset() {
    m_canvas->setCard(cardPixels(m_report.uncalibrated.density));
}

void CalibrationDialog::accept() {
    const PixelDensity d = density();
    const PixelDensity before = m_report.uncalibrated.density;
    const bool unchanged =
        std::fabs(d.x - before.x) < kSameDensity && std::fabs(d.y - before.y) < kSameDensity;
    m_controller.calibrateMonitor(m_report.monitor.identity,
                                  unchanged ? std::nullopt : std::optional<PixelDensity>(d));
    QDialog::accept();
}

} // namespace orvanta
