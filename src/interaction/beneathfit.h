// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// "Fit to what is beneath": reads the desktop in a ring about the compass's
// figure, finds the circle or polygon there to a fraction of a pixel, and
// sets the pivot, the spread and (for polygons) the angle to it, on whole
// pixels. The last fit's exact centre and radius are kept, and one undo puts
// the compass back as it was before.

#include "model/compassmodel.h"
#include "platform/screenpixels.h"
#include "vision/figurefit.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>

namespace orvanta {

// Where the compass stands and what it drew, in desktop pixels.
struct FitScene {
    QPointF basePivot;    // the pivot in the base bitmap: posX, posY + this is the centre
    QPoint virtualOrigin; // the desktop's top-left corner on the screen
    QRect desktop;        // the desktop, from (0, 0)
    const QImage* drawn = nullptr;
    QRect drawnRect;
};

class BeneathFit {
public:
    // `fitted`, and for the user the hint: the exact centre and radius, or
    // why nothing moved.
    using Done = std::function<void(bool fitted, const QString& hint)>;

    BeneathFit(CompassModel& model, std::unique_ptr<ScreenPixels> screen);

    void fit(const FitScene& scene, Done done);
    // Puts the compass back as it was before the last fit, unless it has
    // moved since; false when there is nothing to undo.
    bool undo();
    // Whether the compass still stands where the last fit put it.
    [[nodiscard]] bool undoable() const;
    // The last fit in desktop pixels, exact.
    [[nodiscard]] const std::optional<FigureFit>& last() const { return m_last; }

private:
    struct Pose {
        std::int32_t x = 0, y = 0;
        float measurement = 0.0f, angle = 0.0f;
        friend bool operator==(const Pose&, const Pose&) = default;
    };
    [[nodiscard]] Pose pose() const;
    void apply(const FigureFit& fit, const FitScene& scene);
    [[nodiscard]] QString describe(const FigureFit& fit) const;

    CompassModel& m_model;
    std::unique_ptr<ScreenPixels> m_screen;
    std::optional<FigureFit> m_last;
    std::optional<Pose> m_before, m_after;
};

} // namespace orvanta
