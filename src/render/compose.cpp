// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "render/compose.h"

#include "model/numbers.h"
#include "render/logging.h"
#include "render/pieces.h"
#include "skins/picture.h"

#include <QFontMetrics>
#include <cmath>

namespace orvanta {

namespace {

[[nodiscard]] Placement placementOf(const ControlRects& r) {
    if (r.onPanel)
        return r.onBase ? Placement::BasePanel : Placement::SlidePanel;
    return r.onBase ? Placement::Base : Placement::Slide;
}

[[nodiscard]] QString partName(Placement p) {
    switch (p) {
    case Placement::Base:
        return QStringLiteral("base part");
    case Placement::Slide:
        return QStringLiteral("sliding part");
    case Placement::BasePanel:
        return QStringLiteral("base panel");
    case Placement::SlidePanel:
        return QStringLiteral("slide panel");
    }
    return {};
}

[[nodiscard]] QRect pieceRect(const SkinRect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

class LayerBuilder {
public:
    LayerBuilder(const Skin& skin, const SkinPictures& pictures, bool smooth, QStringList& warnings)
        : m_skin(skin), m_pictures(pictures), m_smooth(smooth), m_warnings(warnings),
          m_bleed(colorToRgb(skin.bleedColor(), 0)),
          m_buttonBleed(colorToRgb(skin.buttonBleedColor(), 0)) {}

    LayerStack build(int measureType) {
        Layer* base = addPieceLayer(QImage());
        base->pivot = compassPivot(m_skin);
        m_stack.baseLayer = base;
        m_stack.barBitmap = cutPiece(m_pictures.body, pieceRect(m_skin.barRect), m_bleed);
        m_stack.baseBitmap = cutPiece(m_pictures.body, pieceRect(m_skin.baseRect), m_bleed);
        addControls(Placement::Base);
        m_stack.slideLayer = addBodyPiece(m_skin.slideRect);
        if (!m_skin.basePanelRect.isUnset())
            m_stack.basePanelLayer = addBodyPiece(m_skin.basePanelRect);
        addControls(Placement::BasePanel);
        if (!m_skin.slidePanelRect.isUnset())
            m_stack.slidePanelLayer = addBodyPiece(m_skin.slidePanelRect);
        addControls(Placement::SlidePanel);
        if (!m_skin.sizeRect.rect(ControlRects::Placement).isUnset())
            addReadout();
        addControls(Placement::Slide);
        raiseMeasureTypeControl(m_stack, measureType);

        auto shape = std::make_unique<ShapeLayer>();
        shape->pivot = base->pivot;
        shape->smooth = m_smooth;
        m_stack.shapeLayer = m_stack.add(std::move(shape));
        return std::move(m_stack);
    }

private:
    Layer* addPieceLayer(QImage bitmap) {
        auto layer = std::make_unique<Layer>();
        layer->bitmap = std::move(bitmap);
        layer->smooth = m_smooth;
        layer->alphaHit = true;
        return m_stack.add(std::move(layer));
    }

    Layer* addBodyPiece(const SkinRect& r) {
        return addPieceLayer(cutPiece(m_pictures.body, pieceRect(r), m_bleed));
    }

    Layer* addControlLook(const ControlRects& control, int state) {
        return addPieceLayer(
            cutPiece(m_pictures.controls, pieceRect(control.rect(state)), m_buttonBleed));
    }

    // Where a control or the readout goes: on the panel its placement names,
    // or, when the skin has no such panel, on the part that panel would hang
    // from, so that it still moves with the compass.
    Placement effectivePlacement(const ControlRects& r, const QString& key) {
        const Placement wanted = placementOf(r);
        Placement fallback = wanted;
        if (wanted == Placement::BasePanel && m_skin.basePanelRect.isUnset())
            fallback = Placement::Base;
        else if (wanted == Placement::SlidePanel && m_skin.slidePanelRect.isUnset())
            fallback = Placement::Slide;
        if (fallback != wanted)
            m_warnings.append(QStringLiteral("Skin \"%1\": %2 is placed on the %3, which the skin "
                                             "does not have; it is drawn on the %4 instead.")
                                  .arg(m_skin.name, key, partName(wanted), partName(fallback)));
        return fallback;
    }

    void addControls(Placement placement) {
        for (int i = 0; i < kControlCount; ++i) {
            const ControlRects& control = m_skin.controls[std::size_t(i)];
            if (placementOf(control) != placement ||
                control.rect(ControlRects::Placement).isUnset())
                continue;
            ControlLayers& triple = m_stack.controlLayers[std::size_t(i)];
            triple.placement =
                effectivePlacement(control, QString::fromUtf16(kControlKeys[std::size_t(i)]));
            triple.normal = addControlLook(control, ControlRects::Normal);
            triple.pressed = addControlLook(control, ControlRects::Pressed);
            triple.pressed->visible = false;
            triple.hover = addControlLook(control, ControlRects::Hover);
            triple.hover->visible = false;
        }
    }

    void addReadout() {
        const SkinRect area = m_skin.sizeRect.rect(ControlRects::Placement);
        m_stack.readoutPlacement = effectivePlacement(m_skin.sizeRect, QStringLiteral("SizeRect"));
        QImage bitmap(std::max(area.width(), 0), std::max(area.height(), 0), QImage::Format_ARGB32);
        Layer* readout = addPieceLayer(std::move(bitmap));
        // Text on an upright panel is never resampled, so it stays crisp.
        const bool onPanel = m_stack.readoutPlacement == Placement::BasePanel ||
                             m_stack.readoutPlacement == Placement::SlidePanel;
        readout->smooth = m_smooth && !onPanel;
        m_stack.readoutLayer = readout;
        m_stack.readoutFont =
            readoutFont(m_skin.fontFace, m_skin.fontSize, m_skin.fontBold, m_skin.fontItalic);
        m_stack.readoutColour = colorToRgb(m_skin.fontColor());
        m_stack.readoutBackground = colorToRgb(m_skin.fontColorBack(), 0);
    }

    const Skin& m_skin;
    const SkinPictures& m_pictures;
    bool m_smooth;
    QStringList& m_warnings;
    QRgb m_bleed;
    QRgb m_buttonBleed;
    LayerStack m_stack;
};

} // namespace

QPointF compassPivot(const Skin& skin) {
    // Integer division as skins are drawn for: on an even bar the pivot sits on
    // the lower of the two middle rows.
    const int middle = skin.barRect.top + (skin.barRect.bottom - skin.barRect.top) / 2;
    return QPointF(skin.baseEdge, middle - skin.baseRect.top);
}

SkinPictures loadSkinPictures(const Skin& skin) {
    const QImage picture = loadPicture(skin.image);
    if (skin.imageIsPng)
        return {picture, picture};
    const QRgb key = colorToRgb(skin.transColor());
    return {keyOutColour(picture, key, colorToRgb(skin.bleedColor(), 0)),
            keyOutColour(picture, key, colorToRgb(skin.buttonBleedColor(), 0))};
}

LayerStack buildLayers(const Skin& skin, const SkinPictures& pictures, bool smooth, int measureType,
                       QStringList& warnings) {
    return LayerBuilder(skin, pictures, smooth, warnings).build(measureType);
}

QFont readoutFont(const QString& face, int cellHeight, bool bold, bool italic) {
    QFont font(face);
    font.setBold(bold);
    font.setItalic(italic);
    cellHeight = std::max(cellHeight, 1);
    font.setPixelSize(cellHeight);
    // Skin sizes are character cell heights; a pixel size is the em height,
    // which is smaller by the font's internal leading.
    const int measured = QFontMetrics(font).height();
    if (measured > cellHeight)
        font.setPixelSize(
            std::max(1, int(std::lround(double(cellHeight) * cellHeight / measured))));
    return font;
}

ComposeResult compose(Skin& skin, const Settings& options, CompassState& state, LayerStack& stack) {
    ComposeResult result;
    LayerStack built;
    try {
        built = buildLayers(skin, loadSkinPictures(skin), options.quality, int(options.measureType),
                            result.warnings);
    } catch (const OrvantaError& e) {
        result.ok = false;
        result.error = e.userMessage();
        result.warnings.clear();
        return result;
    }
    // The window shows none of these: the skin is drawn as well as it can be.
    for (const QString& warning : std::as_const(result.warnings))
        qCWarning(lcRender).noquote() << warning;
    qCDebug(lcRender).noquote() << "Composed" << built.layers().size() << "layers of"
                                << skin.fileName;
    skin.baseColorIndex = options.selectedBaseColor;
    if (stack.baseLayer) {
        // Keep the pivot where it was on the screen: a skin whose base edge is
        // 20 pixels wider moves the compass 20 pixels left.
        const QPointF before = stack.baseLayer->pivot;
        const QPointF after = built.baseLayer->pivot;
        state.posX += std::int32_t(roundHalfEven(before.x()) - roundHalfEven(after.x()));
        state.posY += std::int32_t(roundHalfEven(before.y()) - roundHalfEven(after.y()));
    }
    stack = std::move(built);
    state.composed = true;
    state.needsRepaint = true;
    return result;
}

} // namespace orvanta
