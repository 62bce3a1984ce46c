#pragma once
// The compass window: one frameless, translucent, stay-on-top tool window over
// the whole virtual desktop. It owns the options, the units, the skin list, the
// compass model and the renderer, turns Qt events into calls of the core, and
// pushes the renderer's dirty region to the screen. Transparent pixels are
// outside its X11 input shape, so clicks there reach the windows below.

#include "app/mainmenu.h"
#include "app/programfolder.h"
#include "interaction/interaction.h"
#include "interaction/layerregions.h"
#include "interaction/systemports.h"
#include "model/compassmodel.h"
#include "model/messages.h"
#include "model/options.h"
#include "model/units.h"
#include "render/renderer.h"
#include "skins/skinlist.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace orvanta {

class CursorTable;
class IAutostart;
class IDesktopShape;
class IKeyValueStore;
class IShell;
class TfrmTransparency;

// What the window needs from the process around it.
struct TMainWindowDeps {
    TProgramPaths paths; // assets, the user's files and the skin folders
    QString programFile; // for autostart and a new instance
    IMessageSink& messages;
    IAutostart& autostart;
    IDesktopShape& shape;
    bool startMinimised = false; // the application's Tag of 1
};

class TfrmMain : public QWidget, public IWindowActions {
    Q_OBJECT

public:
    explicit TfrmMain(TMainWindowDeps deps);
    ~TfrmMain() override;

    // Renders once if the state asks for it and pushes what changed. Runs
    // whenever the event loop is about to wait; tests call it directly.
    void IdleUpdate();

    // Window behaviours reached from the menu, keys and automation.
    void SetStayOnTop(bool on);
    void ApplyStayOnTop() override;
    void ShowCompass();
    void HideToTray();
    void CentreOnScreen();
    void SelectSkin(int index);
    void SetQuality(bool high);
    // The window's opacity in percent, as automation sees it: the complement of
    // Transparency, neither clamped nor saved.
    void SetOpacity(int percent);
    [[nodiscard]] int GetOpacity() const;
    void Compose();
    // Shows a change of the options or the state at the next idle pass.
    void RequestRender();
    void ShowTransparencyDialog();
    void ShowCalibrationScreen();
    void OpenWebLink(const QString& action);
    [[nodiscard]] bool TrayAvailable() const { return CoolTrayIcon1 != nullptr; }

    // IWindowActions
    [[nodiscard]] QPoint VirtualOrigin() const override;
    void SetCursorShape(int number) override;
    void ShowHint(const QString& text, QPoint screenPos) override;
    void HideHint() override;
    void PopupMenu(QPoint screenPos) override;
    void RequestHide() override;
    void Close() override;
    void NextBaseColor() override;
    void ReloadSkin() override;
    void SetMeasureType(int type) override;
    void StartNewInstance() override;
    void ShowHelp() override;
    [[nodiscard]] QString ClipboardText() const override;
    void SetClipboardText(const QString& text) override;
    void OptionsChanged() override;

    // The parts, for the automation adaptor and the tests.
    [[nodiscard]] TDervikOptions& Options() { return *FOptions; }
    [[nodiscard]] TMeasurements& Units() { return *FMeasurements; }
    [[nodiscard]] CompassModel& Model() { return *FModel; }
    [[nodiscard]] TSkinList& Skins() { return *FSkinList; }
    [[nodiscard]] TCompassRenderer& Renderer() { return FRenderer; }
    [[nodiscard]] TMainMenu& Menu() { return *FMenu; }
    [[nodiscard]] DesktopGeometry Desktop() const;

Q_SIGNALS:
    // The compass was drawn (automation's OnUpdate) and the window really
    // closes (OnQuit).
    void Updated();
    void Quitting();

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
    void ConnectMenu();
    void FitToDesktop();
    void Push(const TFrame& frame);
    void UpdateShapes(const QRegion& dirty);
    void SyncMenuChecks();
    void RebuildSkinsIfNeeded();
    void ScheduleIdle();
    void SetTrayIcon(const QString& file);
    void TrayActivated(QSystemTrayIcon::ActivationReason reason);

    TMainWindowDeps m_deps;
    std::unique_ptr<TDervikOptions> FOptions;
    std::unique_ptr<TMeasurements> FMeasurements;
    std::unique_ptr<CompassModel> FModel;
    std::unique_ptr<TSkinList> FSkinList;
    TCompassRenderer FRenderer;
    std::unique_ptr<TMainMenu> FMenu;
    std::unique_ptr<CursorTable> FCursors;
    std::unique_ptr<IKeyValueStore> FStore;
    std::unique_ptr<IShell> FShell;
    QPointer<TfrmTransparency> FTransparency; // made on first use, kept

    LayerStackRegions m_regions;
    SystemCursor m_cursor;
    SteadyClock m_clock;
    std::unique_ptr<QtRepeatTimer> m_repeat;
    std::unique_ptr<CompassInteraction> FInteraction;

    QSystemTrayIcon* CoolTrayIcon1 = nullptr;
    QTimer timStart;
    QTimer m_compositorPoll;
    bool FReallyClose = true;
    bool m_compositor = true;
    bool m_idleScheduled = false;
    bool m_inIdle = false;
};

} // namespace orvanta
