// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/calibrationcanvas.h"

#include "model/monitorscale.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace orvanta {

namespace {

constexpr double kMargin = 24;
// The card's edges take the mouse this far either side of the line.
constexpr double kGrabDistance = 6;
// Room to make the card larger than it starts, for a monitor that reports
// or assumes too few pixels per inch.
constexpr double kGrowRoom = 1.35;
constexpr double kRulerGap = 28;
constexpr double kRulerHeight = 40;
// ID-1 cards have corners of 3.18 mm radius.
constexpr double kCornerMm = 3.18;
// Arrow keys: one pixel; with Ctrl ten; with Shift a tenth, for the last bit.
constexpr double kStep = 1;
constexpr double kBigStep = 10;
constexpr double kFineStep = 0.1;

} // namespace

CalibrationCanvas::CalibrationCanvas(QSizeF card, QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCard(card);
    const QSize hint = sizeHint();
    setMinimumSize(hint);
}

QSize CalibrationCanvas::sizeHint() const {
    const QSizeF room = m_card * kGrowRoom;
    const QSizeF largest = cardPixels(PixelDensity{kMostPixelsPerInch, kMostPixelsPerInch});
    // Never wider than a card at the densest monitor: the dialog must fit it.
    return QSize(
        int(std::min(room.width(), largest.width()) + 2 * kMargin),
        int(std::min(room.height(), largest.height()) + 2 * kMargin + kRulerGap + kRulerHeight));
}

void CalibrationCanvas::setCard(QSizeF card) {
    const QSizeF fewest = cardPixels(PixelDensity{kFewestPixelsPerInch, kFewestPixelsPerInch});
    const QSizeF most = cardPixels(PixelDensity{kMostPixelsPerInch, kMostPixelsPerInch});
    const QSizeF kept(std::clamp(card.width(), fewest.width(), most.width()),
                      std::clamp(card.height(), fewest.height(), most.height()));
    if (kept == m_card)
        return;
    m_card = kept;
    update();
    Q_EMIT cardChanged(m_card);
}

QRectF CalibrationCanvas::cardRect() const {
    return QRectF(QPointF(kMargin, kMargin), m_card);
}

CalibrationCanvas::Edge CalibrationCanvas::edgeAt(QPointF p) const {
    const QRectF r = cardRect();
    const bool right = std::fabs(p.x() - r.right()) <= kGrabDistance && p.y() >= r.top() &&
                       p.y() <= r.bottom() + kGrabDistance;
    const bool bottom = std::fabs(p.y() - r.bottom()) <= kGrabDistance && p.x() >= r.left() &&
                        p.x() <= r.right() + kGrabDistance;
    if (right && bottom)
        return Edge::Corner;
    if (right)
        return Edge::Right;
    return bottom ? Edge::Bottom : Edge::None;
}

void CalibrationCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());

    const QRectF r = cardRect();
    const PixelDensity density = densityOfCard(m_card);
    const double cornerX = kCornerMm * density.x / kMillimetresPerInch;
    const double cornerY = kCornerMm * density.y / kMillimetresPerInch;
    QPainterPath outline;
    outline.addRoundedRect(r, cornerX, cornerY);
    p.fillPath(outline, QColor(230, 238, 250));
    p.setPen(QPen(palette().text().color(), 1));
    p.drawPath(outline);
    // The edges that move are drawn stronger.
    p.setPen(QPen(palette().highlight().color(), 2));
    p.drawLine(QPointF(r.right(), r.top() + cornerY), QPointF(r.right(), r.bottom() - cornerY));
    p.drawLine(QPointF(r.left() + cornerX, r.bottom()), QPointF(r.right() - cornerX, r.bottom()));

    // A ruler in millimetres at the same horizontal density, to hold a real
    // ruler against; it stays put below the room the card can grow into.
    const double y0 = height() - kMargin - kRulerHeight;
    const double mmPixels = density.x / kMillimetresPerInch;
    const int lastMm = int((width() - 2 * kMargin) / mmPixels);
    p.setPen(QPen(palette().text().color(), 1));
    p.drawLine(QPointF(kMargin, y0), QPointF(kMargin + lastMm * mmPixels, y0));
    for (int mm = 0; mm <= lastMm; ++mm) {
        const double x = kMargin + mm * mmPixels;
        const double tick = mm % 10 == 0 ? 14 : mm % 5 == 0 ? 9 : 5;
        p.drawLine(QPointF(x, y0), QPointF(x, y0 + tick));
        if (mm % 10 == 0)
            p.drawText(QPointF(x + 2, y0 + kRulerHeight - 8), QString::number(mm / 10));
    }
}

void CalibrationCanvas::keyPressEvent(QKeyEvent* event) {
    const double step = event->modifiers() & Qt::ControlModifier ? kBigStep
                        : event->modifiers() & Qt::ShiftModifier ? kFineStep
                                                                 : kStep;
    QSizeF card = m_card;
    switch (event->key()) {
    case Qt::Key_Right:
        card.rwidth() += step;
        break;
    case Qt::Key_Left:
        card.rwidth() -= step;
        break;
    case Qt::Key_Down:
        card.rheight() += step;
        break;
    case Qt::Key_Up:
        card.rheight() -= step;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setCard(card);
}

void CalibrationCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragging = edgeAt(event->position());
}

void CalibrationCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    if (m_dragging == Edge::None) {
        const Edge over = edgeAt(p);
        setCursor(over == Edge::Right    ? Qt::SizeHorCursor
                  : over == Edge::Bottom ? Qt::SizeVerCursor
                  : over == Edge::Corner ? Qt::SizeFDiagCursor
                                         : Qt::ArrowCursor);
        return;
    }
    QSizeF card = m_card;
    if (m_dragging != Edge::Bottom)
        card.setWidth(p.x() - kMargin);
    if (m_dragging != Edge::Right)
        card.setHeight(p.y() - kMargin);
    setCard(card);
}

void CalibrationCanvas::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = Edge::None;
}

} // namespace orvanta
