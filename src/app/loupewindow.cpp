// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/loupewindow.h"

#include "platform/screenpixels.h"
#include "vision/loupe.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace orvanta {

namespace {

// The loupe's nearest corner stays this far from the point in each
// direction: farther than half of what it shows at the smallest zoom, so
// that it never reads itself.
constexpr int kGap = 44;
constexpr int kTextHeight = 20;
// How far about the point the screen is read: past the slide's panel, so
// that what the tip goes onto was seen uncovered a moment before.
constexpr int kSeen = 64;
// How far the loupe may lag behind its place beside the point.
constexpr int kStay = 96;
// How many frames back the screen may still show: the compositor paints
// after we put a frame, and may fall behind by more than one.
constexpr std::size_t kRecentFrames = 3;
constexpr int kWidth = 240; // the readout under the picture may be wider than it

} // namespace

LoupeWindow::LoupeWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint),
      m_screen(std::make_unique<X11ScreenPixels>()) {
    setObjectName(QStringLiteral("loupe"));
    setWindowTitle(QStringLiteral("Orvanta loupe"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kWidth, kDiameter + kTextHeight);
}

LoupeWindow::~LoupeWindow() = default;

void LoupeWindow::setZoom(int zoom) {
    m_zoom = steppedZoom(zoom, 0);
}

void LoupeWindow::lookAt(QPoint point, QPoint shown, const QImage& drawn, const QRect& drawnRect,
                         const QRect& screen) {
    m_point = point;
    m_shown = shown;
    // Up and to the right of the point, turned back at the screen's edges.
    QPoint at(point.x() + kGap, point.y() - kGap - height());
    if (at.x() + width() > screen.right() + 1)
        at.setX(point.x() - kGap - width());
    if (at.y() < screen.top())
        at.setY(point.y() + kGap);
    // A window moved or raised costs the X server and the compositor more
    // than the rest of the frame: the loupe stays while it is near its place
    // and clear of the point.
    const bool near =
        (pos() - at).manhattanLength() < kStay &&
        !geometry().adjusted(-kGap / 2, -kGap / 2, kGap / 2, kGap / 2).contains(point);
    const bool moves = !isVisible() || !near;
    if (moves)
        move(at);
    look(drawn, drawnRect);
    if (!isVisible())
        show();
    if (moves)
        raise();
}

void LoupeWindow::look(const QImage& drawn, const QRect& drawnRect) {
    const int span = loupeSpan(kDiameter, m_zoom);
    const int reach = std::max(kSeen, span / 2);
    const QRect seen(m_point - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1));
    // Off the screen, or the server said no (logged by the reader): nothing
    // new is seen, and what was seen before stays.
    if (const QImage screen = m_screen->read(seen); !screen.isNull()) {
        // What the compass drew here, copied: holding on to its image would
        // make the renderer copy all of it at its next frame.
        QImage own(seen.size(), QImage::Format_ARGB32_Premultiplied);
        own.fill(Qt::transparent);
        {
            QPainter p(&own);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(drawnRect.topLeft() - seen.topLeft(), drawn);
        }
        QImage beneath = beneathCompass(screen, seen.topLeft(), own, seen);
        // The screen may still show one of the frames before: where they
        // drew otherwise than this one, nothing is seen this time.
        for (const auto& [origin, earlier] : m_recent) {
            const QRect both = QRect(origin, earlier.size()) & seen;
            for (int y = both.top(); y <= both.bottom(); ++y) {
                const auto* was =
                    reinterpret_cast<const QRgb*>(earlier.constScanLine(y - origin.y()));
                const auto* now = reinterpret_cast<const QRgb*>(own.constScanLine(y - seen.y()));
                auto* out = reinterpret_cast<QRgb*>(beneath.scanLine(y - seen.y()));
                for (int x = both.left(); x <= both.right(); ++x)
                    if (was[x - origin.x()] != now[x - seen.x()])
                        out[x - seen.x()] = 0;
            }
        }
        m_recent.emplace_front(seen.topLeft(), own);
        if (m_recent.size() > kRecentFrames)
            m_recent.pop_back();
        // Nor does the loupe look at itself.
        const QRect self = geometry().translated(-seen.topLeft()) & beneath.rect();
        if (isVisible() && !self.isEmpty()) {
            QPainter p(&beneath);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.fillRect(self, Qt::transparent);
        }
        m_memory.see(beneath, seen.topLeft());
    }
    const QImage beneath =
        m_memory.recall(QRect(m_point - QPoint(span / 2, span / 2), QSize(span, span)));
    m_colour = beneath.pixel(span / 2, span / 2);
    m_picture = loupePicture(beneath, m_zoom, kDiameter);
    update();
}

void LoupeWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.drawImage((width() - kDiameter) / 2, 0, m_picture);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QString colour =
        qAlpha(m_colour) == 0 ? tr("under the compass") : QColor(m_colour).name(QColor::HexRgb);
    const QString text =
        QStringLiteral("%1  %2, %3  %4×").arg(colour).arg(m_shown.x()).arg(m_shown.y()).arg(m_zoom);
    const QRect band(0, kDiameter, width(), kTextHeight);
    const int textWidth = QFontMetrics(font()).horizontalAdvance(text) + 12;
    const QRect box(band.center().x() - textWidth / 2, band.top() + 1, textWidth, kTextHeight - 2);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 20, 210));
    p.drawRoundedRect(box, 5, 5);
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignCenter, text);
}

void LoupeWindow::wheelEvent(QWheelEvent* event) {
    m_wheel += event->angleDelta().y();
    const int steps = m_wheel / 120;
    m_wheel -= steps * 120;
    if (steps != 0 && zoomAsked)
        zoomAsked(steps);
    event->accept();
}

} // namespace orvanta
