// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/monitorscale.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace orvanta {

namespace {

// EDID sizes are whole millimetres, so a true size can miss the pixel aspect
// by a few tenths of a percent; adapters that make sizes up miss by far more.
constexpr double kAspectTolerance = 0.05;
// Qt's stand-in for a missing size is the desktop's size to the millimetre.
constexpr double kSameSizeMm = 0.5;
// The shipped physical units are the rows after pixels written at 96 px/in.
constexpr long double kPhysicalRatioPixels = 96;
// Two densities closer than this read the same on the tooltip.
constexpr double kSameDensity = 0.05;

QString densityText(PixelDensity d) {
    const QLocale locale;
    if (std::fabs(d.x - d.y) < kSameDensity)
        return locale.toString(d.x, 'f', 1);
    return QStringLiteral("%1 × %2").arg(locale.toString(d.x, 'f', 1),
                                         locale.toString(d.y, 'f', 1));
}

QString sourceText(DensitySource source) {
    switch (source) {
    case DensitySource::Calibrated:
        return QCoreApplication::translate("MonitorScale", "calibrated");
    case DensitySource::Reported:
        return QCoreApplication::translate("MonitorScale", "reported by the monitor");
    case DensitySource::Assumed:
        break;
    }
    return QCoreApplication::translate("MonitorScale", "assumed 96");
}

} // namespace

QString MonitorIdentity::displayName() const {
    if (!model.isEmpty())
        return connector.isEmpty() ? model : QStringLiteral("%1 (%2)").arg(model, connector);
    return connector;
}

bool sameMonitor(const MonitorIdentity& a, const MonitorIdentity& b) {
    if (a.hasEdid() || b.hasEdid())
        return a.manufacturer == b.manufacturer && a.model == b.model && a.serial == b.serial;
    return !a.connector.isEmpty() && a.connector == b.connector;
}

std::optional<PixelDensity> reportedDensity(QSize pixels, QSizeF mm, QSizeF desktopMm) {
    if (pixels.isEmpty() || !(mm.width() > 0) || !(mm.height() > 0))
        return std::nullopt;
    if (!desktopMm.isEmpty() && std::fabs(mm.width() - desktopMm.width()) < kSameSizeMm &&
        std::fabs(mm.height() - desktopMm.height()) < kSameSizeMm)
        return std::nullopt;
    const double pixelAspect = double(pixels.width()) / pixels.height();
    const double mmAspect = mm.width() / mm.height();
    if (std::fabs(pixelAspect / mmAspect - 1) > kAspectTolerance)
        return std::nullopt;
    const PixelDensity d{pixels.width() * kMillimetresPerInch / mm.width(),
                         pixels.height() * kMillimetresPerInch / mm.height()};
    for (const double v : {d.x, d.y})
        if (!(v >= kFewestPixelsPerInch && v <= kMostPixelsPerInch))
            return std::nullopt;
    return d;
}

MonitorScale uncalibratedScale(const MonitorInfo& monitor, QSizeF desktopMm) {
    MonitorScale s{monitor.identity.displayName(), PixelDensity{}, DensitySource::Assumed,
                   monitor.uiScale};
    if (const auto d = reportedDensity(monitor.geometry.size(), monitor.millimetres, desktopMm)) {
        s.density = *d;
        s.source = DensitySource::Reported;
    }
    return s;
}

MonitorScale monitorScale(const MonitorInfo& monitor, QSizeF desktopMm,
                          const std::optional<PixelDensity>& calibration) {
    MonitorScale s = uncalibratedScale(monitor, desktopMm);
    if (calibration) {
        s.density = *calibration;
        s.source = DensitySource::Calibrated;
    }
    return s;
}

const MonitorInfo* monitorAt(const MonitorList& list, QPoint point) {
    const MonitorInfo* nearest = nullptr;
    long long best = std::numeric_limits<long long>::max();
    for (const MonitorInfo& m : list.monitors) {
        if (m.geometry.contains(point))
            return &m;
        const QRect& r = m.geometry;
        const long long dx = std::max({r.left() - point.x(), 0, point.x() - r.right()});
        const long long dy = std::max({r.top() - point.y(), 0, point.y() - r.bottom()});
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = &m;
        }
    }
    return nearest;
}

double densityAlong(PixelDensity density, double angleDegrees) {
    const double a = angleDegrees * M_PI / 180.0;
    return 1.0 / std::hypot(std::cos(a) / density.x, std::sin(a) / density.y);
}

bool isPhysicalUnit(const UnitTable& units, std::int32_t index) {
    // The shipped rows cannot be edited for good, so their 96 px ratios mark
    // them; the pixel row (1:1) and the user's rows keep their own ratio.
    return index >= 0 && index < units.unitsLockedCount() &&
           units.pixelNum(index) == kPhysicalRatioPixels;
}

UnitScale physicalScale(UnitScale at96, double pixelsPerInch) {
    return UnitScale{at96.pixels * pixelsPerInch / kPhysicalRatioPixels, at96.units};
}

QSizeF cardPixels(PixelDensity density) {
    return QSizeF(kCardWidthMm * density.x / kMillimetresPerInch,
                  kCardHeightMm * density.y / kMillimetresPerInch);
}

PixelDensity densityOfCard(QSizeF pixels) {
    return PixelDensity{pixels.width() * kMillimetresPerInch / kCardWidthMm,
                        pixels.height() * kMillimetresPerInch / kCardHeightMm};
}

QString scaleDescription(const QString& unitName, bool physical, const MonitorScale& scale) {
    QStringList lines;
    const QString density = densityText(scale.density);
    const QString source = sourceText(scale.source);
    const QString monitor = scale.monitorName.isEmpty()
                                ? QCoreApplication::translate("MonitorScale", "(unnamed)")
                                : scale.monitorName;
    if (physical)
        lines << QCoreApplication::translate("MonitorScale", "%1 on monitor %2: %3 px/in, %4")
                     .arg(unitName, monitor, density, source);
    else
        lines << QCoreApplication::translate("MonitorScale",
                                             "%1 in device pixels of monitor %2 (%3 px/in, %4)")
                     .arg(unitName, monitor, density, source);
    if (std::fabs(scale.uiScale - 1) > 0.005 && scale.uiScale > 0) {
        const QLocale locale;
        constexpr double kSample = 100;
        lines << QCoreApplication::translate(
                     "MonitorScale",
                     "The desktop scales its interface by %1 %: readings are in device pixels, "
                     "100 device pixels are %2 logical pixels")
                     .arg(locale.toString(scale.uiScale * 100, 'f', 0),
                          locale.toString(kSample / scale.uiScale, 'f', 1));
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace orvanta
