// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "paint.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace orvanta::art {

namespace {

// The glyphs are drawn on a 14-unit grid, the size of most buttons.
constexpr qreal kGlyphGrid = 14.0;

struct Ramp {
    QColor dark, light;
};

[[nodiscard]] float hash01(int x, int y, int seed) {
    quint32 h = quint32(x) * 374761393u + quint32(y) * 668265263u + quint32(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xffffff) / float(0x1000000);
}

[[nodiscard]] int wrap(int v, int period) {
    return period > 0 ? ((v % period) + period) % period : v;
}

// Value noise along x on a lattice of `spacing` pixels; wraps with `period`.
[[nodiscard]] float noiseAlongX(float x, int row, int seed, int spacing, int period) {
    const int cells = period > 0 ? std::max(1, period / spacing) : 0;
    const float u = x / float(spacing);
    const int i = int(std::floor(u));
    const float f = u - float(i);
    const float s = f * f * (3 - 2 * f);
    const float a = hash01(wrap(i, cells), row, seed);
    const float b = hash01(wrap(i + 1, cells), row, seed);
    return a + (b - a) * s;
}

[[nodiscard]] QRgb mix(const Ramp& ramp, float v) {
    v = std::clamp(v, 0.0f, 1.0f);
    auto ch = [v](int a, int b) { return int(std::lround(a + (b - a) * v)); };
    return qRgb(ch(ramp.dark.red(), ramp.light.red()), ch(ramp.dark.green(), ramp.light.green()),
                ch(ramp.dark.blue(), ramp.light.blue()));
}

// Darkest and lightest tone of each finish, in the order of Finish.
[[nodiscard]] Ramp rampOf(Finish f) {
    static const std::array<Ramp, 7> ramps{{
        {QColor(34, 39, 46), QColor(60, 67, 77)},       // anodised
        {QColor(142, 149, 158), QColor(222, 226, 231)}, // aluminium
        {QColor(112, 119, 128), QColor(242, 245, 248)}, // turned
        {QColor(128, 90, 32), QColor(232, 196, 116)},   // brass
        {QColor(118, 82, 28), QColor(250, 224, 150)},   // turned brass
        {QColor(52, 30, 17), QColor(118, 76, 44)},      // walnut
        {QColor(184, 146, 92), QColor(236, 210, 158)},  // boxwood
    }};
    return ramps[std::size_t(f)];
}

[[nodiscard]] float brushed(int x, int y, int seed, int period, float contrast) {
    const float row = hash01(0, y, seed);
    const float streak = noiseAlongX(float(x), y, seed + 1, 6, period);
    const float grain = hash01(wrap(x, period), y, seed + 2);
    return 0.5f +
           contrast * (0.45f * (row - 0.5f) + 0.4f * (streak - 0.5f) + 0.15f * (grain - 0.5f));
}

[[nodiscard]] float turned(int x, int y, int seed, QPointF c) {
    const float dx = float(x + 0.5 - c.x());
    const float dy = float(y + 0.5 - c.y());
    const float r = std::sqrt(dx * dx + dy * dy);
    const float ring = noiseAlongX(r * 2.0f, 0, seed, 1, 0);
    // Lathe-turned metal shows two bright sectors facing each other.
    const float a = std::atan2(dy, dx);
    const float light = 0.5f + 0.5f * std::cos(2.0f * (a + float(M_PI) / 4.0f));
    return 0.22f + 0.5f * light + 0.28f * ring;
}

[[nodiscard]] float grain(int x, int y, int seed, int period, float bandWidth) {
    const float k = period > 0 ? 2.0f * float(M_PI) / float(period) : 0.045f;
    const float wave = 2.2f * std::sin(k * float(x) + float(seed)) +
                       1.1f * std::sin(2.0f * k * float(x) + float(seed) * 1.7f);
    const float t = (float(y) + wave) / bandWidth + 0.35f * noiseAlongX(float(y), 7, seed, 3, 0);
    const float band = t - std::floor(t);
    float v = 0.35f + 0.45f * std::pow(std::sin(band * float(M_PI)), 3.0f);
    v += 0.2f * (noiseAlongX(float(x), y, seed + 3, 9, period) - 0.5f);
    if (hash01(wrap(x, period), y, seed + 4) > 0.985f) // pores
        v -= 0.25f;
    return v;
}

void paintGlyphUnits(QPainter& p, int key, const QColor& ink, const QStringList& baseColors) {
    const QPen line(ink, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    auto stroke = [&](const QPainterPath& path) {
        p.setPen(line);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    };
    auto fill = [&](const QPainterPath& path) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(path);
    };
    auto triangle = [](QPointF a, QPointF b, QPointF c) {
        QPainterPath t;
        t.moveTo(a);
        t.lineTo(b);
        t.lineTo(c);
        t.closeSubpath();
        return t;
    };
    // A straight arrow from the centre's far side, pointing along (dx, dy).
    auto arrow = [&](qreal dx, qreal dy) {
        const QPointF c(7, 7);
        const QPointF tip = c + QPointF(dx, dy) * 4.6;
        const QPointF back = c - QPointF(dx, dy) * 4.2;
        const QPointF side(-dy, dx);
        QPainterPath shaft;
        shaft.moveTo(back);
        shaft.lineTo(tip - QPointF(dx, dy) * 2.5);
        stroke(shaft);
        fill(triangle(tip, tip - QPointF(dx, dy) * 3.6 + side * 3.1,
                      tip - QPointF(dx, dy) * 3.6 - side * 3.1));
    };
    // A 45 degree turn: two rays and an arc arrow that lands on one of them.
    auto snap = [&](bool mirrored) {
        p.save();
        if (mirrored) {
            p.translate(14, 0);
            p.scale(-1, 1);
        }
        QPainterPath rays;
        rays.moveTo(12.2, 11.0);
        rays.lineTo(2.4, 11.0);
        rays.lineTo(9.4, 4.0);
        p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(rays);
        fill(arcArrow(QPointF(2.4, 11.0), 6.2, -41, 36, 1.5, 3.6));
        p.restore();
    };

    switch (key) {
    case 0: { // close
        QPainterPath x;
        x.moveTo(4, 4);
        x.lineTo(10, 10);
        x.moveTo(10, 4);
        x.lineTo(4, 10);
        p.setPen(QPen(ink, 1.9, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(x);
        break;
    }
    case 1: { // base colours: a wheel of the skin's own colours
        const qsizetype n = std::max<qsizetype>(1, baseColors.size());
        const QRectF disc(2.6, 2.6, 8.8, 8.8);
        p.setPen(Qt::NoPen);
        for (qsizetype i = 0; i < n; ++i) {
            const QColor c = baseColors.isEmpty() ? ink : QColor(u'#' + baseColors[i]);
            p.setBrush(c);
            p.drawPie(disc, int(90 * 16 - i * 5760 / n), int(-5760 / n));
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.2));
        p.drawEllipse(disc);
        break;
    }
    case 2: // menu
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (qreal y : {3.6, 6.3, 9.0})
            p.drawRoundedRect(QRectF(3.0, y, 8.0, 1.6), 0.8, 0.8);
        break;
    case 3: // turn to the next multiple of the step
        snap(false);
        break;
    case 4: // turn back to the last multiple
        snap(true);
        break;
    case 5: // turn clockwise: the head at the top points right
        fill(arcArrow(QPointF(7, 7.4), 4.1, -10, 280, 1.7, 4.4));
        break;
    case 6: // turn anticlockwise
        fill(arcArrow(QPointF(7, 7.4), 4.1, 190, -280, 1.7, 4.4));
        break;
    case 7: // move inward along the beam
        fill(triangle({3.6, 7}, {10.2, 3.2}, {10.2, 10.8}));
        break;
    case 8: // move outward
        fill(triangle({10.4, 7}, {3.8, 3.2}, {3.8, 10.8}));
        break;
    case 9: // shorter
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(3.0, 6.1, 8.0, 1.8), 0.9, 0.9);
        break;
    case 10: // longer
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(3.0, 6.1, 8.0, 1.8), 0.9, 0.9);
        p.drawRoundedRect(QRectF(6.1, 3.0, 1.8, 8.0), 0.9, 0.9);
        break;
    case 11:
        arrow(-1, 0);
        break;
    case 12:
        arrow(0, -1);
        break;
    case 13:
        arrow(1, 0);
        break;
    case 14:
        arrow(0, 1);
        break;
    case 19: { // the measure type angle: two rays and the arc between them
        QPainterPath rays;
        rays.moveTo(12.0, 3.2);
        rays.lineTo(2.6, 11.0);
        rays.lineTo(12.2, 11.0);
        p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(rays);
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(2.6 - 6.0, 11.0 - 6.0, 12.0, 12.0), 0, 40 * 16);
        break;
    }
    default: { // the measure types: r, C, A, d
        static constexpr std::array<const char*, 4> letters{"r", "C", "A", "d"};
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(12);
        font.setBold(true);
        font.setItalic(true);
        font.setHintingPreference(QFont::PreferFullHinting);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(QRectF(0, -0.5, 14, 14), Qt::AlignCenter,
                   QString::fromLatin1(letters[std::size_t(std::clamp(key - 15, 0, 3))]));
        break;
    }
    }
}

} // namespace

