// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// orvanta_art: draws the program's artwork into the repository.
//
//   orvanta_art generate <repo>                 every skin, cursor, icon and the splash
//   orvanta_art icons <repo>                    the desktop icons of the application
//   orvanta_art preview <skin.ini> <out.png> [spread] [angle ...] [--hover|--down]
//   orvanta_art glyphs <out.png>                the control glyphs, large
//
// Run it on the offscreen platform; it needs fonts, not a display.
#include "brand.h"
#include "cursors.h"
#include "formats.h"
#include "paint.h"
#include "preview.h"
#include "skins.h"
#include "skins/skin.h"

#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <exception>

using namespace orvanta::art;

namespace {

constexpr int kPreviewGap = 8;

int usage() {
    std::fputs("usage: orvanta_art generate <repo>\n"
               "       orvanta_art icons <repo>\n"
               "       orvanta_art preview <skin.ini> <out.png> [spread] [angle ...] "
               "[--hover|--down]\n"
               "       orvanta_art glyphs <out.png>\n",
               stderr);
    return 2;
}

// One picture per angle, side by side on a backdrop that is light above and
// dark below, so halos and fringes show on both kinds of desktop.
QImage previewStrip(const QString& ini, int spread, const QList<qreal>& angles, Look look) {
    std::vector<QImage> shots;
    for (qreal angle : angles) {
        PreviewScene scene;
        scene.angle = angle;
        scene.spread = spread;
        scene.controls = look;
        scene.readout = QString::number(spread);
        shots.push_back(assembleCompass(ini, scene));
    }
    const int side = shots.front().width();
    QImage strip(QSize(int(shots.size()) * (side + kPreviewGap), side), QImage::Format_ARGB32);
    QPainter p(&strip);
    p.fillRect(QRect(0, 0, strip.width(), side / 2), QColor(236, 236, 232));
    p.fillRect(QRect(0, side / 2, strip.width(), side - side / 2), QColor(44, 46, 50));
    for (std::size_t i = 0; i < shots.size(); ++i)
        p.drawImage(int(i) * (side + kPreviewGap), 0, shots[i]);
    return strip;
}

void generate(const QString& repo) {
    for (const SkinArt& skin : shippedSkins())
        writeSkin(skin, repo);
    writeCursors(repo + QStringLiteral("/assets/program/img"));
    writeBrand(repo);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 3 && args[1] == u"generate") {
            generate(args[2]);
            return 0;
        }
        if (args.size() == 3 && args[1] == u"icons") { // the desktop icons only
            writeDesktopIcons(args[2]);
            return 0;
        }
        if (args.size() == 3 && args[1] == u"glyphs") { // large glyphs, to judge the drawing
            QImage img = blankImage(QSize(orvanta::kControlCount * 72, 72));
            QPainter p(&img);
            p.fillRect(img.rect(), QColor(60, 66, 74));
            for (int key = 0; key < orvanta::kControlCount; ++key)
                paintGlyph(p, key, QRectF(key * 72 + 4, 4, 64, 64), Qt::white,
                           {"ff4d3d", "2d9cff", "2fc46b", "ffb020", "b266ff"});
            p.end();
            writePng(args[2], img);
            return 0;
        }
        if (args.size() >= 4 && args[1] == u"preview") {
            int spread = 200;
            QList<qreal> angles;
            Look look = Look::Normal;
            for (qsizetype i = 4; i < args.size(); ++i) {
                if (args[i] == u"--hover")
                    look = Look::Hover;
                else if (args[i] == u"--down")
                    look = Look::Down;
                else if (i == 4)
                    spread = args[i].toInt();
                else
                    angles.append(args[i].toDouble());
            }
            if (angles.isEmpty())
                angles.append(0);
            writePng(args[3], previewStrip(args[2], spread, angles, look));
            return 0;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvanta_art: %s\n", e.what());
        return 1;
    }
    return usage();
}
