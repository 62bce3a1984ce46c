// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "skins.h"

#include "formats.h"
#include "model/textcodec.h"
#include "skins/skin.h"

#include <QPainter>
#include <QRadialGradient>
#include <QStringEncoder>
#include <algorithm>
#include <stdexcept>

namespace orvanta::art {

namespace {

constexpr int kButton = 14;     // the common control size
constexpr int kTypeButton = 16; // the measure type toggles carry a letter
constexpr int kHaloRadius = 1;
constexpr int kHaloStrength = 70;
constexpr QRgb kKey = 0xffff00ff; // magenta, the BMP skin's transColor

// Seeds keep every piece's grain its own and every run identical.
enum Seed { BeamSeed = 11, BaseSeed = 23, SlideSeed = 37, PanelSeed = 41, BossSeed = 53 };

using enum SkinControl;

ControlSpot spot(SkinControl key, Placement placement, QPoint at) {
    const int size = key >= Radius ? kTypeButton : kButton;
    return {int(key), placement, QRect(at, QSize(size, size))};
}

// The measure types lie on top of one another: the program lifts the current
// one, and a click moves on to the next.
void addTypeToggles(SkinLayout& l, Placement placement, QPoint at) {
    for (SkinControl key : {Radius, Circumference, Area, Diameter, AngleReading})
        l.controls.push_back(spot(key, placement, at));
}

void finishLayout(SkinLayout& l, int sheetWidth) {
    std::sort(l.controls.begin(), l.controls.end(),
              [](const ControlSpot& a, const ControlSpot& b) { return a.key < b.key; });
    const int rows = 3;
    l.sheet = QSize(std::max(sheetWidth, l.looksOrigin.x() + int(l.controls.size()) * l.lookPitch),
                    l.looksOrigin.y() + rows * l.lookPitch);
    if (l.bar.top() + l.bar.height() / 2 != l.pivot.y() || l.lead.y() != l.pivot.y())
        throw std::logic_error("the pivot and the lead must lie on the bar's middle");
}

// Anodised head with a keypad panel behind it and a readout panel beyond the
// slide. Both panels hang on the beam's axis, outside the compass, so at no
// angle do they cover the needle, the lead or the beam.
SkinLayout instrumentLayout() {
    SkinLayout l;
    l.basePanel = QRect(0, 2, 52, 52);
    l.basePanelCenter = QPoint(26, 28);
    l.base = QRect(60, 0, 80, 56);
    l.headRight = 73;
    l.pivot = QPoint(86, 28);
    l.bar = QRect(140, 22, 50, 12);
    l.slide = QRect(190, 0, 60, 56);
    l.lead = QPoint(220, 28);
    l.slidePanel = QRect(253, 15, 108, 26);
    l.slidePanelCenter = QPoint(307, 28);
    l.readout = QRect(277, 20, 80, 16);
    l.readoutPlacement = OnSlidePanel;

    // Keypad: screen directions belong on a panel that stays upright.
    auto key = [](int col, int row) { return QPoint(3 + col * 16, 5 + row * 16); };
    l.controls = {spot(Menu, OnBasePanel, key(0, 0)), spot(MoveUp, OnBasePanel, key(1, 0)),
                  spot(Close, OnBasePanel, key(2, 0)), spot(MoveLeft, OnBasePanel, key(0, 1)),
                  spot(ColorBase, OnBasePanel, key(1, 1)), spot(MoveRight, OnBasePanel, key(2, 1)),
                  spot(MoveDown, OnBasePanel, key(1, 2)),
                  // Turning sits on the head beside the pivot.
                  spot(AngleMinus, OnBase, {100, 5}), spot(Angle, OnBase, {116, 5}),
                  spot(FlipMinus, OnBase, {100, 37}), spot(Flip, OnBase, {116, 37}),
                  // Spread and sliding sit on the slide, shorter toward the pivot.
                  spot(In, OnSlide, {194, 5}), spot(Out, OnSlide, {232, 5}),
                  spot(Left, OnSlide, {194, 37}), spot(Right, OnSlide, {232, 37})};
    addTypeToggles(l, OnSlidePanel, {257, 20});
    l.looksOrigin = QPoint(2, 58);
    finishLayout(l, 362);
    return l;
}

// A plain wooden compass: no panels, the readout plate rides on the slide and
// turns with it, and only the everyday controls exist.
SkinLayout woodLayout() {
    SkinLayout l;
    l.base = QRect(0, 0, 88, 52);
    l.headRight = 85;
    l.needleRadius = 10;
    l.leadRadius = 8;
    l.pivot = QPoint(24, 26);
    l.bar = QRect(88, 20, 50, 12);
    l.slide = QRect(138, 0, 110, 52);
    l.lead = QPoint(158, 26);
    l.readout = QRect(172, 8, 70, 16);
    l.readoutPlacement = OnSlide;
    l.controls = {spot(AngleMinus, OnBase, {38, 4}), spot(Angle, OnBase, {54, 4}),
                  spot(Close, OnBase, {70, 4}),      spot(ColorBase, OnBase, {54, 34}),
                  spot(Menu, OnBase, {70, 34}),      spot(In, OnSlide, {172, 32}),
                  spot(Out, OnSlide, {188, 32})};
    addTypeToggles(l, OnSlide, {226, 31});
    l.looksOrigin = QPoint(2, 54);
    finishLayout(l, 248);
    return l;
}

Theme anodisedTheme() {
    return {.body = Finish::Anodised,
            .beam = Finish::Aluminium,
            .boss = Finish::Turned,
            .outline = QColor(13, 16, 20),
            .tick = QColor(36, 41, 48),
            .buttonTop = QColor(74, 83, 95),
            .buttonBottom = QColor(41, 47, 55),
            .glyph = QColor(214, 221, 229),
            .glyphActive = QColor(255, 181, 71),
            .well = QColor(15, 18, 22),
            .fontColor = QColor(236, 241, 246),
            .baseColors = {"ff4d3d", "2d9cff", "2fc46b", "ffb020", "b266ff"}};
}

Theme brassTheme() {
    return {.body = Finish::Brass,
            .beam = Finish::Aluminium,
            .boss = Finish::TurnedBrass,
            .outline = QColor(58, 38, 10),
            .tick = QColor(40, 36, 30),
            .buttonTop = QColor(110, 72, 30),
            .buttonBottom = QColor(66, 40, 14),
            .glyph = QColor(246, 222, 156),
            .glyphActive = QColor(255, 250, 232),
            .well = QColor(34, 24, 12),
            .fontColor = QColor(250, 220, 140),
            .baseColors = {"2a4d9b", "a11d21", "1f7a4a", "202020", "f5f5f0"},
            .hardEdges = true};
}

Theme walnutTheme() {
    return {.body = Finish::Walnut,
            .beam = Finish::Boxwood,
            .boss = Finish::TurnedBrass,
            .outline = QColor(30, 16, 8),
            .tick = QColor(62, 38, 18),
            .buttonTop = QColor(236, 200, 120),
            .buttonBottom = QColor(168, 122, 48),
            .glyph = QColor(56, 34, 14),
            .glyphActive = QColor(156, 24, 16),
            .well = QColor(240, 230, 204),
            .fontColor = QColor(44, 30, 16),
            .baseColors = {"c0392b", "1e6fb8", "2e8b57", "e67e22", "111111"}};
}

QString rectText(const QRect& r) {
    return QStringLiteral("%1, %2, %3, %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString pointText(const QPoint& p) {
    return QStringLiteral("%1, %2").arg(p.x()).arg(p.y());
}

QString colorText(const QColor& c) {
    return c.name().mid(1);
}

// ---- painting ---------------------------------------------------------------

void withHalo(QImage& image, const Theme& theme, bool wrapX = false) {
    if (!theme.hardEdges)
        addHalo(image, kHaloRadius, kHaloStrength, wrapX);
}

// The beam between tile-relative x0 and x1; x = 0 is the bar's left edge on the
// sheet and y = 0 its top row. Its grain and its graduation repeat with the
// bar's width, so every copy of it joins the next without a seam.
void paintBeam(QPainter& p, const SkinLayout& l, const Theme& t, int x0, int x1) {
    const int w = l.bar.width();
    const int h = l.bar.height();
    const QRectF body(x0, 1, x1 - x0, h - 2);
    QPainterPath path;
    path.addRect(body);
    fillFinished(p, path, t.beam, BeamSeed, w);
    p.fillRect(QRectF(x0, 1, x1 - x0, 1), t.outline);
    p.fillRect(QRectF(x0, h - 2, x1 - x0, 1), t.outline);
    p.fillRect(QRectF(x0, 2, x1 - x0, 1), QColor(255, 255, 255, 70));
    // Graduation counted from the pivot: each tick is the pixel column that
    // starts at a whole multiple of the spacing.
    const int pivotX = l.pivot.x() - l.bar.left();
    for (int x = x0; x < x1; ++x) {
        const int d = x - pivotX;
        if (d <= 0 || d % l.tickSpacing != 0)
            continue;
        const int length = d % l.majorTick == 0 ? 5 : 3;
        p.fillRect(QRect(x, 2, 1, length), t.tick);
    }
}

QPainterPath roundedBody(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    return path;
}

// A body of the theme's finish with a dark edge and a bevel lit from above.
void paintBody(QPainter& p, const QPainterPath& path, const Theme& t, int seed) {
    fillFinished(p, path, t.body, seed);
    const QRectF r = path.boundingRect();
    QLinearGradient bevel(r.topLeft(), r.bottomLeft());
    bevel.setColorAt(0, QColor(255, 255, 255, 70));
    bevel.setColorAt(0.5, QColor(255, 255, 255, 0));
    bevel.setColorAt(1, QColor(0, 0, 0, 60));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(bevel), 1.0));
    const qreal s = (r.width() - 2) / r.width();
    p.save();
    p.translate(r.center());
    p.scale(s, (r.height() - 2) / r.height());
    p.translate(-r.center());
    p.drawPath(path);
    p.restore();
    p.setPen(QPen(t.outline, 1.0));
    p.drawPath(path);
}

// A pocket the control sits in, so a rounded button looks seated.
void paintRecess(QPainter& p, const QRect& r) {
    const QRectF pocket = QRectF(r).adjusted(-1, -1, 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(pocket, 4.5, 4.5);
    p.setPen(QPen(QColor(255, 255, 255, 38), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(pocket.left() + 3, pocket.bottom() - 0.5),
               QPointF(pocket.right() - 3, pocket.bottom() - 0.5));
}

void paintWell(QPainter& p, const QRect& r, const Theme& t) {
    const QRectF well = QRectF(r).adjusted(-1, -1, 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(t.well);
    p.drawRoundedRect(well, 3, 3);
    QLinearGradient shadow(well.topLeft(), well.topLeft() + QPointF(0, 5));
    shadow.setColorAt(0, QColor(0, 0, 0, 90));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawRoundedRect(well, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 45), 1.0));
    p.drawLine(QPointF(well.left() + 3, well.bottom() + 0.5),
               QPointF(well.right() - 3, well.bottom() + 0.5));
}

void paintScrew(QPainter& p, QPointF c, const Theme& t) {
    QPainterPath head;
    head.addEllipse(c, 2.6, 2.6);
    fillFinished(p, head, t.boss, BossSeed, 0, c);
    p.setPen(QPen(t.outline, 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(head);
    p.drawLine(c + QPointF(-1.6, 1.0), c + QPointF(1.6, -1.0));
}

// Four index marks, two pixels wide and centred on the point's axes, so the
// eye finds the exact point even where the colours around it are busy.
void paintIndexMarks(QPainter& p, QPointF c, qreal from, qreal to, const QColor& ink) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const qreal len = to - from;
    p.drawRect(QRectF(c.x() + from, c.y() - 1, len, 2));
    p.drawRect(QRectF(c.x() - to, c.y() - 1, len, 2));
    p.drawRect(QRectF(c.x() - 1, c.y() + from, 2, len));
    p.drawRect(QRectF(c.x() - 1, c.y() - to, 2, len));
}

void paintBoss(QPainter& p, QPointF c, qreal radius, const Theme& t) {
    QPainterPath disc;
    disc.addEllipse(c, radius - 0.5, radius - 0.5);
    fillFinished(p, disc, t.boss, BossSeed, 0, c);
    p.setPen(QPen(t.outline, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(disc);
    paintIndexMarks(p, c, 5.5, radius - 1.5,
                    QColor(t.outline.red(), t.outline.green(), t.outline.blue(), 190));
}

// The needle seen from above: a bright steel point in a dark seat.
void paintNeedle(QPainter& p, QPointF c, qreal radius, const Theme& t) {
    paintBoss(p, c, radius, t);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 27, 31));
    p.drawEllipse(c, 4.2, 4.2);
    QRadialGradient steel(c, 2.8);
    steel.setColorAt(0, QColor(255, 255, 255));
    steel.setColorAt(0.45, QColor(214, 220, 226));
    steel.setColorAt(1, QColor(92, 98, 106));
    p.setBrush(steel);
    p.drawEllipse(c, 2.8, 2.8);
}

// The pencil lead seen from above: a graphite cone whose tip is the darkest
// point, ringed by a light seat.
void paintLead(QPainter& p, QPointF c, qreal radius, const Theme& t) {
    paintBoss(p, c, radius, t);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 238, 240));
    p.drawEllipse(c, 4.3, 4.3);
    QRadialGradient graphite(c, 3.4);
    graphite.setColorAt(0, QColor(8, 8, 9));
    graphite.setColorAt(0.35, QColor(34, 36, 39));
    graphite.setColorAt(1, QColor(112, 117, 124));
    p.setBrush(graphite);
    p.drawEllipse(c, 3.4, 3.4);
}

// A piece image the size of `piece`, painted in sheet coordinates.
QImage pieceCanvas(const QRect& piece, QPainter& p, QImage& img) {
    img = blankImage(piece.size());
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-piece.topLeft());
    return img;
}

