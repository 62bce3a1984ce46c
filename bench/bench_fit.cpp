// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The fit to the figure beneath on a desktop of three 4K screens, at the
// spreads a user measures with, on a busy picture: a circle, a hexagon or a
// polygon of the most sides drawn over a grid of checks and lines, the
// compass a few pixels off and a little long.
//
//   orvanta_bench --benchmark_filter=fit

#include "vision/figurefit.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>

using namespace orvanta;

namespace {

const QSize kDesktop(3 * 3840, 2160);

QImage desktopWithCircle(QPointF centre, double radius, int sides) {
    QImage image(kDesktop, QImage::Format_RGB32);
    image.fill(QColor(236, 238, 240));
    QPainter p(&image);
    for (int y = 0; y < image.height(); y += 32)
        for (int x = (y / 32) % 2 * 32; x < image.width(); x += 64)
            p.fillRect(x, y, 32, 32, QColor(222, 226, 230));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 90), 1.5));
    for (int x = 0; x < image.width(); x += 400)
        p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 200.5, image.height()));
    const int pieces = sides ? sides : int(4.0 * std::numbers::pi * radius);
    QPolygonF outline;
    for (int i = 0; i < pieces; ++i) {
        const double t = 2.0 * std::numbers::pi * i / pieces;
        outline << centre + radius * QPointF(std::cos(t), std::sin(t));
    }
    p.setPen(QPen(QColor(20, 20, 20), 2.0));
    p.drawPolygon(outline);
    return image;
}

void fit(benchmark::State& state) {
    const double spread = double(state.range(0));
    const int sides = int(state.range(1));
    const QPointF centre(5760.3, 1080.6);
    const QImage desktop = desktopWithCircle(centre, spread, sides);
    FigureGuess guess;
    guess.centre = centre + QPointF(9.0, -6.0);
    guess.spread = 1.05 * spread;
    guess.sides = sides;
    guess.inscribed = true;
    bool found = true;
    for (auto _ : state) {
        const auto result = fitFigure(desktop, guess);
        found = found && result.has_value();
        benchmark::DoNotOptimize(result);
    }
    if (!found)
        state.SkipWithError("no figure found");
}

} // namespace

BENCHMARK(fit)
    ->ArgsProduct({{40, 300, 1000}, {0, 6, 39}})
    ->ArgNames({"spread", "sides"})
    ->Unit(benchmark::kMillisecond);
