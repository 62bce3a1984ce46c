// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "preview.h"

#include "model/inidocument.h"
#include "paint.h"
#include "skins.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QtMath>
#include <cmath>
#include <stdexcept>

namespace orvanta::art {

namespace {

constexpr int kMargin = 190; // room around the figure for the panels that stick out

struct Layer {
    QImage image;
    QPointF position; // top-left at angle 0, in canvas pixels
    QPointF pivot;    // in image pixels
    qreal turn = 0;   // degrees, clockwise on screen
};

struct Definition {
    IniDocument ini;
    [[nodiscard]] QString text(const char* key, const QString& fallback = {}) const {
        return ini.readString(u"Horizontal", QString::fromLatin1(key), fallback);
    }
    [[nodiscard]] QList<int> numbers(const char* section, const QString& key) const {
        QList<int> out;
        const QString v = ini.readString(QString::fromLatin1(section), key, QString());
        for (const QString& part : v.split(u',', Qt::SkipEmptyParts))
            out.append(part.trimmed().toInt());
        return out;
    }
    [[nodiscard]] QRect rect(const char* key, const char* section = "Horizontal") const {
        const QList<int> n = numbers(section, QString::fromLatin1(key));
        return n.size() >= 4 ? QRect(n[0], n[1], n[2], n[3]) : QRect();
    }
    [[nodiscard]] QPoint point(const char* key) const {
        const QList<int> n = numbers("Horizontal", QString::fromLatin1(key));
        return n.size() >= 2 ? QPoint(n[0], n[1]) : QPoint();
    }
    [[nodiscard]] int placement(const QString& key) const {
        const QList<int> n = numbers("Horizontal", key);
        return n.size() >= 5 ? n[4] : 0;
    }
};

QImage loadPicture(const QString& path, const QString& transColor) {
    QImage picture(path);
    if (picture.isNull())
        throw std::runtime_error(
            QStringLiteral("cannot read the skin picture \"%1\"").arg(path).toStdString());
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        const QRgb key = QColor(u'#' + transColor).rgb();
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                if ((row[x] | 0xff000000u) == key)
                    row[x] = 0;
        }
    }
    return picture;
}

void drawLayer(QPainter& p, const Layer& layer) {
    p.save();
    p.translate(layer.position + layer.pivot);
    p.rotate(layer.turn);
    p.translate(-layer.pivot);
    p.drawImage(0, 0, layer.image);
    p.restore();
}

} // namespace

