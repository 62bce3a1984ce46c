// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The calibration dialog's drawing: a bank-card outline and a ruler at the
// density being tried. The user holds a real card to the glass and moves the
// card's right and bottom edges, with the mouse or the arrow keys, until the
// outline matches it.

#include <QSizeF>
#include <QWidget>

namespace orvanta {

class CalibrationCanvas : public QWidget {
    Q_OBJECT

public:
    explicit CalibrationCanvas(QSizeF card, QWidget* parent = nullptr);

    // The card's size in device pixels; kept within the densities a monitor
    // can have.
    [[nodiscard]] QSizeF card() const { return m_card; }
    void setCard(QSizeF card);

    [[nodiscard]] QSize sizeHint() const override;

Q_SIGNALS:
    void cardChanged(QSizeF card);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Edge { None, Right, Bottom, Corner };
    [[nodiscard]] Edge edgeAt(QPointF p) const;
    [[nodiscard]] QRectF cardRect() const;

    QSizeF m_card;
    Edge m_dragging = Edge::None;
};

} // namespace orvanta