void paintPieceDetails(QPainter& p, const SkinArt& s, Placement placement) {
    const SkinLayout& l = s.layout;
    for (const ControlSpot& c : l.controls)
        if (c.placement == placement)
            paintRecess(p, c.rect);
    if (l.readoutPlacement == placement && !l.readout.isEmpty())
        paintWell(p, l.readout, s.theme);
}

QImage paintBase(const SkinArt& s) {
    const SkinLayout& l = s.layout;
    const Theme& t = s.theme;
    QPainter p;
    QImage beam;
    pieceCanvas(l.base, p, beam);
    // The head is drawn over the tiles by copying, so the part of the beam that
    // shows between the head and the first tile must be in the head's picture.
    p.translate(l.bar.topLeft());
    paintBeam(p, l, t, l.pivot.x() - l.bar.left(), l.base.right() + 1 - l.bar.left());
    p.end();
    withHalo(beam, t);

    QImage head;
    pieceCanvas(l.base, p, head);
    const QRectF body(l.base.left() + 2, l.base.top() + 3, l.headRight - 2, l.base.height() - 6);
    paintBody(p, roundedBody(body, 10), t, BaseSeed);
    paintPieceDetails(p, s, OnBase);
    paintNeedle(p, l.pivot, l.needleRadius, t);
    p.end();
    withHalo(head, t);

    QPainter c(&beam);
    c.drawImage(0, 0, head);
    return beam;
}

