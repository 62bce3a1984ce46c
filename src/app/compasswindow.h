// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The compass window: one frameless, translucent, stay-on-top tool window over
// the whole virtual desktop. It owns the options, the units, the skin list, the
// compass model and the renderer, turns Qt events into calls of the core, and
// pushes the renderer's dirty region to the screen. Transparent pixels are
// outside its X11 input shape, so clicks there reach the windows below.

#include "app/compassmenu.h"
#include "app/programpaths.h"
#include "interaction/compassinteraction.h"
#include "interaction/layerstackregions.h"
#include "interaction/systemports.h"
#include "model/compassmodel.h"
#include "model/messages.h"
#include "model/settings.h"
#include "model/unittable.h"
#include "render/compassrenderer.h"
#include "skins/skincatalog.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace orvanta {

class CursorTable;
class Autostart;
class DesktopShape;
class KeyValueStore;
class Shell;
class TransparencyDialog;

// What the window needs from the process around it.
struct CompassWindowDeps {
    ProgramPaths paths;  // assets, the user's files and the skin folders
    QString programFile; // for autostart and a new instance
    MessageSink& messages;
    Autostart& autostart;
    DesktopShape& shape;
    bool startMinimised = false; // the application's Tag of 1
};

class CompassWindow : public QWidget, public WindowActions {
    Q_OBJECT

public:
    explicit CompassWindow(CompassWindowDeps deps);
    ~CompassWindow() override;

    // Renders once if the state asks for it and pushes what changed. Runs
    // whenever the event loop is about to wait; tests call it directly.
    void idleUpdate();

    // Window behaviours reached from the menu, keys and automation.
    void setStayOnTop(bool on);
    void applyStayOnTop() override;
    void showCompass();
    void hideToTray();
    void centreOnScreen();
    void selectSkin(int index);
    void setQuality(bool high);
    // The window's opacity in percent, as automation sees it: the complement of
    // Transparency, neither clamped nor saved.
    void setOpacity(int percent);
    [[nodiscard]] int opacity() const;
    void compose();
    // Shows a change of the options or the state at the next idle pass.
    void requestRender();
    void showTransparencyDialog();
    void showCalibrationScreen();
    void openWebLink(const QString& action);
    [[nodiscard]] bool trayAvailable() const { return m_trayIcon != nullptr; }

    // WindowActions
    [[nodiscard]] QPoint virtualOrigin() const override;
    void setCursorShape(int number) override;
    void showHint(const QString& text, QPoint screenPos) override;
    void hideHint() override;
    void popupMenu(QPoint screenPos) override;
    void requestHide() override;
    void closeCompass() override;
    void nextBaseColor() override;
    void reloadSkin() override;
    void setMeasureType(int type) override;
    void startNewInstance() override;
    void showHelp() override;
    [[nodiscard]] QString clipboardText() const override;
    void setClipboardText(const QString& text) override;
    void optionsChanged() override;

    // The parts, for the automation adaptor and the tests.
    [[nodiscard]] Settings& options() { return *m_options; }
    [[nodiscard]] UnitTable& units() { return *m_measurements; }
    [[nodiscard]] CompassModel& model() { return *m_model; }
    [[nodiscard]] SkinCatalog& skins() { return *m_skinList; }
    [[nodiscard]] CompassRenderer& renderer() { return m_renderer; }
    [[nodiscard]] CompassMenu& menu() { return *m_menu; }
    [[nodiscard]] DesktopGeometry desktop() const;

Q_SIGNALS:
    // The compass was drawn (automation's OnUpdate) and the window really
    // closes (OnQuit).
    void Updated();
    void quitting();

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
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void connectMenu();
    void fitToDesktop();
    void push(const Frame& frame);
    void updateShapes(const QRegion& dirty);
    void syncMenuChecks();
    void rebuildSkinsIfNeeded();
    void scheduleIdle();
    void setTrayIcon(const QString& file);
    void trayActivated(QSystemTrayIcon::ActivationReason reason);

    CompassWindowDeps m_deps;
    std::unique_ptr<Settings> m_options;
    std::unique_ptr<UnitTable> m_measurements;
    std::unique_ptr<CompassModel> m_model;
    std::unique_ptr<SkinCatalog> m_skinList;
    CompassRenderer m_renderer;
    std::unique_ptr<CompassMenu> m_menu;
    std::unique_ptr<CursorTable> m_cursors;
    std::unique_ptr<KeyValueStore> m_store;
    std::unique_ptr<Shell> m_shell;
    QPointer<TransparencyDialog> m_transparency; // made on first use, kept

    LayerStackRegions m_regions;
    SystemCursor m_cursor;
    SteadyClock m_clock;
    std::unique_ptr<QtRepeatTimer> m_repeat;
    std::unique_ptr<CompassInteraction> m_interaction;

    QSystemTrayIcon* m_trayIcon = nullptr;
    QTimer m_startTimer;
    QTimer m_compositorPoll;
    bool m_reallyClose = true;
    bool m_compositor = true;
    bool m_idleScheduled = false;
    bool m_inIdle = false;
};

} // namespace orvanta