QImage blankImage(QSize size) {
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage finishTexture(Finish finish, QSize size, int seed, int period, QPointF centre) {
    QImage img(size, QImage::Format_RGB32);
    const Ramp ramp = rampOf(finish);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            float v = 0.5f;
            switch (finish) {
            case Finish::Anodised:
                v = 0.45f + 0.12f * (hash01(x, y, seed) - 0.5f) +
                    0.18f * (noiseAlongX(float(x), y / 2, seed, 5, period) - 0.5f);
                break;
            case Finish::Aluminium:
            case Finish::Brass:
                v = brushed(x, y, seed, period, 0.55f);
                break;
            case Finish::Turned:
            case Finish::TurnedBrass:
                v = turned(x, y, seed, centre);
                break;
            case Finish::Walnut:
                v = grain(x, y, seed, period, 5.5f);
                break;
            case Finish::Boxwood:
                v = grain(x, y, seed, period, 7.0f) * 0.8f + 0.15f;
                break;
            }
            row[x] = mix(ramp, v);
        }
    }
    return img;
}

void fillFinished(QPainter& p, const QPainterPath& path, Finish finish, int seed, int period,
                  QPointF centre) {
    // The texture is laid in the painter's own coordinates from x = 0, so the
    // repeat period stays in phase wherever the path lies.
    const QRect bounds = path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    const int left = period > 0 ? bounds.left() - wrap(bounds.left(), period) : bounds.left();
    const QSize size(bounds.right() + 1 - left, bounds.height());
    const QImage tex =
        finishTexture(finish, size, seed, period, centre - QPointF(left, bounds.top()));
    QBrush brush(tex);
    brush.setTransform(QTransform::fromTranslate(left, bounds.top()));
    p.save();
    p.setPen(Qt::NoPen);
    p.fillPath(path, brush);
    const bool lathe = finish == Finish::Turned || finish == Finish::TurnedBrass;
    if (!lathe) {
        const QRectF r = path.boundingRect();
        QLinearGradient shade(r.topLeft(), r.bottomLeft());
        shade.setColorAt(0.0, QColor(255, 255, 255, 56));
        shade.setColorAt(0.45, QColor(255, 255, 255, 0));
        shade.setColorAt(1.0, QColor(0, 0, 0, 70));
        p.fillPath(path, shade);
    }
    p.restore();
}

