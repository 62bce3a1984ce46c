// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/transparencydialog.h"

#include "control/compasscontroller.h"
#include "dialogs/dialogkit.h"
#include "model/values.h"
#include "platform/abovecompass.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <algorithm>

namespace orvanta {

namespace {

constexpr int kTickInterval = 10;
// Wide enough for a slider step per tick mark at any font.
constexpr int kSliderWidth = 208;

} // namespace

TransparencyDialog::TransparencyDialog(CompassController& controller, CursorSource* cursors,
                                       QWidget* parent)
    : QDialog(parent, kDialogFlags), m_controller(controller) {
    setWindowModality(Qt::ApplicationModal);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("transparencyLabel"));
    m_percentLabel = new QLabel(QStringLiteral("50"), this);
    m_percentLabel->setObjectName(QStringLiteral("percentLabel"));
    m_percentLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("opacitySlider"));
    m_slider->setRange(kMinOpacity, kMaxOpacity);
    m_slider->setTickInterval(kTickInterval);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setPageStep(kTickInterval);
    m_slider->setValue(50);
    m_slider->setMinimumWidth(kSliderWidth);
    m_label->setBuddy(m_slider);

    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));

    auto* layout = new QVBoxLayout(this);
    auto* values = new QHBoxLayout;
    values->addWidget(m_label);
    values->addStretch();
    values->addWidget(m_percentLabel);
    layout->addLayout(values);
    layout->addWidget(m_slider);
    m_meaning = new QLabel(this);
    m_meaning->setObjectName(QStringLiteral("meaningLabel"));
    m_meaning->setWordWrap(true);
    layout->addWidget(m_meaning);
    finishWithButtons(layout, m_okButton, m_cancelButton);

    auto* feedback = new PointerFeedback(cursors, this);
    feedback->watch(m_okButton);
    feedback->watch(m_cancelButton);

    connect(m_slider, &QSlider::valueChanged, this, &TransparencyDialog::sliderMoved);
    connect(m_okButton, &QPushButton::clicked, this, &TransparencyDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &TransparencyDialog::reject);
    retranslateUi();
}

void TransparencyDialog::retranslateUi() {
    setWindowTitle(tr("Transparency"));
    m_label->setText(tr("Transparency:"));
    m_meaning->setText(tr("100 is fully opaque; the lower the number, the more of the desktop "
                          "shows through the compass."));
    m_label->setAccessibleName(tr("Transparency:"));
    m_slider->setAccessibleName(tr("Transparency:"));
    //: Read to a screen reader: the number beside the slider.
    m_percentLabel->setAccessibleName(tr("Percent"));
    m_okButton->setText(okText());
    m_okButton->setAccessibleName(okText());
    m_cancelButton->setText(cancelText());
    m_cancelButton->setAccessibleName(cancelText());
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
    adjustSize();
    // Beside the compass it previews, on the compass's monitor.
    const QWidget* compass = parentWidget();
    const QRect around = compass ? compass->frameGeometry() : QRect();
    const QScreen* screen = compass ? compass->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(besideRect(around, frameGeometry().size(), screen->availableGeometry()).topLeft());
    showAbove(this);
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