QImage assembleCompass(const QString& definitionPath, const PreviewScene& scene) {
    Definition d{IniDocument::load(definitionPath)};
    const QString folder = QFileInfo(definitionPath).absolutePath() + u'/';
    const QImage picture =
        loadPicture(folder + d.text("Image"),
                    d.ini.readString(u"Main", u"TransColor", QStringLiteral("ff00ff")));

    const QRect base = d.rect("BaseRect");
    const QRect bar = d.rect("BarRect");
    const QRect slide = d.rect("SlideRect");
    const QRect basePanel = d.rect("BasePanelRect");
    const QRect slidePanel = d.rect("SlidePanelRect");
    const int baseEdge = d.ini.readInt(u"Horizontal", u"BaseEdge", 0);
    const int slideEdge = d.ini.readInt(u"Horizontal", u"SlideEdge", 0);
    const QPointF p(baseEdge, bar.top() + bar.height() / 2 - base.top());
    const int r = scene.spread;
    const qreal a = qDegreesToRadians(scene.angle);
    const qreal c = std::cos(a);
    const qreal s = std::sin(a);

    const int size = 2 * (r + kMargin);
    const QPointF centre(size / 2, size / 2);
    const QPointF pos = centre - p; // posX, posY

    // The base layer: bar tiles repeated to the right, the head copied over them.
    QImage baseImage = blankImage(QSize(std::max(r + baseEdge + 2, base.width()),
                                        std::max(bar.bottom() + 1 - base.top(), base.height())));
    {
        QPainter b(&baseImage);
        b.setCompositionMode(QPainter::CompositionMode_Source);
        const int w = bar.width();
        const int n = (r - (bar.left() - baseEdge - base.left())) / w;
        for (int i = 0; n >= 0 && i <= n; ++i)
            b.drawImage(bar.left() - base.left() + i * w, bar.top() - base.top(),
                        picture.copy(bar));
        b.drawImage(0, 0, picture.copy(base));
    }
    const qreal turn = scene.angle;
    std::vector<Layer> layers;
    layers.push_back({baseImage, pos, p, turn});

    const QPointF slidePos(pos.x() + baseEdge + r - slideEdge + slide.left() - base.left(),
                           pos.y() + slide.top() - base.top());
    const Layer slideLayer{picture.copy(slide), slidePos, centre - slidePos, turn};

    QPointF basePanelPos;
    QPointF slidePanelPos;
    const QPoint bpc = d.point("BasePanelCenter");
    const QPoint bpa = d.point("BasePanelAnchor");
    const QPoint spc = d.point("SlidePanelCenter");
    const QPoint spa = d.point("SlidePanelAnchor");
    if (!basePanel.isEmpty()) {
        const qreal dx = bpa.x() - p.x() - base.left();
        const qreal dy = bpa.y() - p.y() - base.top();
        basePanelPos = QPointF(c * dx + s * dy + pos.x() + p.x() - bpc.x() + basePanel.left(),
                               s * dx - c * dy + pos.y() + p.y() - bpc.y() + basePanel.top());
    }
    if (!slidePanel.isEmpty()) {
        const qreal dx = r - slideEdge + spa.x() - base.left();
        const qreal dy = spa.y() - p.y() - base.top();
        slidePanelPos = QPointF(c * dx - s * dy + pos.x() + p.x() - spc.x() + slidePanel.left(),
                                s * dx + c * dy + pos.y() + p.y() - spc.y() + slidePanel.top());
    }

    // Where a control or the readout goes at angle 0, and whether it turns.
    auto place = [&](const QRect& rect, int placement, const QImage& image) {
        QPointF at;
        const bool onPanel = placement == OnBasePanel || placement == OnSlidePanel;
        if (placement == OnBasePanel)
            at = QPointF(rect.left() + basePanelPos.x() - bpa.x() + bpc.x() - basePanel.left(),
                         rect.top() + basePanelPos.y() - bpa.y() + bpc.y() - basePanel.top());
        else if (placement == OnSlidePanel)
            at = QPointF(rect.left() + slidePanelPos.x() - spa.x() + spc.x() - slidePanel.left(),
                         rect.top() + slidePanelPos.y() - spa.y() + spc.y() - slidePanel.top());
        else if (placement == OnSlide)
            at = QPointF(rect.left() + pos.x() - slideEdge + baseEdge + r - base.left(),
                         rect.top() + pos.y() - base.top());
        else
            at = QPointF(rect.left() + pos.x() - base.left(), rect.top() + pos.y() - base.top());
        return Layer{image, at, onPanel ? QPointF() : centre - at, onPanel ? 0.0 : turn};
    };
    auto controlsOn = [&](int placement) {
        static const char* sections[] = {"HorizontalControls", "HorizontalControlsOver",
                                         "HorizontalControlsDown"};
        for (const QString& key : controlKeys()) {
            const QList<int> n = d.numbers("Horizontal", key);
            if (n.size() < 4 || d.placement(key) != placement)
                continue;
            const QList<int> look = d.numbers(sections[int(scene.controls)], key);
            const QRect from = look.size() >= 4 ? QRect(look[0], look[1], look[2], look[3])
                                                : QRect(n[0], n[1], n[2], n[3]);
            layers.push_back(place(QRect(n[0], n[1], n[2], n[3]), placement, picture.copy(from)));
        }
    };

    controlsOn(OnBase);
    layers.push_back(slideLayer);
    if (!basePanel.isEmpty())
        layers.push_back({picture.copy(basePanel), basePanelPos, {}, 0});
    controlsOn(OnBasePanel);
    if (!slidePanel.isEmpty())
        layers.push_back({picture.copy(slidePanel), slidePanelPos, {}, 0});
    controlsOn(OnSlidePanel);

    const QRect readout = d.rect("SizeRect");
    if (!readout.isEmpty()) {
        QImage text = blankImage(readout.size());
        QPainter t(&text);
        QFont font(d.ini.readString(u"Main", u"FontFace", QStringLiteral("Arial")));
        // The definition gives the character cell height; Qt sizes the em.
        const int cell = d.ini.readInt(u"Main", u"FontSize", 12);
        font.setPixelSize(std::max(1, int(std::lround(cell / 1.164))));
        font.setBold(d.ini.readBool(u"Main", u"FontBold", false));
        t.setFont(font);
        t.setPen(QColor(u'#' + d.ini.readString(u"Main", u"FontColor", QStringLiteral("000000"))));
        const QFontMetrics fm(font);
        const int x = std::max(1, int(std::lround(text.width() / 2.0 -
                                                  fm.horizontalAdvance(scene.readout) / 2.0 - 1)));
        t.drawText(x, fm.ascent() + (cell - fm.height()) / 2, scene.readout);
        t.end();
        layers.push_back(place(readout, d.placement(QStringLiteral("SizeRect")), text));
    }
    controlsOn(OnSlide);

    QImage canvas = blankImage(QSize(size, size));
    QPainter out(&canvas);
    out.setRenderHint(QPainter::SmoothPixmapTransform, std::fmod(scene.angle, 90.0) != 0);
    for (const Layer& layer : layers)
        drawLayer(out, layer);
    if (scene.circle) {
        const QStringList colours =
            d.ini.readString(u"Main", u"BaseColors", QStringLiteral("ff0000")).split(u',');
        out.setRenderHint(QPainter::Antialiasing);
        out.setPen(QPen(QColor(u'#' + colours.front().trimmed()), 1.0));
        out.setBrush(Qt::NoBrush);
        out.drawEllipse(centre, r, r);
    }
    return canvas;
}

} // namespace orvanta::art
