// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// "Calibrate this screen": the monitor under the compass gets its own pixels
// per inch from a real bank card held to the glass. OK stores it for that
// monitor; Reset goes back to what the monitor reports (or 96 px/in).

#include "control/compasscontroller.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvanta {

class CalibrationCanvas;

class CalibrationDialog : public QDialog {
    Q_OBJECT

public:
    CalibrationDialog(CompassController& controller, MonitorReport report,
                      QWidget* parent = nullptr);

    // A new dialog on the monitor under the compass, shown modally without
    // waiting and freed when closed; none when there is no monitor.
    static CalibrationDialog* showDialog(CompassController& controller, QWidget* parent = nullptr);

    // The density the card's outline gives now.
    [[nodiscard]] PixelDensity density() const;

public Q_SLOTS:
    void accept() override;

private:
    void updateFigures();
    void reset();

    CompassController& m_controller;
    MonitorReport m_report;
    CalibrationCanvas* m_canvas;
    QLabel* m_horizontal;
    QLabel* m_vertical;
};

} // namespace orvanta