QImage paintSlide(const SkinArt& s) {
    const SkinLayout& l = s.layout;
    QPainter p;
    QImage img;
    pieceCanvas(l.slide, p, img);
    const QRectF body = QRectF(l.slide).adjusted(2, 3, -2, -3);
    paintBody(p, roundedBody(body, 10), s.theme, SlideSeed);
    paintPieceDetails(p, s, OnSlide);
    paintLead(p, l.lead, l.leadRadius, s.theme);
    p.end();
    withHalo(img, s.theme);
    return img;
}

QImage paintBasePanel(const SkinArt& s) {
    const SkinLayout& l = s.layout;
    QPainter p;
    QImage img;
    pieceCanvas(l.basePanel, p, img);
    const QRectF body = QRectF(l.basePanel).adjusted(1, 1, -1, -1);
    paintBody(p, roundedBody(body, l.roundBasePanel ? body.width() / 2 : 10), s.theme, PanelSeed);
    paintPieceDetails(p, s, OnBasePanel);
    // The keypad's two empty corners get screws.
    for (QPoint corner : {QPoint(0, 2), QPoint(2, 2)}) {
        const QPointF c =
            QPointF(l.basePanel.topLeft()) + QPointF(10 + corner.x() * 16, 10 + corner.y() * 16);
        paintScrew(p, c, s.theme);
    }
    p.end();
    withHalo(img, s.theme);
    return img;
}

