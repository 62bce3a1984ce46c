// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// How many device pixels make an inch on each monitor, and where that figure
// comes from: the user's calibration, the size the monitor reports (when it
// is believable) or the 96 px/in every physical unit assumed before. The
// physical units of the readout convert with the figure of the monitor under
// the compass's pivot.

#include "model/unittable.h"

#include <QRect>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

namespace orvanta {

// No desktop monitor is coarser than the first; sizes of 1 x 1 mm or a few
// centimetres give densities beyond the second, which no panel has.
inline constexpr double kFewestPixelsPerInch = 50;
inline constexpr double kMostPixelsPerInch = 600;

// The density the shipped physical units' ratios are written for.
inline constexpr double kAssumedPixelsPerInch = 96.0;
inline constexpr double kMillimetresPerInch = 25.4;

// Pixels per inch along each axis; monitors with non-square pixels differ.
struct PixelDensity {
    double x = kAssumedPixelsPerInch;
    double y = kAssumedPixelsPerInch;
    friend bool operator==(const PixelDensity&, const PixelDensity&) = default;
};

// Who a monitor is: its EDID identity as the system reports it, and the
// connector it is plugged into (the fallback when there is no EDID).
struct MonitorIdentity {
    QString manufacturer;
    QString model;
    QString serial;
    QString connector;

    [[nodiscard]] bool hasEdid() const {
        return !manufacturer.isEmpty() || !model.isEmpty() || !serial.isEmpty();
    }
    // For people: the model when known, else the connector.
    [[nodiscard]] QString displayName() const;
};

// Whether a stored identity and a connected monitor are the same monitor: by
// EDID when either has one (so a calibration follows the monitor to another
// port, and a second monitor of the same model with another serial is not
// taken for it), else by connector.
[[nodiscard]] bool sameMonitor(const MonitorIdentity& a, const MonitorIdentity& b);

struct MonitorInfo {
    MonitorIdentity identity;
    QRect geometry;     // device pixels, screen coordinates
    QSizeF millimetres; // as reported; may be empty or made up
    double uiScale = 1; // how much the desktop enlarges its interface (Xft.dpi / 96)
};

struct MonitorList {
    std::vector<MonitorInfo> monitors;
    // The whole X screen's size in millimetres. Qt 6.4 on X11 reports it for a
    // monitor that reports 0 x 0 mm, which is no size at all.
    QSizeF desktopMillimetres;
};

// The density a reported size gives, when it is believable: both axes
// present, not the desktop's size standing in for a missing one, pixel and
// millimetre aspect ratios within 5 %, and 50..600 px/in on both axes.
[[nodiscard]] std::optional<PixelDensity> reportedDensity(QSize pixels, QSizeF millimetres,
                                                          QSizeF desktopMillimetres = {});

enum class DensitySource { Calibrated, Reported, Assumed };

// The density a monitor's lengths use, the source named for the user.
struct MonitorScale {
    QString monitorName;
    PixelDensity density;
    DensitySource source = DensitySource::Assumed;
    double uiScale = 1;
};

// The monitor's scale without a calibration: its reported size or 96 px/in.
[[nodiscard]] MonitorScale uncalibratedScale(const MonitorInfo& monitor, QSizeF desktopMm);
// With one: the calibration wins when there is one.
[[nodiscard]] MonitorScale monitorScale(const MonitorInfo& monitor, QSizeF desktopMm,
                                        const std::optional<PixelDensity>& calibration);

// The monitor that holds `point`, else the one nearest to it; none when the
// list is empty.
[[nodiscard]] const MonitorInfo* monitorAt(const MonitorList& list, QPoint point);

// The density along a beam at `angleDegrees` (0 = right, 90 = down): a
// length in that direction is this many pixels per inch.
[[nodiscard]] double densityAlong(PixelDensity density, double angleDegrees);

// Whether unit `index` is one of the shipped units whose ratio is a physical
// length written for 96 px/in (inches, centimetres, millimetres, points,
// picas). Pixels and the user's own units are not.
[[nodiscard]] bool isPhysicalUnit(const UnitTable& units, std::int32_t index);

// A physical unit's ratio moved from 96 px/in to `pixelsPerInch`.
[[nodiscard]] UnitScale physicalScale(UnitScale at96, double pixelsPerInch);

// The bank card the calibration dialog draws (ISO/IEC 7810 ID-1).
inline constexpr double kCardWidthMm = 85.60;
inline constexpr double kCardHeightMm = 53.98;
// The card's size in pixels at `density`, and the density a card of `pixels` gives.
[[nodiscard]] QSizeF cardPixels(PixelDensity density);
[[nodiscard]] PixelDensity densityOfCard(QSizeF pixels);

// The readout tooltip's lines about the scale: the unit, the monitor, its
// px/in and where that came from, and, when the desktop scales its interface,
// what device pixels are in logical ones.
[[nodiscard]] QString scaleDescription(const QString& unitName, bool physical,
                                       const MonitorScale& scale);

} // namespace orvanta
