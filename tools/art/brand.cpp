// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "brand.h"

#include "formats.h"
#include "paint.h"
#include "preview.h"

#include <QDir>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>
#include <cmath>
#include <vector>

namespace orvanta::art {

namespace {

constexpr int kAppIconSize = 256;
constexpr int kTrayGrid = 32; // the tray drawing's own units
const std::vector<int> kTraySizes{16, 24, 32, 48};
// The sizes desktops look up in the hicolor theme (menus, docks, switchers).
const std::vector<int> kDesktopIconSizes{16, 22, 24, 32, 48, 64, 128, 256};
const QSize kSplashSize(494, 300);
constexpr qreal kBeamAngle = -32; // degrees: the beam rises to the right

// A small vector scene that can be painted and written as SVG alike, so the
// PNG icon and the SVG icon are the same drawing.
struct Fill {
    enum Kind { None, Solid, Vertical, Radial } kind = None;
    QColor a, b;
};

struct Shape {
    bool ellipse = false;
    QRectF rect; // in the shape's own frame
    qreal radius = 0;
    Fill fill;
    QColor stroke = Qt::transparent;
    qreal strokeWidth = 0;
    QPointF origin; // the frame: translated here, then turned
    qreal turn = 0;
};

using Scene = std::vector<Shape>;

Shape circle(QPointF c, qreal r, Fill fill, QColor stroke = Qt::transparent, qreal width = 0) {
    return {true, QRectF(-r, -r, 2 * r, 2 * r), 0, fill, stroke, width, c, 0};
}

QPointF along(QPointF from, qreal length, qreal deg) {
    const qreal t = qDegreesToRadians(deg);
    return from + QPointF(std::cos(t), std::sin(t)) * length;
}

// The compass on an anodised plate: a measured circle, the beam with its head
// and needle, and the slide with the lead on the circle.
Scene appIconScene() {
    const Fill plate{Fill::Vertical, QColor(75, 86, 100), QColor(26, 31, 38)};
    const Fill head{Fill::Vertical, QColor(84, 96, 110), QColor(34, 40, 48)};
    const Fill beam{Fill::Vertical, QColor(240, 243, 246), QColor(146, 155, 166)};
    const QColor edge(10, 13, 17);
    const QPointF pivot(106, 146);
    const qreal r = 86;
    const QPointF lead = along(pivot, r, kBeamAngle);
    Scene s;
    s.push_back({false, QRectF(12, 12, 232, 232), 52, plate, edge, 3, {}, 0});
    s.push_back({false, QRectF(16, 16, 224, 224), 48, {}, QColor(255, 255, 255, 36), 2, {}, 0});
    s.push_back(circle(pivot, r, {}, QColor(255, 77, 61), 7));
    s.push_back({false, QRectF(0, -9, r + 14, 18), 3, beam, edge, 2, pivot, kBeamAngle});
    s.push_back({false, QRectF(-36, -27, 66, 54), 13, head, edge, 3, pivot, kBeamAngle});
    s.push_back(
        circle(pivot, 17, {Fill::Radial, QColor(255, 255, 255), QColor(150, 158, 168)}, edge, 2.5));
    s.push_back(circle(pivot, 7, {Fill::Solid, QColor(27, 31, 36), {}}));
    s.push_back(circle(pivot, 3, {Fill::Solid, Qt::white, {}}));
    s.push_back({false, QRectF(-22, -25, 46, 50), 11, head, edge, 3, lead, kBeamAngle});
    s.push_back(
        circle(lead, 10, {Fill::Radial, QColor(250, 251, 252), QColor(170, 176, 184)}, edge, 2));
    s.push_back(circle(lead, 5, {Fill::Solid, QColor(26, 28, 31), {}}));
    return s;
}

// The same idea pared down for 16 to 48 pixels: plate, circle, beam, two points.
Scene trayScene() {
    const QPointF pivot(12.5, 18.5);
    const qreal r = 10;
    const QPointF lead = along(pivot, r, kBeamAngle);
    Scene s;
    s.push_back({false,
                 QRectF(1, 1, 30, 30),
                 7,
                 {Fill::Vertical, QColor(75, 86, 100), QColor(26, 31, 38)},
                 QColor(10, 13, 17),
                 1,
                 {},
                 0});
    s.push_back(circle(pivot, r, {}, QColor(255, 77, 61), 2.4));
    s.push_back({false,
                 QRectF(0, -1.7, r + 1, 3.4),
                 1,
                 {Fill::Solid, QColor(232, 236, 240), {}},
                 Qt::transparent,
                 0,
                 pivot,
                 kBeamAngle});
    s.push_back(circle(pivot, 3.4, {Fill::Solid, Qt::white, {}}, QColor(10, 13, 17), 1));
    s.push_back(circle(lead, 2.6, {Fill::Solid, QColor(255, 181, 71), {}}, QColor(10, 13, 17), 1));
    return s;
}

QBrush brushOf(const Fill& f) {
    switch (f.kind) {
    case Fill::None:
        return Qt::NoBrush;
    case Fill::Solid:
        return f.a;
    case Fill::Vertical: {
        QLinearGradient g(0, 0, 0, 1);
        g.setCoordinateMode(QGradient::ObjectBoundingMode);
        g.setColorAt(0, f.a);
        g.setColorAt(1, f.b);
        return g;
    }
    case Fill::Radial: {
        QRadialGradient g(0.5, 0.5, 0.5, 0.35, 0.3);
        g.setCoordinateMode(QGradient::ObjectBoundingMode);
        g.setColorAt(0, f.a);
        g.setColorAt(1, f.b);
        return g;
    }
    }
    return Qt::NoBrush;
}

QImage render(const Scene& scene, int size, qreal units) {
    QImage img = blankImage(QSize(size, size));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / units, size / units);
    for (const Shape& s : scene) {
        p.save();
        p.translate(s.origin);
        p.rotate(s.turn);
        p.setBrush(brushOf(s.fill));
        p.setPen(s.strokeWidth > 0 ? QPen(s.stroke, s.strokeWidth) : QPen(Qt::NoPen));
        if (s.ellipse)
            p.drawEllipse(s.rect);
        else
            p.drawRoundedRect(s.rect, s.radius, s.radius);
        p.restore();
    }
    return img;
}

QString num(qreal v) {
    return QString::number(v, 'g', 6);
}

QString svgColor(const QColor& c, const char* attribute) {
    QString out = QStringLiteral(" %1=\"%2\"").arg(QString::fromLatin1(attribute), c.name());
    if (c.alpha() < 255)
        out += QStringLiteral(" %1-opacity=\"%2\"")
                   .arg(QString::fromLatin1(attribute), num(c.alphaF()));
    return out;
}

QString stop(qreal at, const QColor& c) {
    return QStringLiteral("<stop offset=\"%1\" stop-color=\"%2\"/>").arg(num(at), c.name());
}

QString svg(const Scene& scene, int size) {
    QString defs;
    QString body;
    int id = 0;
    for (const Shape& s : scene) {
        QString fill = QStringLiteral(" fill=\"none\"");
        if (s.fill.kind == Fill::Solid) {
            fill = svgColor(s.fill.a, "fill");
        } else if (s.fill.kind != Fill::None) {
            const QString name = QStringLiteral("g%1").arg(++id);
            defs +=
                s.fill.kind == Fill::Vertical
                    ? QStringLiteral(
                          "<linearGradient id=\"%1\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">")
                          .arg(name)
                    : QStringLiteral("<radialGradient id=\"%1\" cx=\"0.5\" cy=\"0.5\" r=\"0.5\" "
                                     "fx=\"0.35\" fy=\"0.3\">")
                          .arg(name);
            defs += stop(0, s.fill.a) + stop(1, s.fill.b);
            defs += s.fill.kind == Fill::Vertical ? QStringLiteral("</linearGradient>\n")
                                                  : QStringLiteral("</radialGradient>\n");
            fill = QStringLiteral(" fill=\"url(#%1)\"").arg(name);
        }
        const QString stroke =
            s.strokeWidth > 0 ? svgColor(s.stroke, "stroke") +
                                    QStringLiteral(" stroke-width=\"%1\"").arg(num(s.strokeWidth))
                              : QString();
        QString shape =
            s.ellipse
                ? QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\"")
                      .arg(num(s.rect.center().x()), num(s.rect.center().y()),
                           num(s.rect.width() / 2), num(s.rect.height() / 2))
                : QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"")
                      .arg(num(s.rect.x()), num(s.rect.y()), num(s.rect.width()),
                           num(s.rect.height()), num(s.radius));
        shape += fill + stroke + QStringLiteral("/>");
        if (!s.origin.isNull() || s.turn != 0)
            shape = QStringLiteral("<g transform=\"translate(%1 %2) rotate(%3)\">%4</g>")
                        .arg(num(s.origin.x()), num(s.origin.y()), num(s.turn), shape);
        body += QStringLiteral("  ") + shape + u'\n';
    }
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n<defs>\n%2</defs>\n%3</svg>\n")
        .arg(size)
        .arg(defs, body);
}

