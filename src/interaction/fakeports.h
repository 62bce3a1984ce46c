#pragma once
// Fakes of the interaction's ports and a rig that wires them to a compass
// model, for the tests: regions are plain pixel regions, the window records
// what it was asked to do, and time passes only when a test says so.

#include "interaction/interaction.h"

#include <QRegion>
#include <QStringList>
#include <QTemporaryDir>
#include <map>

namespace orvanta::fakes {

class FakeLayers final : public ICompassLayers {
public:
    struct Control {
        QRegion region;
        bool visible[3] = {true, false, false}; // normal, pressed, hover
        int stack = 0;
        bool onBase = true;
    };

    // Each control added lies above the ones added before.
    void Add(SkinControl key, const QRegion& region, bool onBase = true) {
        controls[key] = Control{region, {true, false, false}, nextStack++, onBase};
    }
    [[nodiscard]] bool Shown(SkinControl key, ControlLayer layer) const {
        return controls.at(key).visible[int(layer)];
    }

    bool ControlExists(SkinControl key) const override { return controls.contains(key); }
    bool HitsControl(SkinControl key, QPoint p) const override {
        return controls.at(key).region.contains(p);
    }
    bool IsVisible(SkinControl key, ControlLayer layer) const override { return Shown(key, layer); }
    void SetVisible(SkinControl key, ControlLayer layer, bool visible) override {
        controls.at(key).visible[int(layer)] = visible;
    }
    int StackIndex(SkinControl key) const override { return controls.at(key).stack; }
    bool AnchoredToBase(SkinControl key) const override {
        return !controls.contains(key) || controls.at(key).onBase;
    }
    bool HitsSlide(QPoint p) const override { return slide.contains(p); }
    bool HitsBase(QPoint p) const override { return base.contains(p); }
    bool HitsShape(QPoint p) const override { return shape.contains(p); }
    std::optional<QRect> ReadoutBounds() const override { return readout; }
    QPointF BasePivot() const override { return pivot; }

    std::map<SkinControl, Control> controls;
    QRegion slide, base, shape;
    std::optional<QRect> readout;
    QPointF pivot;

private:
    int nextStack = 0;
};

class FakeWindow final : public IWindowActions {
public:
    QPoint VirtualOrigin() const override { return origin; }
    void SetCursorShape(int number) override { cursorShape = number; }
    void ShowHint(const QString& text, QPoint screenPos) override {
        hint = text;
        hintPos = screenPos;
        hintShown = true;
    }
    void HideHint() override { hintShown = false; }
    void ApplyStayOnTop() override {}
    void PopupMenu(QPoint screenPos) override {
        calls << QStringLiteral("PopupMenu");
        menuPos = screenPos;
    }
    void RequestHide() override { calls << QStringLiteral("RequestHide"); }
    void Close() override { calls << QStringLiteral("Close"); }
    void NextBaseColor() override { calls << QStringLiteral("NextBaseColor"); }
    void ReloadSkin() override { calls << QStringLiteral("ReloadSkin"); }
    void SetMeasureType(int type) override {
        calls << QStringLiteral("SetMeasureType %1").arg(type);
    }
    void StartNewInstance() override { calls << QStringLiteral("StartNewInstance"); }
    void ShowHelp() override { calls << QStringLiteral("ShowHelp"); }
    QString ClipboardText() const override { return clipboard; }
    void SetClipboardText(const QString& text) override { clipboard = text; }
    void OptionsChanged() override { calls << QStringLiteral("OptionsChanged"); }

    QPoint origin;
    int cursorShape = 0;
    QString hint;
    QPoint hintPos;
    bool hintShown = false;
    QPoint menuPos;
    QString clipboard;
    QStringList calls;
};

class FakeCursor final : public ICursor {
public:
    QPoint Position() const override { return pos; }
    void SetPosition(QPoint screenPos) override { pos = screenPos; }
    QPoint pos;
};

class FakeClock final : public IClock {
public:
    std::uint32_t NowMs() const override { return now; }
    std::uint32_t now = 5000;
};

class FakeTimer final : public IRepeatTimer {
public:
    void Start(int intervalMs) override {
        interval = intervalMs;
        sinceStart = 0;
    }
    void Stop() override { interval = 0; }
    int interval = 0; // 0 while stopped
    int sinceStart = 0;
};

// A compass at (200, 200) whose pivot lies 10 pixels right of and below that,
// at (210, 210), with the base around the pivot and the slide 100 pixels to its
// right, at spread 100 and angle 0. No controls until a test adds them.
struct Rig {
    Rig()
        : options(dir.filePath(QStringLiteral("Compass.ini")), QChar('.')),
          units(dir.path(), QString(), QChar('.')), model(options, units, QChar('.')),
          ui(model, {layers, window, cursor, clock, timer}) {
        TCompass& s = model.state;
        s.FPosX = 200;
        s.FPosY = 200;
        s.FMeasurement = 100;
        s.FMaxLength = 5000;
        s.FComposed = true;
        layers.pivot = {10, 10};
        layers.base = QRegion(190, 190, 40, 40);
        layers.slide = QRegion(300, 195, 30, 30);
    }

    // Lets `ms` milliseconds pass one by one, firing the repeat timer when due.
    void Advance(int ms) {
        for (int i = 0; i < ms; ++i) {
            ++clock.now;
            if (timer.interval > 0 && ++timer.sinceStart >= timer.interval) {
                timer.sinceStart = 0;
                ui.MoverTick();
            }
        }
    }

    QTemporaryDir dir;
    TDervikOptions options;
    TMeasurements units;
    CompassModel model;
    FakeLayers layers;
    FakeWindow window;
    FakeCursor cursor;
    FakeClock clock;
    FakeTimer timer;
    CompassInteraction ui;
};

} // namespace orvanta::fakes