QImage paintSlidePanel(const SkinArt& s) {
    const SkinLayout& l = s.layout;
    QPainter p;
    QImage img;
    pieceCanvas(l.slidePanel, p, img);
    paintBody(p, roundedBody(QRectF(l.slidePanel).adjusted(1, 1, -1, -1), 7), s.theme, PanelSeed);
    paintPieceDetails(p, s, OnSlidePanel);
    p.end();
    withHalo(img, s.theme);
    return img;
}

QImage paintBarTile(const SkinArt& s) {
    QImage img = blankImage(s.layout.bar.size());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintBeam(p, s.layout, s.theme, 0, s.layout.bar.width());
    p.end();
    withHalo(img, s.theme, true);
    return img;
}

QByteArray encodeDefinition(const SkinArt& s, const QString& text) {
    return s.legacyEncoding ? encodeGb18030(text) : text.toUtf8();
}

} // namespace

const QStringList& controlKeys() {
    static const QStringList keys = [] {
        QStringList out;
        for (const char16_t* key : kControlKeys)
            out.append(QString::fromUtf16(key));
        return out;
    }();
    return keys;
}

QRect SkinLayout::look(std::size_t controlIndex, Look state) const {
    const QPoint at = looksOrigin + QPoint(int(controlIndex) * lookPitch, int(state) * lookPitch);
    return QRect(at, controls[controlIndex].rect.size());
}

