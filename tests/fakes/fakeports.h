// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Fakes of the interaction's ports and a rig that wires them to a compass
// model, for the tests: regions are plain pixel regions, the window records
// what it was asked to do, and time passes only when a test says so.

#include "interaction/compassinteraction.h"

#include <QRegion>
#include <QStringList>
#include <QTemporaryDir>
#include <map>

namespace orvanta::fakes {

class FakeLayers final : public HitLayers {
public:
    struct Control {
        QRegion region;
        bool visible[3] = {true, false, false}; // normal, pressed, hover
        int stack = 0;
        bool onBase = true;
    };

    // Each control added lies above the ones added before.
    void add(SkinControl key, const QRegion& region, bool onBase = true) {
        controls[key] = Control{region, {true, false, false}, nextStack++, onBase};
    }
    [[nodiscard]] bool shown(SkinControl key, ControlLayer layer) const {
        return controls.at(key).visible[int(layer)];
    }

    bool controlExists(SkinControl key) const override { return controls.contains(key); }
    bool hitsControl(SkinControl key, QPoint p) const override {
        return controls.at(key).region.contains(p);
    }
    bool isVisible(SkinControl key, ControlLayer layer) const override { return shown(key, layer); }
    void setVisible(SkinControl key, ControlLayer layer, bool visible) override {
        controls.at(key).visible[int(layer)] = visible;
    }
    int stackIndex(SkinControl key) const override { return controls.at(key).stack; }
    bool anchoredToBase(SkinControl key) const override {
        return !controls.contains(key) || controls.at(key).onBase;
    }
    bool hitsSlide(QPoint p) const override { return slide.contains(p); }
    bool hitsBase(QPoint p) const override { return base.contains(p); }
    bool hitsShape(QPoint p) const override { return shape.contains(p); }
    std::optional<QRect> readoutBounds() const override { return readout; }
    QPointF basePivot() const override { return pivot; }

    std::map<SkinControl, Control> controls;
    QRegion slide, base, shape;
    std::optional<QRect> readout;
    QPointF pivot;

private:
    int nextStack = 0;
};

class FakeWindow final : public CompassActions, public CompassSurface {
public:
    QPoint virtualOrigin() const override { return origin; }
    void setCursorShape(int number) override { cursorShape = number; }
    void showToolTip(const QString& text, QPoint screenPos) override {
        toolTip = text;
        toolTipPos = screenPos;
        toolTipShown = true;
    }
    void hideToolTip() override { toolTipShown = false; }
    void applyStayOnTop() override {}
    void popupMenu(QPoint screenPos) override {
        calls << QStringLiteral("PopupMenu");
        menuPos = screenPos;
    }
    void requestHide() override { calls << QStringLiteral("RequestHide"); }
    void closeCompass() override { calls << QStringLiteral("Close"); }
    void nextBaseColor() override { calls << QStringLiteral("NextBaseColor"); }
    void reloadSkin() override { calls << QStringLiteral("ReloadSkin"); }
    void setMeasureType(int type) override {
        calls << QStringLiteral("SetMeasureType %1").arg(type);
    }
    void startNewInstance() override { calls << QStringLiteral("StartNewInstance"); }
    void showHelp() override { calls << QStringLiteral("ShowHelp"); }
    QString clipboardText() const override { return clipboard; }
    void setClipboardText(const QString& text) override { clipboard = text; }
    bool hasTray() const override { return tray; }
    void optionsChanged() override { calls << QStringLiteral("OptionsChanged"); }

    QPoint origin;
    int cursorShape = 0;
    QString toolTip;
    QPoint toolTipPos;
    bool toolTipShown = false;
    QPoint menuPos;
    QString clipboard;
    bool tray = true;
    QStringList calls;
};

class FakeCursor final : public MousePointer {
public:
    QPoint position() const override { return pos; }
    void setPosition(QPoint screenPos) override { pos = screenPos; }
    QPoint pos;
};

class FakeClock final : public Clock {
public:
    std::uint32_t nowMs() const override { return now; }
    std::uint32_t now = 5000;
};

class FakeTimer final : public RepeatTimer {
public:
    void start(int intervalMs) override {
        interval = intervalMs;
        sinceStart = 0;
    }
    void stop() override { interval = 0; }
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
          ui(model, {layers, window, window, cursor, clock, timer}) {
        CompassState& s = model.state;
        s.posX = 200;
        s.posY = 200;
        s.measurement = 100;
        s.maxLength = 5000;
        s.composed = true;
        layers.pivot = {10, 10};
        layers.base = QRegion(190, 190, 40, 40);
        layers.slide = QRegion(300, 195, 30, 30);
    }

    // Lets `ms` milliseconds pass one by one, firing the repeat timer when due.
    void advance(int ms) {
        for (int i = 0; i < ms; ++i) {
            ++clock.now;
            if (timer.interval > 0 && ++timer.sinceStart >= timer.interval) {
                timer.sinceStart = 0;
                ui.moverTick();
            }
        }
    }

    QTemporaryDir dir;
    Settings options;
    UnitTable units;
    CompassModel model;
    FakeLayers layers;
    FakeWindow window;
    FakeCursor cursor;
    FakeClock clock;
    FakeTimer timer;
    CompassInteraction ui;
};

} // namespace orvanta::fakes
