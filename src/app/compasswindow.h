// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The compass window: one frameless, translucent window the size of the
// compass, which follows it over the desktop, kept on top and out of the
// taskbar through the window manager hints of src/platform. It is the
// controller's view: it turns Qt events into calls of the controller, paints
// the frames the controller renders, opens the menu, the tray icon and the
// dialogs the controller asks for through CompassView, and keeps the X11 input
// shape on the compass's pixels so that clicks on transparent pixels reach the
// windows below.
//
// The controller, the interaction and the renderer work in desktop
// coordinates (screen pixels minus the virtual desktop's top-left corner);
// this class alone maps them to its own: mouse events come in through their
// screen position, frames go out shifted by the window's place.

#include "app/compassmenu.h"
#include "app/programpaths.h"
#include "control/compasscontroller.h"
#include "control/compassview.h"
#include "interaction/clickfilter.h"
#include "interaction/systemports.h"
#include "platform/shell.h"
#include "platform/windowmanagerhints.h"
#include "platform/x11shape.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <memory>

namespace orvanta {

class Autostart;
class CompassTray;
class LoupeWindow;
class CursorTable;
class KeyValueStore;
class LanguageSwitcher;
class ScreenMonitors;
class TransparencyDialog;
class WindowPixels;

// What the window needs from the process around it.
struct CompassWindowDeps {
    ProgramPaths paths;  // assets, the user's files and the skin folders
    QString programFile; // for autostart and a new instance
    MessageSink& messages;
    Autostart& autostart;
    DesktopShape& shape;
    WindowManagerHints& hints;
    bool startMinimised = false;          // start hidden in the tray
    LanguageSwitcher* language = nullptr; // switched when the user chooses; may be null
    WindowPixels* pixels = nullptr;       // puts a drag frame's pixels; null: through Qt
};

class CompassWindow : public QWidget, private CompassView {
    Q_OBJECT

public:
    explicit CompassWindow(CompassWindowDeps deps);
    ~CompassWindow() override;

    [[nodiscard]] CompassController& controller() { return *m_controller; }
    // For tests: the menu the window opens.
    [[nodiscard]] CompassMenu& menu() { return *m_menu; }
    // For tests and benchmarks: the loupe, once it was switched on.
    [[nodiscard]] LoupeWindow* loupe() { return m_loupe.get(); }

    // Renders once if the state asks for it and pushes what changed. Runs
    // whenever the event loop is about to wait; tests call it directly.
    void idleUpdate();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // CompassView
    [[nodiscard]] DesktopGeometry desktop() const override;
    void setCursorShape(int number) override;
    void showToolTip(const QString& text, QPoint screenPos) override;
    void hideToolTip() override;
    [[nodiscard]] bool hasTray() const override;
    [[nodiscard]] QString clipboardText() const override;
    void setClipboardText(const QString& text) override;
    void popupMenu(QPoint screenPos) override;
    void applyStayOnTop(bool on) override;
    void scheduleRender() override;
    void showCompass() override;
    void hideCompass(bool toTray) override;
    void closeCompass() override;
    void showHelp() override;
    void showCalibration() override;
    void showScreenCalibration() override;
    void showTransparencyDialog() override;
    void showAboutSkin() override;
    void openWebLink(const QString& action) override;

    void pressed(QMouseEvent* event);
    void watchCompositor();
    void watchScreens();
    void startMinimisedIfAsked();
    void followController();
    void showTitle();
    void desktopChanged();
    [[nodiscard]] QPoint toDesktop(QPointF screenPos) const;
    void push(const Frame& frame);
    void pushAll();
    void updateShapes(const QRegion& changed, bool whole);
    void applyShapes(bool inputChanged, bool boundingChanged);
    void catchUpInputShape();
    void watchServerSize();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void followBoxes();
    void placeBeforeMapping();
    void followLoupe();
    [[nodiscard]] bool showsLoupe() const;
    void makeLoupe();
    void lookAhead();
    [[nodiscard]] QPoint measuredPoint(const CompassState& state) const;

    CompassWindowDeps m_deps;
    SystemCursor m_pointer;
    ClickFilter m_clicks;
    SteadyClock m_clock;
    std::unique_ptr<KeyValueStore> m_store;
    DesktopShell m_desktopShell;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<QtRepeatTimer> m_repeat;
    std::unique_ptr<CompassController> m_controller;
    std::unique_ptr<CompassMenu> m_menu;
    std::unique_ptr<CursorTable> m_cursors;
    QPointer<TransparencyDialog> m_transparency; // made on first use, kept
    std::unique_ptr<LoupeWindow> m_loupe;        // made when first switched on
    bool m_loupeDragging = false;                // a drag was under way at its last look
    ScreenMonitors* m_monitors = nullptr;

    CompassTray* m_tray = nullptr; // made once the menu is

    QTimer m_startTimer;
    QTimer m_titleTimer;    // holds back the title while a drag changes it
    QString m_pendingTitle; // not shown yet; null when shown
    QTimer m_compositorPoll;
    bool m_reallyClose = true;
    bool m_compositor = true;
    bool m_idleScheduled = false;
    bool m_inIdle = false;
    // A new native window or a compositor that came or went: the next pass
    // places the window and sets its shapes from scratch.
    bool m_pushAll = true;
    PixelShape m_inputShape;
    PixelShape m_boundingShape;
    // Where pixels changed while a button was held, not yet scanned for the
    // input shape (the window's own coordinates): one rectangle, so that a long drag
    // costs nothing per frame and one scan at the release.
    QRect m_deferredInput;
    WId m_shapedWindow = 0;
    bool m_boundingShaped = false;   // the window shows only its solid pixels
    bool m_storeStale = false;       // frames went past Qt's backing store
    QPointer<QWindow> m_sizeWatched; // the native window whose size changes re-send the input shape
    QSize m_serverSize;              // its size as the X server last reported it
    bool m_stayOnTop = false;
    bool m_activating = false; // showCompass asked for the keyboard
    // Where the compass bypasses the window manager, the compositor draws it
    // over every window the manager keeps, ours too: it leaves the frames of
    // our shown windows unpainted (desktop coordinates), so they show through.
    QRegion m_boxes;
    bool m_boxesPending = false;
};

} // namespace orvanta
