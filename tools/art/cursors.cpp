// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "cursors.h"

#include "formats.h"
#include "paint.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <array>
#include <optional>

namespace orvanta::art {

namespace {

constexpr int kSize = 32;
constexpr int kPulseJiffies = 8;  // 1/60 s per frame: a calm four-step pulse
constexpr int kRippleJiffies = 6; // a quick ring that spreads from the fingertip
constexpr std::array<int, 4> kPulseLight{100, 118, 136, 118};
const QPointF kBadgeCentre(25.0, 25.0);
const QColor kBadge(45, 127, 249);
const QColor kInk(16, 18, 22);

enum class Pose { Open, Fist, Point };
enum class Badge { None, Extend, Rotate, Move, Relative, Plus };

struct CursorSpec {
    const char* name;
    Pose pose;
    Badge badge;
    bool ripple; // pressing a control
};

// The program's cursor table, in its order (1 to 14).
constexpr std::array<CursorSpec, 14> kCursors{{
    {"hand", Pose::Open, Badge::None, false},
    {"grab", Pose::Fist, Badge::None, false},
    {"pointer", Pose::Point, Badge::None, false},
    {"down", Pose::Point, Badge::None, true},
    {"handExtend", Pose::Open, Badge::Extend, false},
    {"grabExtend", Pose::Fist, Badge::Extend, false},
    {"handRotate", Pose::Open, Badge::Rotate, false},
    {"grabRotate", Pose::Fist, Badge::Rotate, false},
    {"handMove", Pose::Open, Badge::Move, false},
    {"grabMove", Pose::Fist, Badge::Move, false},
    {"handRelative", Pose::Open, Badge::Relative, false},
    {"grabRelative", Pose::Fist, Badge::Relative, false},
    {"pointerPlus", Pose::Point, Badge::Plus, false},
    {"downPlus", Pose::Point, Badge::Plus, true},
}};

QPainterPath capsule(QPointF a, QPointF b, qreal width) {
    QPainterPath line;
    line.moveTo(a);
    line.lineTo(b);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(line);
}

QPainterPath disc(QPointF c, qreal r) {
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

struct Hand {
    QPainterPath silhouette;
    QPainterPath creases; // lines between fingers, drawn over the fill
    QPoint hotspot;
};

// Short lines midway between neighbouring fingers.
QPainterPath creases(const std::vector<qreal>& xs, qreal top, qreal bottom) {
    QPainterPath out;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        out.moveTo((xs[i] + xs[i + 1]) / 2, top);
        out.lineTo((xs[i] + xs[i + 1]) / 2, bottom);
    }
    return out;
}

// A white glove with a dark rim, the look desktop cursors share, so it reads on
// every background.
Hand hand(Pose pose) {
    Hand h;
    QPainterPath s;
    switch (pose) {
    case Pose::Open: {
        QPainterPath palm;
        palm.addRoundedRect(QRectF(8.5, 13.5, 15, 13.5), 4.5, 4.5);
        s = palm;
        const std::array<std::pair<qreal, qreal>, 4> fingers{
            {{10.6, 5.0}, {14.4, 3.0}, {18.2, 4.0}, {21.6, 7.5}}};
        for (const auto& [x, top] : fingers)
            s = s.united(capsule({x, top}, {x, 17}, x > 21 ? 3.3 : 3.8));
        s = s.united(capsule({10.5, 21.5}, {4.6, 14.8}, 4.0));
        for (std::size_t i = 0; i + 1 < fingers.size(); ++i) {
            const qreal x = (fingers[i].first + fingers[i + 1].first) / 2;
            h.creases.moveTo(x, std::max(fingers[i].second, fingers[i + 1].second) + 2.5);
            h.creases.lineTo(x, 15.5);
        }
        h.hotspot = QPoint(15, 16);
        break;
    }
    case Pose::Fist: {
        QPainterPath palm;
        palm.addRoundedRect(QRectF(8.5, 12.5, 15, 14.5), 5, 5);
        s = palm;
        const std::vector<qreal> knuckles{10.9, 14.6, 18.3, 21.6};
        for (qreal x : knuckles)
            s = s.united(disc({x, 12.8}, 2.2));
        s = s.united(capsule({10.0, 23.0}, {6.4, 16.8}, 4.0));
        h.creases = creases(knuckles, 11.4, 15.0);
        h.hotspot = QPoint(15, 17);
        break;
    }
    case Pose::Point: {
        QPainterPath palm;
        palm.addRoundedRect(QRectF(8.5, 16.5, 15, 13), 5, 5);
        s = palm;
        s = s.united(capsule({11.0, 5.6}, {11.0, 19.0}, 3.9));
        const std::array<qreal, 3> knuckles{15.1, 18.6, 21.6};
        for (qreal x : knuckles)
            s = s.united(disc({x, 17.0}, 2.1));
        s = s.united(capsule({9.8, 26.0}, {5.6, 20.4}, 4.0));
        h.creases = creases({11.0, 15.1, 18.6, 21.6}, 15.8, 19.0);
        h.hotspot = QPoint(11, 4); // the fingertip
        break;
    }
    }
    h.silhouette = s.simplified();
    return h;
}

void paintHand(QPainter& p, const Hand& h) {
    p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(h.silhouette);
    QLinearGradient glove(0, 2, 0, 30);
    glove.setColorAt(0, QColor(255, 255, 255));
    glove.setColorAt(1, QColor(214, 219, 226));
    p.setPen(Qt::NoPen);
    p.setBrush(glove);
    p.drawPath(h.silhouette);
    p.setPen(QPen(QColor(70, 76, 84), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(h.creases);
}

QPainterPath badgeSymbol(Badge badge) {
    const QPointF c = kBadgeCentre;
    QPainterPath s;
    auto head = [&](QPointF tip, QPointF dir) {
        const QPointF side(-dir.y(), dir.x());
        QPainterPath t;
        t.moveTo(tip);
        t.lineTo(tip - dir * 2.9 + side * 2.3);
        t.lineTo(tip - dir * 2.9 - side * 2.3);
        t.closeSubpath();
        return t;
    };
    // Arrows from the centre along the given directions.
    auto spokes = [&](std::initializer_list<QPointF> dirs, qreal reach) {
        QPainterPath out;
        for (QPointF d : dirs) {
            out = out.united(capsule(c, c + d * (reach - 2.0), 1.3));
            out = out.united(head(c + d * reach, d));
        }
        return out;
    };
    switch (badge) {
    case Badge::None:
        break;
    case Badge::Extend:
        s = spokes({{1, 0}, {-1, 0}}, 5.2);
        break;
    case Badge::Rotate:
        s = arcArrow(c, 3.2, -10, 280, 1.4, 3.6);
        break;
    case Badge::Move:
        s = spokes({{1, 0}, {-1, 0}, {0, 1}, {0, -1}}, 5.2);
        break;
    case Badge::Relative: {
        constexpr qreal k = 0.70710678;
        s = spokes({{k, k}, {-k, -k}, {k, -k}, {-k, k}}, 5.4);
        break;
    }
    case Badge::Plus:
        s.addRect(QRectF(c.x() - 4, c.y() - 0.9, 8, 1.8));
        s.addRect(QRectF(c.x() - 0.9, c.y() - 4, 1.8, 8));
        s.setFillRule(Qt::WindingFill);
        break;
    }
    return s;
}

void paintBadge(QPainter& p, Badge badge, int light) {
    if (badge == Badge::None)
        return;
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(kBadge.lighter(light));
    p.drawEllipse(kBadgeCentre, 6.4, 6.4);
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(kBadgeCentre, 7.1, 7.1);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(badgeSymbol(badge));
}

void paintRipple(QPainter& p, QPointF at, qreal radius, int alpha) {
    p.setPen(QPen(QColor(kBadge.red(), kBadge.green(), kBadge.blue(), alpha), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, radius, radius);
}

QImage frame(const CursorSpec& spec, std::optional<int> ripple, int light) {
    QImage img = blankImage(QSize(kSize, kSize));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const Hand h = hand(spec.pose);
    if (ripple) {
        static constexpr std::array<std::pair<qreal, int>, 3> rings{
            {{3.5, 220}, {5.5, 150}, {7.5, 80}}};
        const auto& [radius, alpha] = rings[std::size_t(*ripple)];
        paintRipple(p, QPointF(h.hotspot) + QPointF(0.5, 0.5), radius, alpha);
    }
    paintHand(p, h);
    paintBadge(p, spec.badge, light);
    return img;
}

std::vector<AniFrame> frames(const CursorSpec& spec) {
    const QPoint hotspot = hand(spec.pose).hotspot;
    std::vector<AniFrame> out;
    if (spec.ripple) {
        for (int i = 0; i < 3; ++i)
            out.push_back({{frame(spec, i, 100), hotspot}, kRippleJiffies});
    } else if (spec.badge != Badge::None) {
        for (int light : kPulseLight)
            out.push_back({{frame(spec, std::nullopt, light), hotspot}, kPulseJiffies});
    } else {
        // The plain hands stay still: they are on screen for every drag.
        out.push_back({{frame(spec, std::nullopt, 100), hotspot}, kPulseJiffies});
    }
    return out;
}

} // namespace

void writeCursors(const QString& folder) {
    for (const CursorSpec& spec : kCursors) {
        const QString name = QString::fromLatin1(spec.name);
        writeBytes(folder + u'/' + name + QStringLiteral(".ani"),
                   aniFile(frames(spec), QStringLiteral("Orvanta ") + name));
    }
}

} // namespace orvanta::art
