// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/transparencydialog.h"

#include "control/compasscontroller.h"
#include "dialogs/dialogkit.h"
#include "model/values.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <algorithm>

namespace orvanta {

namespace {

constexpr QSize kClientSize(224, 113);
constexpr int kTickInterval = 10;

} // namespace

TransparencyDialog::TransparencyDialog(CompassController& controller, CursorSource* cursors,
                                       QWidget* parent)
    : QDialog(parent, kDialogFlags), m_controller(controller) {
    setFixedSize(kClientSize);
    setWindowModality(Qt::ApplicationModal);

    m_caption = new QLabel(this);
    m_caption->setGeometry(10, 10, 140, 18);
    m_percentLabel = new QLabel(QStringLiteral("50"), this);
    m_percentLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_percentLabel->setGeometry(154, 10, 60, 18);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(kMinOpacity, kMaxOpacity);
    m_slider->setTickInterval(kTickInterval);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setPageStep(kTickInterval);
    m_slider->setValue(50);
    m_slider->setGeometry(8, 32, 208, 32);

    m_okButton = new QPushButton(this);
    m_okButton->setGeometry(34, 78, 75, 25);
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setGeometry(115, 78, 75, 25);

    auto* feedback = new PointerFeedback(cursors, this);
    feedback->watch(m_okButton);
    feedback->watch(m_cancelButton);

    connect(m_slider, &QSlider::valueChanged, this, &TransparencyDialog::sliderMoved);
    connect(m_okButton, &QPushButton::clicked, this, &TransparencyDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &TransparencyDialog::reject);
    retranslateUi();
}

void TransparencyDialog::retranslateUi() {
    setWindowTitle(tr("Change transparency"));
    m_caption->setText(tr("Transparency:"));
    m_okButton->setText(okText());
    m_cancelButton->setText(cancelText());
}

void TransparencyDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TransparencyDialog::showDialog() {
    if (isVisible())
        return;
    m_restore = m_controller.opacity();
    // A value written by hand outside the slider's range is clamped here, and
    // the clamped value takes effect at once.
    const int opacity = std::clamp(m_restore, kMinOpacity, kMaxOpacity);
    if (opacity == m_slider->value())
        sliderMoved(opacity);
    else
        m_slider->setValue(opacity);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
}

void TransparencyDialog::sliderMoved(int opacity) {
    m_percentLabel->setText(QString::number(opacity));
    m_controller.previewOpacity(opacity);
}

void TransparencyDialog::accept() {
    m_controller.saveOpacity(m_slider->value());
    QDialog::accept();
}

void TransparencyDialog::reject() {
    m_controller.previewOpacity(m_restore);
    QDialog::reject();
}

} // namespace orvanta
