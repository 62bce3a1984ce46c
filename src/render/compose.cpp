#include "render/compose.h"

#include "model/numbers.h"
#include "render/pieces.h"
#include "skins/picture.h"

#include <QFontMetrics>
#include <cmath>

namespace orvanta {

namespace {

[[nodiscard]] TPlacement placementOf(const TRectPlus& r) {
    if (r.OnPanel)
        return r.OnBase ? TPlacement::BasePanel : TPlacement::SlidePanel;
    return r.OnBase ? TPlacement::Base : TPlacement::Slide;
}

[[nodiscard]] QString partName(TPlacement p) {
    switch (p) {
    case TPlacement::Base:
        return QStringLiteral("base part");
    case TPlacement::Slide:
        return QStringLiteral("sliding part");
    case TPlacement::BasePanel:
        return QStringLiteral("base panel");
    case TPlacement::SlidePanel:
        return QStringLiteral("slide panel");
    }
    return {};
}

[[nodiscard]] QRect pieceRect(const TRect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

class LayerBuilder {
public:
    LayerBuilder(const TDervikSkin& skin, const TSkinPictures& pictures, bool smooth,
                 QStringList& warnings)
        : m_skin(skin), m_pictures(pictures), m_smooth(smooth), m_warnings(warnings),
          m_bleed(colorToRgb(skin.GetBleedColor(), 0)),
          m_buttonBleed(colorToRgb(skin.GetButtonBleedColor(), 0)) {}

    TLayerStack Build(int measureType) {
        TRotLayer* base = AddPieceLayer(QImage());
        base->Pivot = CompassPivot(m_skin);
        m_stack.gBaseLayer = base;
        m_stack.gBarBitmap = CutPiece(m_pictures.Body, pieceRect(m_skin.BarRect), m_bleed);
        m_stack.gBaseBitmap = CutPiece(m_pictures.Body, pieceRect(m_skin.BaseRect), m_bleed);
        AddControls(TPlacement::Base);
        m_stack.gSlideLayer = AddBodyPiece(m_skin.SlideRect);
        if (!m_skin.BasePanelRect.isUnset())
            m_stack.gBasePanelLayer = AddBodyPiece(m_skin.BasePanelRect);
        AddControls(TPlacement::BasePanel);
        if (!m_skin.SlidePanelRect.isUnset())
            m_stack.gSlidePanelLayer = AddBodyPiece(m_skin.SlidePanelRect);
        AddControls(TPlacement::SlidePanel);
        if (!m_skin.SizeRect.GetRect(TRectPlus::Placement).isUnset())
            AddReadout();
        AddControls(TPlacement::Slide);
        RaiseMeasureTypeControl(m_stack, measureType);

        auto shape = std::make_unique<TShapeLayer>();
        shape->Pivot = base->Pivot;
        shape->Smooth = m_smooth;
        m_stack.gShapeLayer = m_stack.Add(std::move(shape));
        return std::move(m_stack);
    }

private:
    TRotLayer* AddPieceLayer(QImage bitmap) {
        auto layer = std::make_unique<TRotLayer>();
        layer->Bitmap = std::move(bitmap);
        layer->Smooth = m_smooth;
        layer->AlphaHit = true;
        return m_stack.Add(std::move(layer));
    }

    TRotLayer* AddBodyPiece(const TRect& r) {
        return AddPieceLayer(CutPiece(m_pictures.Body, pieceRect(r), m_bleed));
    }

    TRotLayer* AddControlLook(const TRectPlus& control, int state) {
        return AddPieceLayer(
            CutPiece(m_pictures.Controls, pieceRect(control.GetRect(state)), m_buttonBleed));
    }

    // Where a control or the readout goes: on the panel its placement names,
    // or, when the skin has no such panel, on the part that panel would hang
    // from, so that it still moves with the compass.
    TPlacement EffectivePlacement(const TRectPlus& r, const QString& key) {
        const TPlacement wanted = placementOf(r);
        TPlacement fallback = wanted;
        if (wanted == TPlacement::BasePanel && m_skin.BasePanelRect.isUnset())
            fallback = TPlacement::Base;
        else if (wanted == TPlacement::SlidePanel && m_skin.SlidePanelRect.isUnset())
            fallback = TPlacement::Slide;
        if (fallback != wanted)
            m_warnings.append(QStringLiteral("Skin \"%1\": %2 is placed on the %3, which the skin "
                                             "does not have; it is drawn on the %4 instead.")
                                  .arg(m_skin.Name, key, partName(wanted), partName(fallback)));
        return fallback;
    }

    void AddControls(TPlacement placement) {
        for (int i = 0; i < kControlCount; ++i) {
            const TRectPlus& control = m_skin.Controls[std::size_t(i)];
            if (placementOf(control) != placement ||
                control.GetRect(TRectPlus::Placement).isUnset())
                continue;
            TControlLayers& triple = m_stack.gControlLayers[std::size_t(i)];
            triple.Placement =
                EffectivePlacement(control, QString::fromUtf16(kControlKeys[std::size_t(i)]));
            triple.Normal = AddControlLook(control, TRectPlus::Normal);
            triple.Pressed = AddControlLook(control, TRectPlus::Pressed);
            triple.Pressed->Visible = false;
            triple.Hover = AddControlLook(control, TRectPlus::Hover);
            triple.Hover->Visible = false;
        }
    }

    void AddReadout() {
        const TRect area = m_skin.SizeRect.GetRect(TRectPlus::Placement);
        m_stack.ReadoutPlacement = EffectivePlacement(m_skin.SizeRect, QStringLiteral("SizeRect"));
        QImage bitmap(std::max(area.width(), 0), std::max(area.height(), 0), QImage::Format_ARGB32);
        TRotLayer* readout = AddPieceLayer(std::move(bitmap));
        // Text on an upright panel is never resampled, so it stays crisp.
        const bool onPanel = m_stack.ReadoutPlacement == TPlacement::BasePanel ||
                             m_stack.ReadoutPlacement == TPlacement::SlidePanel;
        readout->Smooth = m_smooth && !onPanel;
        m_stack.gReadoutLayer = readout;
        m_stack.ReadoutFont =
            ReadoutFont(m_skin.FontFace, m_skin.FontSize, m_skin.FontBold, m_skin.FontItalic);
        m_stack.ReadoutColour = colorToRgb(m_skin.GetFontColor());
        m_stack.ReadoutBackground = colorToRgb(m_skin.GetFontColorBack(), 0);
    }

    const TDervikSkin& m_skin;
    const TSkinPictures& m_pictures;
    bool m_smooth;
    QStringList& m_warnings;
    QRgb m_bleed;
    QRgb m_buttonBleed;
    TLayerStack m_stack;
};

} // namespace

QPointF CompassPivot(const TDervikSkin& skin) {
    // Integer division as skins are drawn for: on an even bar the pivot sits on
    // the lower of the two middle rows.
    const int middle = skin.BarRect.top + (skin.BarRect.bottom - skin.BarRect.top) / 2;
    return QPointF(skin.BaseEdge, middle - skin.BaseRect.top);
}

TSkinPictures LoadSkinPictures(const TDervikSkin& skin) {
    const QImage picture = loadPicture(skin.Image);
    if (skin.ImageIsPng)
        return {picture, picture};
    const QRgb key = colorToRgb(skin.GetTransColor());
    return {KeyOutColour(picture, key, colorToRgb(skin.GetBleedColor(), 0)),
            KeyOutColour(picture, key, colorToRgb(skin.GetButtonBleedColor(), 0))};
}

TLayerStack BuildLayers(const TDervikSkin& skin, const TSkinPictures& pictures, bool smooth,
                        int measureType, QStringList& warnings) {
    return LayerBuilder(skin, pictures, smooth, warnings).Build(measureType);
}

QFont ReadoutFont(const QString& face, int cellHeight, bool bold, bool italic) {
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

TComposeResult Compose(TDervikSkin& skin, const TDervikOptions& options, TCompass& state,
                       TLayerStack& stack) {
    TComposeResult result;
    TLayerStack built;
    try {
        built = BuildLayers(skin, LoadSkinPictures(skin), options.Quality, options.MeasureType,
                            result.Warnings);
    } catch (const OrvantaError& e) {
        result.Ok = false;
        result.Error = e.message();
        result.Warnings.clear();
        return result;
    }
    skin.BaseColorIndex = options.SelectedBaseColor;
    if (stack.gBaseLayer) {
        // Keep the pivot where it was on the screen: a skin whose base edge is
        // 20 pixels wider moves the compass 20 pixels left.
        const QPointF before = stack.gBaseLayer->Pivot;
        const QPointF after = built.gBaseLayer->Pivot;
        state.FPosX += std::int32_t(roundHalfEven(before.x()) - roundHalfEven(after.x()));
        state.FPosY += std::int32_t(roundHalfEven(before.y()) - roundHalfEven(after.y()));
    }
    stack = std::move(built);
    state.FComposed = true;
    state.FNeedsRepaint = true;
    return result;
}

} // namespace orvanta
