// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Puts a shipped skin together the way the program places its pieces, so the
// artwork can be judged in place: needle on the pivot, lead on the spread,
// seamless beam, controls and panels where they belong.

#include "paint.h"

#include <QImage>
#include <QString>

namespace orvanta::art {

struct PreviewScene {
    qreal angle = 0;  // degrees, clockwise on screen
    int spread = 200; // pixels
    Look controls = Look::Normal;
    bool circle = true;
    QString readout = QStringLiteral("200");
};

// The compass on a transparent canvas with the pivot at its centre. Throws
// std::runtime_error naming the file when the definition's picture is unreadable.
[[nodiscard]] QImage assembleCompass(const QString& definitionPath, const PreviewScene& scene);

} // namespace orvanta::art
