// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/loupewindow.h"

#include "app/logging.h"
#include "platform/screenpixels.h"
#include "platform/x11shape.h"
#include "vision/loupe.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <iterator>
#include <optional>
#include <tuple>
#include <vector>

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
// How long after a look with no other after it the read it asked for is shown.
constexpr int kSettleMs = 50;
// How often a moving loupe is raised at most.
constexpr qint64 kRaiseEveryMs = 500;
constexpr QRgb kBoxColour = 0xff141414; // opaque, dark behind the white text

QString readout(const QString& colour, QPoint at, int zoom) {
    return QStringLiteral("%1  %2, %3  %4×").arg(colour).arg(at.x()).arg(at.y()).arg(zoom);
}

} // namespace

LoupeWindow::LoupeWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint),
      m_screen(std::make_unique<X11ScreenPixels>()), m_lens(kDiameter),
      m_image(kWidth, kDiameter + kTextHeight, QImage::Format_ARGB32_Premultiplied) {
    setObjectName(QStringLiteral("loupe"));
    setWindowTitle(QStringLiteral("Orvanta loupe"));
    // Opaque, and shaped to what it shows: a translucent window would have
    // the compositor blend all that lies below it at every frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kWidth, kDiameter + kTextHeight);
    m_image.fill(Qt::transparent);
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &LoupeWindow::settle);
}

LoupeWindow::~LoupeWindow() = default;

void LoupeWindow::setZoom(int zoom) {
    m_zoom = steppedZoom(zoom, 0);
}

void LoupeWindow::forget() {
    m_memory.forget();
    m_read = QRect();
    // A read asked for before is of the desktop as it was.
    std::ignore = m_screen->collect();
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
    const bool shows = !isVisible();
    const bool moves = shows || !near;
    if (moves)
        move(at);
    look(drawn, drawnRect);
    present();
    if (shows)
        QWidget::show();
    // A raise costs the X server more than the rest of the frame on a large
    // desktop (about 10 ms on three 4K screens with the compass spread to
    // 1000): a moving loupe is put back on top only now and then, in case a
    // window came over it.
    if (shows || (moves && m_raised.hasExpired(kRaiseEveryMs))) {
        raise();
        m_raised.start();
    }
}

// What is read about `point`: past the slide's panel, and all the loupe shows.
QRect LoupeWindow::seenAbout(QPoint point) const {
    const int reach = std::max(kSeen, loupeSpan(kDiameter, m_zoom) / 2);
    return {point - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1)};
}

// What the loupe shows about `point`.
QRect LoupeWindow::viewAbout(QPoint point) const {
    const int span = loupeSpan(kDiameter, m_zoom);
    return {point - QPoint(span / 2, span / 2), QSize(span, span)};
}

void LoupeWindow::lookAhead(QPoint point, const QImage& drawn, const QRect& drawnRect) {
    if (m_read.contains(viewAbout(point)))
        return;
    // The read under way is of the last frame, and the only one the shared
    // segment holds.
    takeRead();
    const QRect seen = seenAbout(point);
    QImage screen = m_screen->read(seen);
    if (screen.isNull())
        return;
    // The screen may still show any of the last frames rather than `drawn`.
    QImage beneath = beneathCompass(std::move(screen), seen.topLeft(), drawn, drawnRect,
                                    std::vector<DrawnFrame>(m_recent.begin(), m_recent.end()));
    leaveOutSelves(beneath, seen.topLeft());
    m_memory.see(beneath, seen.topLeft());
    m_read = seen;
}

void LoupeWindow::look(const QImage& drawn, const QRect& drawnRect) {
    // The last frame's read has long come in by now.
    takeRead();
    const QRect seen = seenAbout(m_point);
    // What the compass drew here, copied: holding on to its image would make
    // the renderer copy all of it at its next frame.
    QImage own(seen.size(), QImage::Format_ARGB32_Premultiplied);
    own.fill(Qt::transparent);
    const QRect both = drawnRect & seen;
    if (!both.isEmpty() && drawn.format() == QImage::Format_ARGB32_Premultiplied)
        copyRows(drawn, QRegion(both.translated(-drawnRect.topLeft())), own.bits(),
                 own.bytesPerLine(), drawnRect.topLeft() - seen.topLeft());
    else if (!both.isEmpty()) {
        QPainter p(&own);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(drawnRect.topLeft() - seen.topLeft(), drawn);
    }
    m_recent.push_front({seen.topLeft(), std::move(own)});
    if (m_recent.size() > kRecentFrames + 1)
        m_recent.pop_back();
    m_selves.push_front(isVisible() ? geometry() : QRect());
    if (m_selves.size() > kRecentFrames + 1)
        m_selves.pop_back();
    m_screen->request(seen);
    // At a drag's start the reads so far do not cover what the loupe shows:
    // this one is waited for.
    if (!m_read.contains(viewAbout(m_point)))
        takeRead();
    m_settle.start();
}

// The compass rests: the screen shows its last frame by now, and the frames
// before no longer hide what they drew otherwise. One read more, waited for,
// with only that frame and where the loupe stands left out.
void LoupeWindow::settle() {
    takeRead();
    if (m_recent.empty() || m_selves.empty())
        return;
    m_recent.resize(1);
    m_selves.resize(1);
    m_screen->request(QRect(m_recent.front().origin, m_recent.front().image.size()));
    takeRead();
    present();
}