// The hidden compass's icon: the same drawing, grey and a little faded.
QImage greyed(const QImage& source) {
    QImage img = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int grey = 70 + qGray(row[x]) * 5 / 8;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]) * 7 / 8);
        }
    }
    return img;
}

QImage splash(const QString& repo) {
    QImage img(kSplashSize, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, kSplashSize.height());
    back.setColorAt(0, QColor(44, 51, 61));
    back.setColorAt(1, QColor(17, 20, 25));
    p.fillRect(img.rect(), back);
    QRadialGradient glow(QPointF(330, 150), 260);
    glow.setColorAt(0, QColor(255, 255, 255, 22));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), glow);

    // A ruler edge along the bottom, ticks every 10 pixels.
    for (int x = 4; x < kSplashSize.width(); x += 10) {
        const int len = (x - 4) % 50 == 0 ? 9 : 5;
        p.fillRect(QRect(x, kSplashSize.height() - len, 1, len), QColor(255, 255, 255, 60));
    }

    PreviewScene scene;
    scene.angle = -14;
    scene.spread = 168;
    scene.readout = QStringLiteral("168");
    const QImage compass =
        assembleCompass(repo + QStringLiteral("/assets/program/default/default.ini"), scene);
    const QPointF pivot(118, 214);
    p.drawImage(pivot - QPointF(compass.width() / 2, compass.height() / 2), compass);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(240, 243, 247));
    p.drawText(QPointF(250, 66), QStringLiteral("Orvanta"));
    // The tagline under the name is the splash screen's own label, in the
    // user's language.
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(QColor(200, 206, 214, 170));
    p.drawText(QRectF(0, 0, kSplashSize.width() - 12, kSplashSize.height() - 14),
               Qt::AlignRight | Qt::AlignBottom, QStringLiteral("4.0  ·  orvanta.invalid"));
    p.end();
    return img;
}

} // namespace