std::vector<SkinArt> shippedSkins() {
    const QString contact = QStringLiteral("skins@orvanta.invalid");
    const QString site = QStringLiteral("https://orvanta.invalid/skins/");
    const QString author = QStringLiteral("Orvanta 设计组");
    const QString englishAuthor = QStringLiteral("The Orvanta designers");

    SkinArt anodised;
    anodised.folder = QStringLiteral("assets/program/default");
    anodised.fileBase = QStringLiteral("default");
    // The menu offers the default skin as "Basic skin"; About this skin says the same.
    anodised.name = QStringLiteral("基础皮肤");
    anodised.author = author;
    anodised.description = QStringLiteral("深色阳极氧化铝圆规头，拉丝铝横梁上每 10 "
                                          "像素一道刻度。小键盘和读数面板始终保持直立。");
    anodised.englishName = QStringLiteral("Basic skin");
    anodised.englishAuthor = englishAuthor;
    anodised.englishDescription =
        QStringLiteral("A dark anodised aluminium head, a brushed aluminium beam with a mark "
                       "every 10 pixels. The keypad and the readout panel always stay upright.");
    anodised.contact = contact;
    anodised.webSite = site;
    anodised.bleedColor = QStringLiteral("2e343b");
    anodised.buttonBleedColor = QStringLiteral("2e343b");
    anodised.layout = instrumentLayout();
    anodised.theme = anodisedTheme();

    SkinArt brass = anodised;
    brass.folder = QStringLiteral("assets/program/skins/Brass");
    brass.fileBase = QStringLiteral("brass");
    brass.bmp = true;
    brass.name = QStringLiteral("黄铜");
    brass.description =
        QStringLiteral("经典黄铜仪器风格，钢制横梁。24 位 BMP 图片，品红色为透明色。");
    brass.englishName = QStringLiteral("Brass");
    brass.englishDescription = QStringLiteral("A classic brass instrument with a steel beam. A "
                                              "24-bit BMP picture, magenta is transparent.");
    // Smoothed edges mix in the bleed colour: brass and dark enamel, not grey.
    brass.bleedColor = QStringLiteral("8a6a2e");
    brass.buttonBleedColor = QStringLiteral("4a2e10");
    brass.fontBold = true;
    brass.theme = brassTheme();

    SkinArt walnut;
    walnut.folder = QStringLiteral("assets/packages/Walnut");
    walnut.fileBase = QStringLiteral("walnut");
    walnut.legacyEncoding = true;
    walnut.name = QStringLiteral("胡桃木");
    walnut.author = author;
    walnut.description =
        QStringLiteral("胡桃木圆规头，黄杨木刻度尺，黄铜配件。读数牌随滑块一起转动。");
    walnut.englishName = QStringLiteral("Walnut");
    walnut.englishAuthor = englishAuthor;
    walnut.englishDescription = QStringLiteral("A walnut head, a boxwood rule and brass fittings. "
                                               "The readout plate turns with the slide.");
    walnut.contact = contact;
    walnut.webSite = site;
    walnut.version = 2;
    walnut.bleedColor = QStringLiteral("4a2c18");
    walnut.buttonBleedColor = QStringLiteral("a87a30");
    walnut.fontBold = true;
    walnut.layout = woodLayout();
    walnut.theme = walnutTheme();

    return {anodised, brass, walnut};
}

