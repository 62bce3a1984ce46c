#include "dialogs/transparency.h"

#include "dialogs/dialogkit.h"
#include "model/options.h"

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
constexpr int kFullOpacity = 100; // Transparency is 100 minus the opacity

} // namespace

TfrmTransparency::TfrmTransparency(TDervikOptions& options, std::function<void()> render,
                                   ICursorTable* cursors, QWidget* parent)
    : QDialog(parent, kDialogFlags), m_options(options), m_render(std::move(render)) {
    setWindowTitle(QStringLiteral("更改透明度"));
    setFixedSize(kClientSize);
    setWindowModality(Qt::ApplicationModal);

    auto* caption = new QLabel(QStringLiteral("透明度:"), this);
    caption->setGeometry(10, 10, 90, 18);
    lblTrans = new QLabel(QStringLiteral("50"), this);
    lblTrans->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTrans->setGeometry(154, 10, 60, 18);

    trkTransparency = new QSlider(Qt::Horizontal, this);
    trkTransparency->setRange(kMinOpacity, kMaxOpacity);
    trkTransparency->setTickInterval(kTickInterval);
    trkTransparency->setTickPosition(QSlider::TicksBelow);
    trkTransparency->setPageStep(kTickInterval);
    trkTransparency->setValue(50);
    trkTransparency->setGeometry(8, 32, 208, 32);

    cmdOk = new QPushButton(QStringLiteral("确定"), this);
    cmdOk->setGeometry(34, 78, 75, 25);
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setGeometry(115, 78, 75, 25);

    auto* feedback = new PointerFeedback(cursors, this);
    feedback->watch(cmdOk);
    feedback->watch(cmdCancel);

    connect(trkTransparency, &QSlider::valueChanged, this, &TfrmTransparency::SliderMoved);
    connect(cmdOk, &QPushButton::clicked, this, &TfrmTransparency::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &TfrmTransparency::reject);
}

void TfrmTransparency::Open() {
    if (isVisible())
        return;
    m_restore = m_options.Transparency;
    // A value written by hand outside the slider's range is clamped here, and
    // the clamped value takes effect at once.
    const int opacity = std::clamp(kFullOpacity - m_restore, kMinOpacity, kMaxOpacity);
    if (opacity == trkTransparency->value())
        SliderMoved(opacity);
    else
        trkTransparency->setValue(opacity);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
}

void TfrmTransparency::SliderMoved(int opacity) {
    lblTrans->setText(QString::number(opacity));
    m_options.Transparency = kFullOpacity - opacity;
    m_render();
}

void TfrmTransparency::accept() {
    m_options.Transparency = kFullOpacity - trkTransparency->value();
    m_options.Save(); // a failed save keeps the value for this run
    m_render();
    QDialog::accept();
}

void TfrmTransparency::reject() {
    m_options.Transparency = m_restore;
    m_render();
    QDialog::reject();
}

} // namespace orvanta