// The loupe does not look at itself, where it is or lately was.
void LoupeWindow::leaveOutSelves(QImage& beneath, QPoint origin) const {
    std::vector<QRect> selves(m_selves.begin(), m_selves.end());
    if (isVisible())
        selves.push_back(geometry());
    for (const QRect& self : selves) {
        const QRect there = self.translated(-origin) & beneath.rect();
        for (int y = there.top(); y <= there.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(beneath.scanLine(y)) + there.left(), there.width(),
                        QRgb(0));
    }
}

// Takes the read asked for at the last look into the memory, less what the
// compass drew there and the loupe itself.
void LoupeWindow::takeRead() {
    if (!m_screen->requested() || m_recent.empty())
        return;
    QImage screen = m_screen->collect();
    // Off the screen, or the server said no (logged by the reader): nothing
    // new is seen, and what was seen before stays.
    if (screen.isNull())
        return;
    const auto& [origin, own] = m_recent.front();
    const QRect seen(origin, own.size());
    QImage beneath = beneathCompass(std::move(screen), origin, own, seen,
                                    std::vector(std::next(m_recent.begin()), m_recent.end()));
    leaveOutSelves(beneath, origin);
    m_memory.see(beneath, origin);
    m_read = seen;
}

// Paints what the memory holds about the point and puts what changed.
void LoupeWindow::present() {
    const int span = loupeSpan(kDiameter, m_zoom);
    QImage beneath =
        m_memory.recall(QRect(m_point - QPoint(span / 2, span / 2), QSize(span, span)));
    m_colour = beneath.pixel(span / 2, span / 2);
    QRegion changed;
    if (beneath != m_beneath || m_lensZoom != m_zoom) {
        m_beneath = std::move(beneath);
        m_lensZoom = m_zoom;
        const QRect disc((kWidth - kDiameter) / 2, 0, kDiameter, kDiameter);
        copyRows(m_lens.paint(m_beneath, m_zoom), QRegion(0, 0, kDiameter, kDiameter),
                 m_image.bits(), m_image.bytesPerLine(), disc.topLeft());
        changed += disc;
    }
    const QString colour =
        qAlpha(m_colour) == 0 ? tr("under the compass") : QColor(m_colour).name(QColor::HexRgb);
    const QString text = readout(colour, m_shown, m_zoom);
    if (text != m_text) {
        m_text = text;
        // Laid out from pieces drawn once: shaping the text anew costs as
        // much as the rest of the picture. The sentence stays whole; the
        // digits, the signs and the letters of a colour have no kerning.
        std::vector<const QImage*> pieces;
        if (qAlpha(m_colour) == 0)
            pieces.push_back(&piece(colour));
        for (const QChar c : text.mid(qAlpha(m_colour) == 0 ? colour.size() : 0))
            pieces.push_back(&piece(QString(c)));
        int width = 12; // a margin on each side
        for (const QImage* image : pieces)
            width += image->width();
        width = std::min(width, kWidth);
        m_box = QRect((kWidth - width) / 2, kDiameter + 1, width, kTextHeight - 2);
        QPainter p(&m_image);
        p.setClipRect(m_box);
        p.fillRect(m_box, QColor::fromRgb(kBoxColour));
        int x = m_box.left() + 6;
        for (const QImage* image : pieces) {
            p.drawImage(x, m_box.top(), *image);
            x += image->width();
        }
        changed += m_box;
    }
    if (changed.isEmpty())
        return;
    // A new shape and the pixels in it reach the compositor together.
    std::optional<ServerGrab> grab;
    if (winId() != m_shaped || m_box != m_shapedBox) {
        grab.emplace();
        shape();
    }
    if (isVisible() && m_pixels.put(winId(), m_image, changed))
        m_storeStale = true;
    else
        update(changed);
}

// `text` drawn white on the readout's box, as wide as it advances.
const QImage& LoupeWindow::piece(const QString& text) {
    auto it = m_pieces.constFind(text);
    if (it == m_pieces.constEnd()) {
        QImage image(QFontMetrics(font()).horizontalAdvance(text), kTextHeight - 2,
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(kBoxColour);
        QPainter p(&image);
        p.setFont(font());
        p.setPen(Qt::white);
        p.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
        p.end();
        it = m_pieces.insert(text, image);
    }
    return *it;
}

// The window shows only its disc and its readout, and takes the wheel there.
void LoupeWindow::shape() {
    if (winId() != m_shaped) {
        m_shaped = winId();
        windowHandle()->installEventFilter(this);
    }
    if (m_disc.isEmpty()) {
        m_disc = alphaRuns(m_lens.paint(m_beneath, m_zoom), QRect(0, 0, kDiameter, kDiameter), 1);
        for (QRect& r : m_disc)
            r.translate((kWidth - kDiameter) / 2, 0);
    }
    // The readout's box with its corners rounded off.
    QVector<QRect> rects = m_disc;
    const QRect& b = m_box;
    rects << QRect(b.left() + 2, b.top(), b.width() - 4, 1)
          << QRect(b.left() + 1, b.top() + 1, b.width() - 2, 1) << b.adjusted(0, 2, 0, -2)
          << QRect(b.left() + 1, b.bottom() - 1, b.width() - 2, 1)
          << QRect(b.left() + 2, b.bottom(), b.width() - 4, 1);
    m_shapedBox = m_box;
    if (!setBoundingShape(m_shaped, rects))
        qCInfo(lcApp, "The loupe cannot be shaped here: it shows as a square");
}

// A window shown again, or uncovered, is painted from Qt's backing store,
// which the frames put past it did not reach: all of it is painted again.
bool LoupeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && m_storeStale) {
        m_storeStale = false;
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void LoupeWindow::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : event->region())
        p.drawImage(r.topLeft(), m_image, r);
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
