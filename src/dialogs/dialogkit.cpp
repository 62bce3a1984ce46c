// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/dialogkit.h"

#include "platform/cursortable.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSpacerItem>
#include <QWidget>
#include <QtMath>

namespace orvanta {

namespace {

const QColor kLinkBlue(0, 0, 255);
const QColor kBrass(196, 150, 60);
const QColor kSteel(90, 98, 110);

// One leg of the drawn compass: from the hinge down to its tip.
void drawLeg(QPainter& p, QPointF hinge, QPointF tip, qreal width, const QColor& colour) {
    QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(hinge, tip);
}

void drawCompass(QPainter& p, QPointF hinge, qreal legLength, qreal spreadDegrees, qreal scale) {
    const qreal half = qDegreesToRadians(spreadDegrees / 2);
    const QPointF left = hinge + QPointF(-std::sin(half), std::cos(half)) * legLength;
    const QPointF right = hinge + QPointF(std::sin(half), std::cos(half)) * legLength;
    drawLeg(p, hinge, left, 3 * scale, kSteel);
    drawLeg(p, hinge, right, 3 * scale, kBrass);
    p.setPen(Qt::NoPen);
    p.setBrush(kBrass.darker(130));
    p.drawEllipse(hinge, 3.5 * scale, 3.5 * scale);
    p.drawRect(QRectF(hinge.x() - 1.2 * scale, hinge.y() - 8 * scale, 2.4 * scale, 5 * scale));
}

// Beside the title a window manager puts the window's icon and its buttons
// (minimise, maximise, close), each about a line of the title's font wide
// with room around it, and keeps some room at the title's ends (openbox's
// Clearlooks with its sans 8 bold needs seven lines; one more keeps a gap).
constexpr int kTitleBarPieces = 8;

// The width the title bar needs to show `title` whole. The decoration's font
// is the window manager's own: Qt's title-bar font in bold is the nearest it
// knows, and no smaller than the usual ones.
[[nodiscard]] int titleBarWidth(const QString& title) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The title as the window manager gets it: Qt adds the program's name.
    QString shown = title;
    const QString name = QGuiApplication::applicationDisplayName();
    if (!name.isEmpty() && !title.endsWith(name))
        shown += (title.isEmpty() ? QString() : QStringLiteral(" \u2014 ")) + name;
    return metrics.horizontalAdvance(shown) + kTitleBarPieces * metrics.height();
}

// Keeps its layout at least as wide as the dialog's title bar needs, again
// whenever the title or the font changes.
class TitleRoom : public QObject {
public:
    TitleRoom(QWidget* dialog, QBoxLayout* layout)
        : QObject(dialog), m_layout(layout), m_room(new QSpacerItem(0, 0)) {
        m_layout->addSpacerItem(m_room);
        dialog->installEventFilter(this);
        fit(dialog);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::FontChange)
            fit(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }

private:
    void fit(const QWidget* dialog) {
        const QMargins margins = m_layout->contentsMargins();
        const int width = titleBarWidth(dialog->windowTitle()) - margins.left() - margins.right();
        if (width == m_room->sizeHint().width())
            return;
        m_room->changeSize(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
        m_layout->invalidate();
    }

    QBoxLayout* m_layout;
    QSpacerItem* m_room; // owned by the layout
};

} // namespace

void keepTitleWhole(QBoxLayout* layout) {
    if (QWidget* dialog = layout->parentWidget())
        new TitleRoom(dialog, layout);
}

PointerFeedback::PointerFeedback(CursorSource* cursors, QObject* parent)
    : QObject(parent), m_cursors(cursors) {}

void PointerFeedback::watch(QWidget* widget) {
    widget->installEventFilter(this);
}

bool PointerFeedback::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (m_cursors && widget) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseButtonRelease:
            m_cursors->apply(widget, kPointerCursor);
            break;
        case QEvent::MouseButtonPress:
            m_cursors->apply(widget, kPressedPointerCursor);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

QPixmap compassIconPicture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    p.setPen(QPen(QColor(70, 130, 200), 1.5 * s, Qt::DashLine));
    p.drawArc(QRectF(3 * s, 8 * s, 26 * s, 26 * s), 200 * 16, 140 * 16);
    drawCompass(p, QPointF(16 * s, 6 * s), 24 * s, 50, s);
    return pm;
}

QPixmap decorationPicture(QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Squared paper fading out to the left, so that the heading stays clear.
    QLinearGradient fade(0, 0, size.width(), 0);
    fade.setColorAt(0, QColor(255, 255, 255));
    fade.setColorAt(1, QColor(228, 238, 250));
    p.fillRect(pm.rect(), fade);
    p.setPen(QPen(QColor(200, 216, 236), 1));
    constexpr int kGrid = 10;
    for (int x = kGrid; x < size.width(); x += kGrid)
        p.drawLine(x, 0, x, size.height());
    for (int y = kGrid; y < size.height(); y += kGrid)
        p.drawLine(0, y, size.width(), y);

    const qreal s = size.height() / 116.0;
    const QPointF hinge(size.width() * 0.55, 12 * s);
    const qreal leg = 88 * s;
    const qreal spread = 56;
    const QPointF pivot = hinge + QPointF(-std::sin(qDegreesToRadians(spread / 2)),
                                          std::cos(qDegreesToRadians(spread / 2))) *
                                      leg;
    const qreal radius = 2 * leg * std::sin(qDegreesToRadians(spread / 2));
    p.setPen(QPen(QColor(40, 100, 190), 1.6 * s));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(pivot.x() - radius, pivot.y() - radius, 2 * radius, 2 * radius), -40 * 16,
              70 * 16);
    drawCompass(p, hinge, leg, spread, 1.6 * s);
    return pm;
}

void makeLinkLabel(QLabel* label) {
    QFont f = label->font();
    f.setUnderline(true);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, kLinkBlue);
    label->setPalette(pal);
    label->setCursor(Qt::PointingHandCursor);
}

namespace {

QWidget* makeWhitePanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(pal);
    return panel;
}

} // namespace

HeadingPanel makeHeadingPanel(QWidget* parent, int iconSize, QSize pictureSize) {
    QWidget* panel = makeWhitePanel(parent);
    auto* layout = new QGridLayout(panel);
    auto* icon = new QLabel(panel);
    icon->setPixmap(compassIconPicture(iconSize));
    auto* heading = new QLabel(panel);
    QFont f(QStringLiteral("Verdana"));
    f.setBold(true);
    heading->setFont(f);
    heading->setObjectName(QStringLiteral("heading"));
    auto* title = new QHBoxLayout;
    title->addWidget(icon);
    title->addWidget(heading);
    title->addStretch();
    layout->addLayout(title, 0, 0, Qt::AlignTop);
    auto* beside = new QVBoxLayout;
    layout->addLayout(beside, 1, 0);
    auto* picture = new QLabel(panel);
    picture->setPixmap(decorationPicture(pictureSize));
    layout->addWidget(picture, 0, 1, 2, 1, Qt::AlignTop | Qt::AlignRight);
    auto* below = new QVBoxLayout;
    layout->addLayout(below, 2, 0, 1, 2);
    return {panel, heading, beside, below};
}

void setHeading(QLabel* heading, const QString& text) {
    heading->setText(text);
    heading->setAccessibleName(text);
}

QString okText() {
    return QCoreApplication::translate("Dialogs", "OK");
}

QString cancelText() {
    return QCoreApplication::translate("Dialogs", "Cancel");
}

void finishWithButtons(QVBoxLayout* layout, QPushButton* ok, QPushButton* cancel) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keepTitleWhole(layout);
}

} // namespace orvanta
