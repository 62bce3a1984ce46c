// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The screens as the compass sees them. The compass works in desktop
// coordinates: screen pixels shifted by the virtual desktop's top-left corner.

#include <QList>
#include <QRect>

namespace orvanta {

struct DesktopGeometry {
    QRect virtualRect;     // the bounding box of every monitor, in screen pixels
    QList<QRect> monitors; // the system's monitor list, in the system's order
    QRect primary;         // the primary screen, in screen pixels
};

} // namespace orvanta