void writeBrand(const QString& repo) {
    const QString program = repo + QStringLiteral("/assets/program/");
    std::vector<IconImage> colour;
    std::vector<IconImage> grey;
    for (int size : kTraySizes) {
        const QImage img = render(trayScene(), size, kTrayGrid);
        colour.push_back({img, {}});
        grey.push_back({greyed(img), {}});
    }
    writeBytes(program + QStringLiteral("AppTray.ico"), iconFile(colour, false));
    writeBytes(program + QStringLiteral("AppTrayGray.ico"), iconFile(grey, false));
    writePng(program + QStringLiteral("orvanta.png"),
             render(appIconScene(), kAppIconSize, kAppIconSize));
    writeBytes(program + QStringLiteral("orvanta.svg"), svg(appIconScene(), kAppIconSize).toUtf8());
    writePng(repo + QStringLiteral("/assets/splash.png"), splash(repo));
    writeDesktopIcons(repo);
}

void writeDesktopIcons(const QString& repo) {
    for (int size : kDesktopIconSizes) {
        const QString folder =
            repo + QStringLiteral("/assets/linux/icons/hicolor/%1x%1/apps/").arg(size);
        QDir().mkpath(folder);
        writePng(folder + QStringLiteral("orvanta.png"),
                 render(appIconScene(), size, kAppIconSize));
    }
}

} // namespace orvanta::art