QImage paintSheet(const SkinArt& s) {
    const SkinLayout& l = s.layout;
    QImage sheet = blankImage(l.sheet);
    QPainter p(&sheet);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(l.base.topLeft(), paintBase(s));
    p.drawImage(l.bar.topLeft(), paintBarTile(s));
    p.drawImage(l.slide.topLeft(), paintSlide(s));
    if (!l.basePanel.isEmpty())
        p.drawImage(l.basePanel.topLeft(), paintBasePanel(s));
    if (!l.slidePanel.isEmpty())
        p.drawImage(l.slidePanel.topLeft(), paintSlidePanel(s));
    for (std::size_t i = 0; i < l.controls.size(); ++i)
        for (Look look : {Look::Normal, Look::Hover, Look::Down})
            p.drawImage(l.look(i, look).topLeft(),
                        buttonLook(l.controls[i].rect.size(), l.controls[i].key, look, s.theme));
    p.end();

    if (!s.theme.hardEdges)
        return sheet.convertToFormat(QImage::Format_ARGB32);
    hardenEdges(sheet);
    QImage keyed = sheet.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (qAlpha(row[x]) == 0)
                row[x] = kKey;
            else if (row[x] == kKey)
                row[x] = 0xfffe00ff; // a visible pixel must never read as the key
        }
    }
    return keyed;
}

