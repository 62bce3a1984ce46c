#include "render/renderer.h"

#include <QFontMetrics>
#include <QPainter>

namespace orvanta {

namespace {

[[nodiscard]] bool isPanel(TPlacement p) {
    return p == TPlacement::BasePanel || p == TPlacement::SlidePanel;
}

// A layer that turns with the compass: about the compass's pivot in the window.
void turnWithCompass(TRotLayer& layer, const TFrameGeometry& g) {
    layer.Pivot = g.Centre - layer.Position;
    layer.Angle = float(-g.Angle);
}

} // namespace

TFrame TCompassRenderer::IdleUpdate(TRenderInput& in) {
    if (Layers.Empty())
        return {};
    if (in.Model.state.FNeedsRepaint)
        return RenderCompass(in);
    if (FNeedsWindowUpdate || in.Foreground == FDrawnInactive)
        return UpdateWindow(in.Model.options, in.Foreground);
    return {};
}

TFrame TCompassRenderer::RenderCompass(TRenderInput& in) {
    TFrame frame;
    if (Layers.Empty())
        return frame;
    TCompass& state = in.Model.state;
    m_window.SetSize(in.Desktop.virtualRect.size());
    state.NormalizeCompass(in.Model.options, in.CtrlDown);
    frame.ReadoutChanged = in.Model.UpdateReadout();
    PlaceLayers(in);

    const QRect bounds = LayerBounds(Layers);
    if (!MeetsDesktop(bounds, in.Desktop)) {
        CentreOnScreen(state, in.Desktop);
        frame.Recentred = true;
        return frame;
    }
    const TFrame pushed = Present(in.Model.options, in.Foreground, bounds);
    frame.Pushed = pushed.Pushed;
    frame.Dirty = pushed.Dirty;
    frame.Rendered = true;
    state.StoreCompassState(in.Model.options);
    return frame;
}

TFrame TCompassRenderer::UpdateWindow(const TDervikOptions& options, bool foreground) {
    return Present(options, foreground, LayerBounds(Layers));
}

TFrame TCompassRenderer::Present(const TDervikOptions& options, bool foreground,
                                 const QRect& bounds) {
    TFrame frame;
    FDrawnInactive = !foreground;
    FNeedsWindowUpdate = false;
    FBounds = bounds & WindowImage().rect();
    frame.Dirty = m_window.Present(Layers, bounds, WindowAlpha(options.Transparency, foreground));
    frame.Pushed = !frame.Dirty.isEmpty();
    return frame;
}

void TCompassRenderer::CentreOnScreen(TCompass& state, const DesktopGeometry& desktop) const {
    const QPointF pivot = Layers.gBaseLayer ? Layers.gBaseLayer->Pivot : QPointF();
    orvanta::CentreOnScreen(state, desktop, pivot);
}

void TCompassRenderer::PlaceLayers(TRenderInput& in) {
    const TCompass& state = in.Model.state;
    const TDervikOptions& options = in.Model.options;
    TDervikSkin& skin = in.Skin;
    const int spread = int(state.FMeasurement);
    TRotLayer& base = *Layers.gBaseLayer;
    const TFrameGeometry g = FrameGeometry(skin, base.Pivot, QPoint(state.FPosX, state.FPosY),
                                           spread, double(state.FDisplayAngle));
    m_geometry = g;

    BuildBaseBitmap(base.Bitmap, BarTiles(skin, spread, Layers.gBaseBitmap.size()),
                    Layers.gBaseBitmap, Layers.gBarBitmap);
    base.Position = QPointF(g.Origin);
    base.Angle = float(-g.Angle);

    if (TRotLayer* slide = Layers.gSlideLayer) {
        slide->Position = g.SlidePosition;
        turnWithCompass(*slide, g);
    }
    if (TRotLayer* panel = Layers.gBasePanelLayer) {
        panel->Position = g.BasePanelPosition;
        panel->Angle = 0.0f;
    }
    if (TRotLayer* panel = Layers.gSlidePanelLayer) {
        panel->Position = g.SlidePanelPosition;
        panel->Angle = 0.0f;
    }

    if (TRotLayer* readout = Layers.gReadoutLayer) {
        readout->Position = ControlPosition(skin, g, skin.SizeRect.GetRect(TRectPlus::Placement),
                                            Layers.ReadoutPlacement);
        if (isPanel(Layers.ReadoutPlacement))
            readout->Angle = 0.0f;
        else
            turnWithCompass(*readout, g);
        DrawReadout(state.FDisplayText);
    }

    if (TShapeLayer* shape = Layers.gShapeLayer) {
        TFigure figure = Figure(options.Shape, options.Scribe, spread, g.Angle);
        shape->Outline = std::move(figure.Outline);
        shape->Side = figure.Side;
        shape->Position = g.Centre - QPointF(figure.K + 1, figure.K + 1);
        shape->Angle = 0.0f;
        shape->Colour = colorToRgb(skin.GetBaseColor());
        shape->Antialiased = options.Quality;
    }

    for (int i = 0; i < kControlCount; ++i) {
        const TControlLayers& triple = Layers.gControlLayers[std::size_t(i)];
        if (!triple.Exists())
            continue;
        TRotLayer& normal = *triple.Normal;
        normal.Position = ControlPosition(
            skin, g, skin.Controls[std::size_t(i)].GetRect(TRectPlus::Placement), triple.Placement);
        if (isPanel(triple.Placement))
            normal.Angle = 0.0f;
        else
            turnWithCompass(normal, g);
        for (TRotLayer* look : {triple.Pressed, triple.Hover}) {
            look->Position = normal.Position;
            look->Pivot = normal.Pivot;
            look->Angle = normal.Angle;
        }
    }
}

void TCompassRenderer::DrawReadout(const QString& text) {
    QImage& bitmap = Layers.gReadoutLayer->Bitmap;
    bitmap.fill(Layers.ReadoutBackground);
    if (bitmap.isNull() || text.isEmpty())
        return;
    QPainter p(&bitmap);
    p.setFont(Layers.ReadoutFont);
    p.setPen(QColor::fromRgba(Layers.ReadoutColour));
    const QFontMetrics metrics(Layers.ReadoutFont);
    const int x = ReadoutTextX(bitmap.width(), metrics.horizontalAdvance(text));
    p.drawText(QPoint(x, metrics.ascent()), text);
}

} // namespace orvanta