void addHalo(QImage& image, int radius, int strength, bool wrapX) {
    const int w = image.width();
    const int h = image.height();
    std::vector<float> a(std::size_t(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            a[std::size_t(y * w + x)] = float(qAlpha(image.pixel(x, y))) / 255.0f;
    // Across x the picture wraps (a beam tile) or continues as its edge does (a
    // piece cut off by its rectangle); above and below it there is nothing.
    auto column = [&](int x) { return wrapX ? wrap(x, w) : std::clamp(x, 0, w - 1); };
    // Two passes of a box blur approximate a soft round falloff.
    std::vector<float> tmp(a.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k)
                    s += a[std::size_t(y * w + column(x + k))];
                tmp[std::size_t(y * w + x)] = s / float(2 * radius + 1);
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k)
                    if (y + k >= 0 && y + k < h)
                        s += tmp[std::size_t((y + k) * w + x)];
                a[std::size_t(y * w + x)] = s / float(2 * radius + 1);
            }
    }
    QImage halo(image.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int alpha =
                std::min(255, int(std::lround(a[std::size_t(y * w + x)] * 2.0f * float(strength))));
            halo.setPixel(x, y, qRgba(0, 0, 0, std::min(alpha, strength)));
        }
    QPainter p(&halo);
    p.drawImage(0, 0, image);
    p.end();
    image = halo;
}