QString definitionText(const SkinArt& s) {
    const SkinLayout& l = s.layout;
    const Theme& t = s.theme;
    QString out;
    auto section = [&](const QString& name) { out += u'[' + name + QStringLiteral("]\r\n"); };
    auto key = [&](const QString& k, const QString& v) {
        out += k + u'=' + v + QStringLiteral("\r\n");
    };
    auto gap = [&] { out += QStringLiteral("\r\n"); };

    section(QStringLiteral("一般"));
    key(QStringLiteral("名称"), s.name);
    key(QStringLiteral("作者"), s.author);
    key(QStringLiteral("描述"), s.description);
    // Readers that know only the keys above skip these.
    if (!s.englishName.isEmpty())
        key(QStringLiteral("Name[en]"), s.englishName);
    if (!s.englishAuthor.isEmpty())
        key(QStringLiteral("Author[en]"), s.englishAuthor);
    if (!s.englishDescription.isEmpty())
        key(QStringLiteral("Description[en]"), s.englishDescription);
    key(QStringLiteral("联系"), s.contact);
    key(QStringLiteral("网站"), s.webSite);
    key(QStringLiteral("版本"), QString::number(s.version));
    key(QStringLiteral("CompassVersion"), QStringLiteral("4"));
    gap();

    section(QStringLiteral("Main"));
    key(QStringLiteral("TransColor"), QStringLiteral("ff00ff"));
    key(QStringLiteral("BleedColor"), s.bleedColor);
    key(QStringLiteral("ButtonBleedColor"), s.buttonBleedColor);
    key(QStringLiteral("BaseColors"), t.baseColors.join(QStringLiteral(", ")));
    key(QStringLiteral("FontFace"), s.fontFace);
    key(QStringLiteral("FontSize"), QString::number(s.fontSize));
    key(QStringLiteral("FontBold"), s.fontBold ? QStringLiteral("1") : QStringLiteral("0"));
    key(QStringLiteral("FontItalic"), QStringLiteral("0"));
    key(QStringLiteral("FontColor"), colorText(t.fontColor));
    key(QStringLiteral("FontColorBack"), colorText(t.well));
    gap();

    section(QStringLiteral("Horizontal"));
    key(QStringLiteral("Image"),
        s.fileBase + (s.bmp ? QStringLiteral(".bmp") : QStringLiteral(".png")));
    key(QStringLiteral("BaseRect"), rectText(l.base));
    key(QStringLiteral("BaseEdge"), QString::number(l.pivot.x() - l.base.left()));
    key(QStringLiteral("SlideRect"), rectText(l.slide));
    key(QStringLiteral("SlideEdge"), QString::number(l.lead.x() - l.base.left()));
    key(QStringLiteral("BarRect"), rectText(l.bar));
    if (!l.basePanel.isEmpty()) {
        key(QStringLiteral("BasePanelRect"), rectText(l.basePanel));
        key(QStringLiteral("BasePanelCenter"), pointText(l.basePanelCenter));
        key(QStringLiteral("BasePanelAnchor"), pointText(l.basePanelCenter));
    }
    if (!l.slidePanel.isEmpty()) {
        key(QStringLiteral("SlidePanelRect"), rectText(l.slidePanel));
        key(QStringLiteral("SlidePanelCenter"), pointText(l.slidePanelCenter));
        key(QStringLiteral("SlidePanelAnchor"), pointText(l.slidePanelCenter));
    }
    key(QStringLiteral("SizeRect"),
        rectText(l.readout) + QStringLiteral(", ") + QString::number(l.readoutPlacement));
    for (const ControlSpot& c : l.controls)
        key(controlKeys()[c.key],
            rectText(c.rect) + QStringLiteral(", ") + QString::number(c.placement));
    gap();

    const std::pair<const char*, Look> looks[] = {{"HorizontalControls", Look::Normal},
                                                  {"HorizontalControlsOver", Look::Hover},
                                                  {"HorizontalControlsDown", Look::Down}};
    for (const auto& [name, look] : looks) {
        section(QString::fromLatin1(name));
        for (std::size_t i = 0; i < l.controls.size(); ++i)
            key(controlKeys()[l.controls[i].key], rectText(l.look(i, look)));
        gap();
    }
    return out;
}

void writeSkin(const SkinArt& s, const QString& repoRoot) {
    const QString folder = repoRoot + u'/' + s.folder + u'/';
    writeBytes(folder + s.fileBase + QStringLiteral(".ini"),
               encodeDefinition(s, definitionText(s)));
    const QImage sheet = paintSheet(s);
    if (s.bmp)
        writeBytes(folder + s.fileBase + QStringLiteral(".bmp"), bmp24(sheet));
    else
        writePng(folder + s.fileBase + QStringLiteral(".png"), sheet);
}

} // namespace orvanta::art
