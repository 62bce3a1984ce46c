// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The shipped skins: where every piece lies on the sprite sheet, how it is
// painted, and the definition file that describes the sheet to the program.

#include "paint.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

namespace orvanta::art {

// The eighteen control keys in the order the program builds and tests them.
[[nodiscard]] const QStringList& controlKeys();

enum Placement { OnBase = 0, OnSlide = 1, OnBasePanel = 2, OnSlidePanel = 3 };

struct ControlSpot {
    int key = 0;
    Placement placement = OnBase;
    QRect rect; // where the control sits, in sheet pixels
};

// Everything in sheet pixels. The pivot and the lead are pixel corners: the
// program turns the compass about the point (baseEdge, bar middle), which is
// the top-left corner of that pixel, so the needle and the lead are drawn
// centred on those corners.
struct SkinLayout {
    QSize sheet;
    QRect base, bar, slide, basePanel, slidePanel;
    QPoint pivot, lead;
    // Each panel hangs on the point of itself that is also its anchor, so the
    // panel and the controls on it stay together at every angle.
    QPoint basePanelCenter, slidePanelCenter;
    bool roundBasePanel = false;
    QRect readout;
    Placement readoutPlacement = OnSlidePanel;
    std::vector<ControlSpot> controls;
    QPoint looksOrigin; // normal looks in the first row, then hover, then pressed
    int lookPitch = 18;
    int headRight = 0; // x, counted from the base's left, where the head ends and the beam shows
    qreal needleRadius = 11;
    qreal leadRadius = 9;
    int tickSpacing = 10; // graduation of the beam, in pixels from the pivot
    int majorTick = 50;

    [[nodiscard]] QRect look(std::size_t controlIndex, Look state) const;
};

struct SkinArt {
    QString folder;   // relative to the repository root
    QString fileBase; // definition "<fileBase>.ini", picture "<fileBase>.png" or ".bmp"
    bool bmp = false;
    bool legacyEncoding = false; // write the definition in GB18030, as older tools did
    QString name, author, description, contact, webSite;
    // The same three in English, written as "Name[en]=" and so on.
    QString englishName, englishAuthor, englishDescription;
    int version = 1;
    QString bleedColor, buttonBleedColor;
    QString fontFace = QStringLiteral("DejaVu Sans");
    int fontSize = 13;
    bool fontBold = false;
    SkinLayout layout;
    Theme theme;
};

[[nodiscard]] std::vector<SkinArt> shippedSkins();

// The sheet with straight alpha; keyed BMP sheets come back opaque with the
// transparent parts in magenta.
[[nodiscard]] QImage paintSheet(const SkinArt& skin);
[[nodiscard]] QString definitionText(const SkinArt& skin);

// Writes the definition and the picture under repoRoot.
void writeSkin(const SkinArt& skin, const QString& repoRoot);

} // namespace orvanta::art