void hardenEdges(QImage& image) {
    QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(straight.scanLine(y));
        for (int x = 0; x < straight.width(); ++x)
            row[x] = qAlpha(row[x]) >= 128 ? (row[x] | 0xff000000u) : 0u;
    }
    image = straight.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QPainterPath arcArrow(QPointF centre, qreal radius, qreal startDeg, qreal sweepDeg, qreal width,
                      qreal head) {
    const qreal sign = sweepDeg < 0 ? -1.0 : 1.0;
    // The head takes the last part of the sweep; the band stops under it.
    const qreal headDeg = qRadiansToDegrees(head * 0.8 / radius) * sign;
    const qreal bandEnd = startDeg + sweepDeg - headDeg;
    const int steps = std::max(8, int(std::abs(sweepDeg) / 6));
    auto at = [&](qreal deg, qreal r) {
        const qreal t = qDegreesToRadians(deg);
        return centre + QPointF(std::cos(t), std::sin(t)) * r;
    };
    QPainterPath band;
    for (int i = 0; i <= steps; ++i) {
        const qreal d = startDeg + (bandEnd - startDeg) * i / steps;
        i == 0 ? band.moveTo(at(d, radius + width / 2)) : band.lineTo(at(d, radius + width / 2));
    }
    for (int i = steps; i >= 0; --i)
        band.lineTo(at(startDeg + (bandEnd - startDeg) * i / steps, radius - width / 2));
    band.closeSubpath();

    const qreal endDeg = startDeg + sweepDeg;
    QPainterPath tip;
    tip.moveTo(at(endDeg, radius));
    tip.lineTo(at(bandEnd, radius + head / 2));
    tip.lineTo(at(bandEnd, radius - head / 2));
    tip.closeSubpath();
    QPainterPath arrow = band.united(tip);
    arrow.setFillRule(Qt::WindingFill);
    return arrow;
}

void paintGlyph(QPainter& p, int key, const QRectF& box, const QColor& ink,
                const QStringList& baseColors) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal s = std::min(box.width(), box.height()) / kGlyphGrid;
    p.translate(box.center() - QPointF(7, 7) * s);
    p.scale(s, s);
    paintGlyphUnits(p, key, ink, baseColors);
    p.restore();
}

QImage buttonLook(QSize size, int key, Look look, const Theme& theme) {
    QImage img = blankImage(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const qreal radius = std::min(r.width(), r.height()) * 0.26;
    QColor top = theme.buttonTop;
    QColor bottom = theme.buttonBottom;
    if (look == Look::Hover) {
        top = top.lighter(128);
        bottom = bottom.lighter(128);
    } else if (look == Look::Down) {
        std::swap(top, bottom);
        top = top.darker(118);
        bottom = bottom.darker(108);
    }
    QLinearGradient face(r.topLeft(), r.bottomLeft());
    face.setColorAt(0, top);
    face.setColorAt(1, bottom);
    p.setPen(QPen(theme.outline, 1.0));
    p.setBrush(face);
    p.drawRoundedRect(r, radius, radius);

    const QRectF inner = r.adjusted(1, 1, -1, -1);
    if (look == Look::Down) {
        // Pressed in: the upper rim throws a shadow onto the face.
        QLinearGradient shadow(inner.topLeft(), inner.topLeft() + QPointF(0, 4));
        shadow.setColorAt(0, QColor(0, 0, 0, 110));
        shadow.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(shadow);
        p.drawRoundedRect(inner, radius - 1, radius - 1);
    } else {
        p.setPen(QPen(QColor(255, 255, 255, look == Look::Hover ? 90 : 55), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(inner.left() + radius - 1, inner.top()),
                   QPointF(inner.right() - radius + 1, inner.top()));
    }
    if (look == Look::Hover) {
        QColor ring = theme.glyphActive;
        ring.setAlpha(110);
        p.setPen(QPen(ring, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(inner, radius - 1, radius - 1);
    }
    const QColor ink = look == Look::Normal ? theme.glyph : theme.glyphActive;
    const QRectF glyphBox = QRectF(QPointF(0, 0), QSizeF(size)).translated(0, look == Look::Down);
    paintGlyph(p, key, glyphBox, ink, theme.baseColors);
    return img;
}

} // namespace orvanta::art
