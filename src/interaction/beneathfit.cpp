// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "interaction/beneathfit.h"

#include "model/numbers.h"

#include <QCoreApplication>
#include <cmath>
#include <numbers>

namespace orvanta {

namespace {

// The ring looked at reaches 1.6 spreads out; a little more for the edges'
// gradients.
constexpr double kReach = 1.6;
constexpr int kMargin = 4;
// The hint shows the fit two decimals finer than the readout.
constexpr int kExtraDecimals = 2;

QString text(const char* english) {
    return QCoreApplication::translate("BeneathFit", english);
}

} // namespace

BeneathFit::BeneathFit(CompassModel& model, std::unique_ptr<ScreenPixels> screen)
    : m_model(model), m_screen(std::move(screen)) {}

BeneathFit::Pose BeneathFit::pose() const {
    const CompassState& s = m_model.state;
    return Pose{s.posX, s.posY, s.measurement, s.angle};
}

bool BeneathFit::undoable() const {
    return m_before && m_after && pose() == *m_after;
}

bool BeneathFit::undo() {
    if (!undoable())
        return false;
    CompassState& s = m_model.state;
    s.posX = m_before->x;
    s.posY = m_before->y;
    s.measurement = m_before->measurement;
    s.angle = m_before->angle;
    s.needsRepaint = true;
    m_before.reset();
    m_after.reset();
    return true;
}

void BeneathFit::fit(const FitScene& scene, Done done) {
    const CompassState& s = m_model.state;
    const Settings& options = m_model.options;
    FigureGuess guess;
    guess.centre = QPointF(s.posX, s.posY) + scene.basePivot;
    guess.spread = s.measurement;
    guess.sides = options.shape >= 3 ? options.shape : 0;
    guess.inscribed = options.scribe == Inscription::Inscribed;
    guess.angleDegrees = s.angle;
    const double vertex = guess.sides && !guess.inscribed
                              ? guess.spread / std::cos(std::numbers::pi / guess.sides)
                              : guess.spread;
    const int reach = int(std::ceil(kReach * vertex)) + kMargin;
    const QRect area =
        QRect(guess.centre.toPoint() - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1)) &
        scene.desktop;
    if (!m_screen || area.isEmpty()) {
        done(false, text(QT_TRANSLATE_NOOP("BeneathFit", "Nothing beneath the compass to fit.")));
        return;
    }
    const QImage drawn = scene.drawn ? *scene.drawn : QImage();
    m_screen->grab(area.translated(scene.virtualOrigin), [this, guess, area, drawn, scene,
                                                          done](const QImage& pixels,
                                                                const QString& error) {
        if (pixels.isNull()) {
            done(false, error);
            return;
        }
        FigureGuess local = guess;
        local.centre -= area.topLeft();
        const QImage ignore = ignoredPixels(pixels, area.topLeft(), drawn, scene.drawnRect);
        std::optional<FigureFit> found = fitFigure(pixels, local, ignore);
        if (!found) {
            done(false, text(QT_TRANSLATE_NOOP("BeneathFit", "No circle beneath the compass.")));
            return;
        }
        found->centre += area.topLeft();
        apply(*found, scene);
        done(true, describe(*found));
    });
}

void BeneathFit::apply(const FigureFit& fit, const FitScene& scene) {
    m_before = pose();
    CompassState& s = m_model.state;
    const QPointF origin = fit.centre - scene.basePivot;
    s.posX = std::int32_t(std::lround(origin.x()));
    s.posY = std::int32_t(std::lround(origin.y()));
    s.measurement = float(std::lround(fit.spread));
    if (m_model.options.shape >= 3)
        s.setAngle(float(fit.angleDegrees));
    s.needsRepaint = true;
    m_after = pose();
    m_last = fit;
}

QString BeneathFit::describe(const FigureFit& fit) const {
    const UnitScale scale = m_model.selectedScale();
    const int decimals = m_model.units.decimalNum(m_model.units.selectedUnit()) + kExtraDecimals;
    const auto inUnit = [&](double pixels) {
        return formatReadout(pixels * scale.units / scale.pixels, decimals,
                             m_model.decimalSeparator);
    };
    //: The hint after a fit: the centre's x (%1) and y (%2), the radius (%3)
    //: and the unit (%4).
    return text(QT_TRANSLATE_NOOP("BeneathFit", "Fitted: centre %1, %2 · radius %3 %4"))
        .arg(inUnit(fit.centre.x()), inUnit(fit.centre.y()), inUnit(fit.spread),
             m_model.units.displayName(m_model.units.selectedUnit()));
}

} // namespace orvanta
