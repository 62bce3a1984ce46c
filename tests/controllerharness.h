// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// A controller on a copy of the built program folder with every port faked:
// the view records what it was asked, messages and autostart calls are kept,
// the cursor, the clock and the repeat timer are the interaction tests' fakes.

#include "app/programpaths.h"
#include "control/compasscontroller.h"
#include "fakes/fakeports.h"
#include "fakes/recordingshell.h"
#include "platform/autostart.h"
#include "platform/windowmanagerhints.h"
#include "platform/x11shape.h"
#include "xdesktop.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace orvanta::test {

class FakeView final : public CompassView {
public:
    [[nodiscard]] DesktopGeometry desktop() const override { return geometry; }
    void setCursorShape(int number) override { cursorShape = number; }
    void showToolTip(const QString& text, QPoint) override { toolTip = text; }
    void hideToolTip() override { toolTip.clear(); }
    [[nodiscard]] QString clipboardText() const override { return clipboard; }
    void setClipboardText(const QString& text) override { clipboard = text; }
    [[nodiscard]] bool hasTray() const override { return true; }
    void popupMenu(QPoint) override { ++menus; }
    void applyStayOnTop(bool on) override { onTop = on; }
    void scheduleRender() override { ++renders; }
    void showCompass() override { calls << QStringLiteral("showCompass"); }
    void hideCompass(bool toTray) override {
        calls << QStringLiteral("hideCompass %1").arg(toTray ? "tray" : "quit");
    }
    void closeCompass() override { calls << QStringLiteral("closeCompass"); }
    void showHelp() override { calls << QStringLiteral("showHelp"); }
    void showCalibration() override { calls << QStringLiteral("showCalibration"); }
    void showScreenCalibration() override { calls << QStringLiteral("showScreenCalibration"); }
    void showTransparencyDialog() override { calls << QStringLiteral("showTransparencyDialog"); }
    void showAboutSkin() override { calls << QStringLiteral("showAboutSkin"); }
    void openWebLink(const QString& action) override {
        calls << QStringLiteral("openWebLink ") + action;
    }

    DesktopGeometry geometry{
        QRect(0, 0, 1920, 1080), {QRect(0, 0, 1920, 1080)}, QRect(0, 0, 1920, 1080)};
    int cursorShape = 0;
    QString toolTip;
    int menus = 0;
    bool onTop = true;
    QString clipboard;
    int renders = 0;
    QStringList calls; // what the controller asked to be shown, hidden or opened
};

// Messages and autostart calls kept; a compositor runs and takes every input
// shape; window manager hints go nowhere.
struct FakeServices final : MessageSink, Autostart, DesktopShape, WindowManagerHints {
    void showMessage(const QString& text) override { messages << text; }
    bool setRunAtStart(bool on, const QString&) override {
        autostartCalls << on;
        return true;
    }
    [[nodiscard]] bool compositorRunning() const override { return true; }
    bool setInputShape(WId, const QVector<QRect>&) override { return true; }
    bool setBoundingShape(WId, const std::optional<QVector<QRect>>&) override { return true; }
    void prepare(WId, bool) override {}
    void setStayOnTop(WId, bool) override {}
    [[nodiscard]] bool bypassWindowManager() const override { return false; }
    bool handBackFocus(WId) override { return false; }
    QStringList messages;
    QList<bool> autostartCalls;
};

class ControllerHarness {
public:
    // `options` becomes the program folder's Compass.ini before the start,
    // or, `apart`, the Compass.ini of a folder of their own, as an installed
    // program keeps them.
    explicit ControllerHarness(const QByteArray& options = "[Options]\r\nFirstTime=0\r\n",
                               bool apart = false) {
        if (!program.ok() || !optionsApart.isValid())
            return;
        ProgramPaths paths = ProgramPaths::portableIn(program.path());
        if (apart)
            paths.config = optionsApart.path() + u'/';
        QFile file(paths.optionsFile());
        if (!file.open(QIODevice::WriteOnly) || file.write(options) != options.size())
            return;
        file.close();
        controller = std::make_unique<CompassController>(
            paths.controllerFiles(program.binary()),
            ControllerPorts{view, services, services, shell, pointer, clock, timer});
    }
    [[nodiscard]] bool ok() const { return controller != nullptr; }
    [[nodiscard]] Settings saved() const { return Settings(program.path("Compass.ini")); }

    ProgramCopy program;
    QTemporaryDir optionsApart;
    FakeView view;
    FakeServices services;
    fakes::RecordingShell shell;
    fakes::FakeCursor pointer;
    fakes::FakeClock clock;
    fakes::FakeTimer timer;
    std::unique_ptr<CompassController> controller;
};

} // namespace orvanta::test
