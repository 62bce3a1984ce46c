// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Materials, glyphs and buttons shared by the skins, the icons and the splash.
// Everything is painted with QPainter into premultiplied ARGB images and kept
// crisp at 1:1: outlines sit on half pixels, shapes are centred on pixel
// corners where a measuring point must be exact.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QStringList>

class QPainter;

namespace orvanta::art {

enum class Finish {
    Anodised,    // dark satin metal
    Aluminium,   // brushed along x
    Turned,      // concentric lathe rings with two highlights
    Brass,       // brushed, warm
    TurnedBrass, // lathe rings, warm
    Walnut,      // dark wood, grain along x
    Boxwood,     // pale wood, grain along x
};

struct Theme {
    Finish body = Finish::Anodised;
    Finish beam = Finish::Aluminium;
    Finish boss = Finish::Turned;
    QColor outline;
    QColor tick;
    QColor buttonTop, buttonBottom;
    QColor glyph, glyphActive;
    QColor well, fontColor;
    QStringList baseColors; // "rrggbb"
    bool hardEdges = false; // keyed BMP skins: every pixel opaque or transparent
};

[[nodiscard]] QImage blankImage(QSize size);

// An opaque texture of the finish. Along x it repeats every `period` pixels
// (0 = no repeat), so a beam cut from it tiles without a seam. `centre` is the
// axis of the turned finishes.
[[nodiscard]] QImage finishTexture(Finish finish, QSize size, int seed, int period = 0,
                                   QPointF centre = {});

// Fills the path with the finish and a soft top-light / bottom-shade.
void fillFinished(QPainter& p, const QPainterPath& path, Finish finish, int seed, int period = 0,
                  QPointF centre = {});

// A faint dark halo under the picture's visible pixels, so the pieces read on
// light and dark desktops alike. The halo's shape does not depend on direction:
// the pieces turn, a cast shadow would not follow the light.
void addHalo(QImage& image, int radius, int strength, bool wrapX = false);

// Every pixel becomes fully opaque (alpha at least half) or fully transparent,
// with its colour undone from premultiplication so no edge mixes in the key.
void hardenEdges(QImage& image);

enum class Look { Normal, Hover, Down };

// Glyph of control `key` (the eighteen keys in their fixed order) centred in box.
void paintGlyph(QPainter& p, int key, const QRectF& box, const QColor& ink,
                const QStringList& baseColors);

// One look of one control, as cut from the sheet.
[[nodiscard]] QImage buttonLook(QSize size, int key, Look look, const Theme& theme);

// An arrow along a circular arc; a positive sweep turns clockwise on screen.
[[nodiscard]] QPainterPath arcArrow(QPointF centre, qreal radius, qreal startDeg, qreal sweepDeg,
                                    qreal width, qreal head);

} // namespace orvanta::art
