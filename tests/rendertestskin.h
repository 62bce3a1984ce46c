// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// A skin written to a temporary folder for the composition and renderer tests:
// a sheet whose pieces are filled with known colours, and a definition that
// places every kind of piece.

#include "skins/skin.h"
#include "testfiles.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rendertest {

inline constexpr QRgb kBaseColour = 0xff204080;
inline constexpr QRgb kBarColour = 0xff808000;
inline constexpr QRgb kSlideColour = 0xff008040;
inline constexpr QRgb kPanelColour = 0xff606060;
inline constexpr QRgb kNormalLook = 0xff0000c0;
inline constexpr QRgb kPressedLook = 0xffc00000;
inline constexpr QRgb kHoverLook = 0xff00c000;

// A 120 x 60 sheet: base 0,0 30x20 with a transparent notch at x 20..24 that
// cuts the bar, bar 30,8 10x4, slide 40,0 20x20, panels 60,0 and 80,0 20x10,
// control looks 8 high in rows 30 (normal), 40 (pressed) and 50 (hover).
inline QImage sheet() {
    QImage img(120, 60, QImage::Format_ARGB32);
    img.fill(0);
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(0, 0, 30, 20, QColor::fromRgba(kBaseColour));
    p.fillRect(20, 0, 4, 20, Qt::transparent);
    p.fillRect(30, 8, 10, 4, QColor::fromRgba(kBarColour));
    p.fillRect(40, 0, 20, 20, QColor::fromRgba(kSlideColour));
    p.fillRect(60, 0, 40, 10, QColor::fromRgba(kPanelColour));
    p.fillRect(0, 30, 120, 8, QColor::fromRgba(kNormalLook));
    p.fillRect(0, 40, 120, 8, QColor::fromRgba(kPressedLook));
    p.fillRect(0, 50, 120, 8, QColor::fromRgba(kHoverLook));
    return img;
}

// The definition for sheet(): base edge 10 (pivot (10, 10)), slide edge 45 (5
// pixels into the slide), both panels, a readout on the slide panel, and
// controls on each of the four parts; Close has pressed and hover looks.
inline QString fullIni() {
    return QStringLiteral("[一般]\n名称=Test\n[Main]\nBaseColors=ff0000, 0000ff\n"
                          "FontFace=DejaVu Sans\nFontSize=11\nFontColor=000000\n"
                          "[Horizontal]\nImage=sheet.png\n"
                          "BaseRect=0, 0, 30, 20\nBaseEdge=10\nBarRect=30, 8, 10, 4\n"
                          "SlideRect=40, 0, 20, 20\nSlideEdge=45\n"
                          "BasePanelRect=60, 0, 20, 10\nBasePanelCenter=70, 0\n"
                          "BasePanelAnchor=10, 15\n"
                          "SlidePanelRect=80, 0, 20, 10\nSlidePanelCenter=90, 0\n"
                          "SlidePanelAnchor=50, 15\n"
                          "SizeRect=80, 0, 20, 10, 3\n"
                          "CloseRect=0, 30, 8, 8\nMenuRect=10, 30, 8, 8, 1\n"
                          "FlipRect=20, 30, 8, 8, 2\nAngleRect=30, 30, 8, 8, 3\n"
                          "RadiusRect=40, 30, 8, 8, 1\nCircumferenceRect=50, 30, 8, 8, 1\n"
                          "AreaRect=60, 30, 8, 8, 1\n"
                          "[HorizontalControlsDown]\nCloseRect=0, 40, 8, 8\n"
                          "[HorizontalControlsOver]\nCloseRect=0, 50, 8, 8\n");
}

// A folder holding skins; write() returns the definition's path.
struct SkinFolder {
    QString write(const QString& ini, const QImage& picture = sheet(),
                  const QString& pictureName = "sheet.png",
                  const QString& iniName = "skin.ini") const {
        const QString path = orvanta::test::writeAll(dir.filePath(iniName), ini.toUtf8());
        EXPECT_TRUE(picture.save(dir.filePath(pictureName)));
        return path;
    }
    [[nodiscard]] QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace rendertest
