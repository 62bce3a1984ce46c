// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The transparency dialog: a slider of the compass's opacity (10..100 %) that
// the compass follows while it moves. OK keeps the value and saves the
// options; Cancel, Escape and the close box put back the value the dialog
// found when it opened. Made once and shown again on each use.

#include <QDialog>

class QLabel;
class QPushButton;
class QSlider;

namespace orvanta {

class CompassController;
class CursorSource;

class TransparencyDialog : public QDialog {
    Q_OBJECT

public:
    // The compass follows the slider through `controller`; `cursors` may be
    // null.
    TransparencyDialog(CompassController& controller, CursorSource* cursors,
                       QWidget* parent = nullptr);

    // Records the transparency to restore, sets the slider from it and shows
    // the dialog modally without waiting; does nothing while it is shown.
    void showDialog();

public Q_SLOTS:
    void accept() override;
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void sliderMoved(int opacity);

    CompassController& m_controller;
    int m_restore = 0; // the opacity the dialog found
    QLabel* m_label;
    QLabel* m_percentLabel;
    QLabel* m_meaning;
    QSlider* m_slider;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};

} // namespace orvanta
