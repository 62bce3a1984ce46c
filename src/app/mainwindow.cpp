#include "app/mainwindow.h"

#include "app/weblinks.h"
#include "dialogs/aboutskin.h"
#include "dialogs/customunits.h"
#include "dialogs/help.h"
#include "dialogs/transparency.h"
#include "model/numbers.h"
#include "platform/autostart.h"
#include "platform/cursortable.h"
#include "platform/keyvaluestore.h"
#include "platform/x11shape.h"
#include "render/compose.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QToolTip>
#include <QUrl>

namespace orvanta {

namespace {

// A compositor can start or stop while we run; without one, transparent
// pixels would show black, so the window then clips itself to the compass.
constexpr int kCompositorPollMs = 5000;
// Pixels at least this opaque belong to the bounding shape when no compositor
// blends the window: half-transparent edges are cut rather than shown dark.
constexpr int kBoundingShapeAlpha = 128;
// The hint stays long enough to read the typed-entry help.
constexpr int kHintMs = 6000;

QString balloonTitle() {
    return QStringLiteral("Orvanta仍在运行");
}
QString balloonText() {
    return QStringLiteral("要显示Orvanta, 请点击此图标");
}

} // namespace

TfrmMain::TfrmMain(TMainWindowDeps deps)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), m_deps(std::move(deps)),
      m_regions([this]() -> TLayerStack& { return FRenderer.Layers; }) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("圆规"));
    QApplication::setOverrideCursor(Qt::WaitCursor);

    const TProgramPaths& paths = m_deps.paths;
    FitToDesktop();

    // The steps that load files are guarded so that the cursors and the idle
    // handler are always set up; an error that escapes is passed on after.
    std::exception_ptr failure;
    try {
        FOptions = std::make_unique<TDervikOptions>(paths.LoadOptions());
        FMeasurements = std::make_unique<TMeasurements>(paths.UnitsFiles());
        FModel = std::make_unique<CompassModel>(*FOptions, *FMeasurements);
        FMenu = std::make_unique<TMainMenu>(this);
        BuildUnitsMenu(*FMenu, *FMeasurements);
        BuildShapeMenu(*FMenu, *FOptions);
        FMenu->mnuStayOnTop->setChecked(FOptions->StayOnTop);
        FMenu->mnuRunatStartUp->setChecked(FOptions->RunAtStart);
        FMenu->mnuHideSplash->setChecked(FOptions->HideSplash);
        (FOptions->Quality ? FMenu->mnuHigh : FMenu->mnuLow)->setChecked(true);
        FMenu->mnuShowTooltips->setChecked(FOptions->Tooltips);
        SyncMenuChecks();

        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            CoolTrayIcon1 = new QSystemTrayIcon(this);
            SetTrayIcon(QStringLiteral("AppTray.ico"));
            CoolTrayIcon1->setToolTip(QStringLiteral("Orvanta"));
            if (FOptions->SystemTrayIcon && FOptions->RightClickMenu)
                CoolTrayIcon1->setContextMenu(FMenu->PopupMenu1);
            connect(CoolTrayIcon1, &QSystemTrayIcon::activated, this, &TfrmMain::TrayActivated);
            CoolTrayIcon1->show();
        }

        FModel->Initialise(Desktop());
        FSkinList = std::make_unique<TSkinList>(paths.SkinFolders(), paths.DefaultSkin(),
                                                FOptions->skinPath, m_deps.messages);
        BuildSkinMenu(*FMenu, *FSkinList);
        FReallyClose = true;
        ConnectMenu();
        m_repeat = std::make_unique<QtRepeatTimer>([this] {
            FInteraction->MoverTick();
            ScheduleIdle();
        });
        FInteraction = std::make_unique<CompassInteraction>(
            *FModel, InteractionPorts{m_regions, *this, m_cursor, m_clock, *m_repeat});
        Compose();
        ApplyStayOnTop();
    } catch (...) {
        failure = std::current_exception();
    }

    FCursors = std::make_unique<CursorTable>(paths.Assets, this);
    FCursors->apply(this, cursors::Hand);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TfrmMain::IdleUpdate);
    QApplication::restoreOverrideCursor();
    if (failure)
        std::rethrow_exception(failure);

    m_compositor = m_deps.shape.compositorRunning();
    m_compositorPoll.setInterval(kCompositorPollMs);
    connect(&m_compositorPoll, &QTimer::timeout, this, [this] {
        const bool now = m_deps.shape.compositorRunning();
        if (now != m_compositor) {
            m_compositor = now;
            UpdateShapes(QRegion(FRenderer.FBounds));
        }
    });
    m_compositorPoll.start();

    for (QScreen* s : QGuiApplication::screens())
        connect(s, &QScreen::virtualGeometryChanged, this, &TfrmMain::FitToDesktop);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
        connect(s, &QScreen::virtualGeometryChanged, this, &TfrmMain::FitToDesktop);
        FitToDesktop();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &TfrmMain::FitToDesktop);

    // The start timer: a minimised start hides into the tray once the loop
    // runs. Without a tray there is nowhere to hide, so the compass shows.
    timStart.setSingleShot(true);
    timStart.setInterval(1);
    connect(&timStart, &QTimer::timeout, this, [this] {
        if (m_deps.startMinimised && TrayAvailable()) {
            FReallyClose = false;
            close();
        }
        FReallyClose = true;
        m_deps.startMinimised = false;
    });
    timStart.start();
}

TfrmMain::~TfrmMain() = default;

DesktopGeometry TfrmMain::Desktop() const {
    DesktopGeometry d;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return d;
    d.virtualRect = primary->virtualGeometry();
    d.primary = primary->geometry();
    for (const QScreen* s : QGuiApplication::screens())
        d.monitors << s->geometry();
    return d;
}

QPoint TfrmMain::VirtualOrigin() const {
    return Desktop().virtualRect.topLeft();
}

void TfrmMain::FitToDesktop() {
    const QRect virt = Desktop().virtualRect;
    if (virt.isEmpty())
        return;
    setGeometry(virt);
    if (FModel) {
        FModel->state.FNeedsRepaint = true;
        ScheduleIdle();
    }
}

// ---------------------------------------------------------------- rendering

void TfrmMain::ScheduleIdle() {
    // The idle pass runs when the loop is about to wait; a posted no-op wakes
    // it when the request comes from inside the idle pass itself.
    if (m_idleScheduled)
        return;
    m_idleScheduled = true;
    QTimer::singleShot(0, this, [this] { m_idleScheduled = false; });
}

void TfrmMain::IdleUpdate() {
    if (m_inIdle || !FModel || !FSkinList || FRenderer.Layers.Empty() || !isVisible())
        return;
    m_inIdle = true;
    TRenderInput in{*FModel, *FSkinList->Skin, Desktop(), isActiveWindow(),
                    bool(QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier)};
    FRenderer.FNeedsWindowUpdate |= FInteraction->FNeedsWindowUpdate;
    FInteraction->FNeedsWindowUpdate = false;
    const TFrame frame = FRenderer.IdleUpdate(in);
    Push(frame);
    if (frame.ReadoutChanged) {
        const QString title = FModel->TitleText();
        setWindowTitle(title);
        if (CoolTrayIcon1)
            CoolTrayIcon1->setToolTip(title);
    }
    if (frame.Rendered)
        Q_EMIT Updated();
    m_inIdle = false;
    if (FModel->state.FNeedsRepaint)
        ScheduleIdle(); // recentred: the next pass draws it
}

void TfrmMain::Push(const TFrame& frame) {
    if (!frame.Pushed || frame.Dirty.isEmpty())
        return;
    UpdateShapes(frame.Dirty);
    update(frame.Dirty);
}

void TfrmMain::UpdateShapes(const QRegion& dirty) {
    if (!windowHandle())
        return;
    const QImage& image = FRenderer.WindowImage();
    // Everything drawn lies inside the compass bounds; the shape is rebuilt
    // from there only, which is cheap next to scanning the desktop.
    const QRect area = FRenderer.FBounds.isEmpty() ? dirty.boundingRect() : FRenderer.FBounds;
    m_deps.shape.setInputShape(winId(), alphaRuns(image, area, 1));
    if (m_compositor) {
        if (!mask().isEmpty())
            clearMask();
    } else {
        QRegion bounding;
        for (const QRect& r : alphaRuns(image, area, kBoundingShapeAlpha))
            bounding += r;
        setMask(bounding.isEmpty() ? QRegion(0, 0, 1, 1) : bounding);
    }
}

void TfrmMain::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage& image = FRenderer.WindowImage();
    for (const QRect& r : event->region())
        p.drawImage(r.topLeft(), image, r);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A new native window has the default input shape: set ours again.
    if (FModel) {
        FModel->state.FNeedsRepaint = true;
        ScheduleIdle();
    }
}

void TfrmMain::Compose() {
    const TComposeResult result =
        orvanta::Compose(*FSkinList->Skin, *FOptions, FModel->state, FRenderer.Layers);
    if (!result.Ok)
        m_deps.messages.ShowMessage(result.Error);
    SyncMenuChecks();
    ScheduleIdle();
}

// ---------------------------------------------------------------- input

void TfrmMain::mousePressEvent(QMouseEvent* event) {
    FInteraction->MouseDown(event->button(), event->modifiers(), event->position().toPoint());
    ScheduleIdle();
}

void TfrmMain::mouseMoveEvent(QMouseEvent* event) {
    FInteraction->MouseMove(event->modifiers(), event->position().toPoint());
}

void TfrmMain::mouseReleaseEvent(QMouseEvent* event) {
    FInteraction->MouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void TfrmMain::contextMenuEvent(QContextMenuEvent* event) {
    // The menu is the window's own right-click menu, unless switched off.
    PopupMenu(event->globalPos());
}

void TfrmMain::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt replaces the second press by this event; the interaction wants both.
    FInteraction->MouseDown(event->button(), event->modifiers(), event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        FInteraction->DoubleClick();
    ScheduleIdle();
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    FInteraction->KeyDown(event->key(), event->modifiers());
    if (event->modifiers() & Qt::ControlModifier)
        return;
    // Typed entry sees the characters after the key bindings ran.
    for (const QChar c : event->text()) {
        try {
            FModel->KeyPress(c);
        } catch (const OrvantaError& e) {
            m_deps.messages.ShowMessage(e.message());
        }
    }
}

void TfrmMain::keyReleaseEvent(QKeyEvent* event) {
    FInteraction->KeyUp(QGuiApplication::queryKeyboardModifiers());
    QWidget::keyReleaseEvent(event);
}

// ---------------------------------------------------------------- closing

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!FReallyClose) {
        event->ignore();
        hide();
        HideToTray();
        return;
    }
    FOptions->Save();
    try {
        FMeasurements->Save();
    } catch (const OrvantaError&) {
        // Saving on the way out has nobody left to tell.
    }
    event->accept();
    // A tool window does not count as the last window: start-up ends the loop
    // when it hears this.
    Q_EMIT Quitting();
}

void TfrmMain::RequestHide() {
    FReallyClose = !(FOptions->SystemTrayIcon && FOptions->RightClickMenu && TrayAvailable());
    close();
    FReallyClose = true;
}

void TfrmMain::Close() {
    close();
}

void TfrmMain::HideToTray() {
    FMenu->mnuOpen->setVisible(true);
    SetTrayIcon(QStringLiteral("AppTrayGray.ico"));
    if (FOptions->ShowMinimizeBalloon && CoolTrayIcon1) {
        CoolTrayIcon1->showMessage(balloonTitle(), balloonText(), QSystemTrayIcon::Information,
                                   30000);
        FOptions->ShowMinimizeBalloon = false;
        FOptions->Save();
    }
}

void TfrmMain::ShowCompass() {
    SetTrayIcon(QStringLiteral("AppTray.ico"));
    show();
    raise();
    activateWindow();
    FMenu->mnuOpen->setVisible(false);
    TControlLayers& close = FRenderer.Layers.Control(SkinControl::Close);
    if (close.Exists()) {
        close.Pressed->Visible = false;
        close.Hover->Visible = false;
    }
    FModel->state.FNeedsRepaint = true;
    ScheduleIdle();
}

void TfrmMain::SetTrayIcon(const QString& file) {
    const QString path = m_deps.paths.Assets + file;
    if (CoolTrayIcon1 && QFileInfo::exists(path))
        CoolTrayIcon1->setIcon(QIcon(path));
}

void TfrmMain::TrayActivated(QSystemTrayIcon::ActivationReason reason) {
    if (!FOptions->SystemTrayIcon)
        return;
    if (reason == QSystemTrayIcon::DoubleClick)
        ShowCompass();
    else if (reason == QSystemTrayIcon::Trigger && FOptions->RightClickMenu)
        FMenu->PopupMenu1->popup(QCursor::pos());
}

// ---------------------------------------------------------------- behaviours

void TfrmMain::SetStayOnTop(bool on) {
    FMenu->mnuStayOnTop->setChecked(on);
    FOptions->StayOnTop = on;
    FOptions->Save();
    ApplyStayOnTop();
    FModel->state.FNeedsRepaint = true;
    ScheduleIdle();
}

void TfrmMain::ApplyStayOnTop() {
    const bool wanted = FOptions->StayOnTop;
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) != wanted) {
        // Changing the flags recreates the native window: show it again and
        // let the next pass set the shapes on the new one.
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, wanted);
        if (shown)
            show();
    } else if (wanted && isVisible()) {
        raise();
    }
}

void TfrmMain::CentreOnScreen() {
    FRenderer.CentreOnScreen(FModel->state, Desktop());
    FModel->state.FNeedsRepaint = true;
    ScheduleIdle();
}

void TfrmMain::SelectSkin(int index) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FSkinList->SelectSkin(index, *FOptions);
    Compose();
    QApplication::restoreOverrideCursor();
}

void TfrmMain::SetQuality(bool high) {
    (high ? FMenu->mnuHigh : FMenu->mnuLow)->setChecked(true);
    FOptions->Quality = high;
    FOptions->Save();
    Compose();
}

void TfrmMain::SetOpacity(int percent) {
    FOptions->Transparency = 100 - percent;
    Compose();
}

int TfrmMain::GetOpacity() const {
    return 100 - FOptions->Transparency;
}

void TfrmMain::NextBaseColor() {
    FSkinList->Skin->NextBaseColor();
    FOptions->SelectedBaseColor = FSkinList->Skin->BaseColorIndex;
    Compose();
}

void TfrmMain::ReloadSkin() {
    FSkinList->Reload();
    Compose();
}

void TfrmMain::SetMeasureType(int type) {
    FModel->SetMeasureType(type);
    RaiseMeasureTypeControl(FRenderer.Layers, FOptions->MeasureType);
    SyncMenuChecks();
    ScheduleIdle();
}

void TfrmMain::StartNewInstance() {
    QProcess::startDetached(m_deps.programFile, {});
}

void TfrmMain::ShowHelp() {
    TAboutBox::Open(m_deps.paths.Assets, FCursors.get(), this);
}

void TfrmMain::RequestRender() {
    FModel->state.FNeedsRepaint = true;
    ScheduleIdle();
}

void TfrmMain::ShowTransparencyDialog() {
    if (!FTransparency)
        FTransparency = new TfrmTransparency(
            *FOptions, [this] { RequestRender(); }, FCursors.get(), this);
    FTransparency->Open();
}

void TfrmMain::ShowCalibrationScreen() {
    TfrmCustomUnits::Open(TCustomUnitsDeps{*FMeasurements,
                                           [this] { BuildUnitsMenu(*FMenu, *FMeasurements); },
                                           [this] { OpenWebLink(QStringLiteral("helpCalibrate")); },
                                           &m_deps.messages, FCursors.get()},
                          this);
}

void TfrmMain::OpenWebLink(const QString& action) {
    orvanta::OpenWebLink(*FStore, *FShell, action);
}

QString TfrmMain::ClipboardText() const {
    return QGuiApplication::clipboard()->text();
}

void TfrmMain::SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void TfrmMain::OptionsChanged() {
    SyncMenuChecks();
}

void TfrmMain::SetCursorShape(int number) {
    if (FCursors)
        FCursors->apply(this, number);
}

void TfrmMain::ShowHint(const QString& text, QPoint screenPos) {
    QToolTip::showText(screenPos, text, this, QRect(), kHintMs);
}

void TfrmMain::HideHint() {
    QToolTip::hideText();
}

void TfrmMain::PopupMenu(QPoint screenPos) {
    if (FOptions->RightClickMenu)
        FMenu->PopupMenu1->popup(screenPos);
}

void TfrmMain::SyncMenuChecks() {
    if (!FMenu)
        return;
    FMenu->mnuStickyAngle->setChecked(FOptions->StickyAngle);
    FMenu->mnuLockAngle->setChecked(FOptions->LockAngle);
    FMenu->mnuLockMeasurement->setChecked(FOptions->LockMeasurement);
    QAction* types[] = {FMenu->mnuRadius, FMenu->mnuCircumference, FMenu->mnuArea};
    const int t = FOptions->MeasureType;
    if (t >= 0 && t < 3)
        types[t]->setChecked(true);
}

void TfrmMain::RebuildSkinsIfNeeded() {
    if (FSkinList->NeedsRescan()) {
        // The compass keeps the skin it shows until the next composition.
        auto rebuilt =
            std::make_unique<TSkinList>(m_deps.paths.SkinFolders(), m_deps.paths.DefaultSkin(),
                                        FOptions->skinPath, m_deps.messages);
        FSkinList = std::move(rebuilt);
        BuildSkinMenu(*FMenu, *FSkinList);
    }
    FSkinList->Skin->BaseColorIndex = FOptions->SelectedBaseColor;
}

// ---------------------------------------------------------------- the menu

void TfrmMain::ConnectMenu() {
    TMainMenu& m = *FMenu;
    connect(m.PopupMenu1, &QMenu::aboutToShow, this, &TfrmMain::RebuildSkinsIfNeeded);
    connect(m.mnuUnits, &QMenu::triggered, this, [this](QAction* a) {
        const int tag = a->data().toInt();
        if (tag < 0) {
            ShowCalibrationScreen();
            return;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        FModel->SelectUnit(tag);
        QApplication::restoreOverrideCursor();
        ScheduleIdle();
    });
    connect(m.mnuLow, &QAction::triggered, this, [this] { SetQuality(false); });
    connect(m.mnuHigh, &QAction::triggered, this, [this] { SetQuality(true); });
    connect(m.skinGroup, &QActionGroup::triggered, this,
            [this](QAction* a) { SelectSkin(a->data().toInt()); });
    connect(m.mnuShape, &QMenu::triggered, this, [this](QAction* a) {
        if (FMenu->shapeGroup->actions().contains(a))
            FModel->SetShape(a->data().toInt());
        else if (FMenu->scribeGroup->actions().contains(a))
            FModel->SetScribe(a->data().toInt() == 1);
        ScheduleIdle();
    });
    connect(m.mnuStayOnTop, &QAction::triggered, this, [this](bool on) { SetStayOnTop(on); });
    connect(m.mnuShowTooltips, &QAction::triggered, this, [this](bool on) {
        FOptions->Tooltips = on;
        FOptions->Save();
    });
    connect(m.mnuRunatStartUp, &QAction::triggered, this, [this](bool on) {
        FOptions->RunAtStart = on;
        FOptions->Save();
        m_deps.autostart.setRunAtStart(on, m_deps.programFile);
    });
    connect(m.mnuHideSplash, &QAction::triggered, this, [this](bool on) {
        FOptions->HideSplash = on;
        FOptions->Save();
    });
    connect(m.mnuCenterOnScreen, &QAction::triggered, this, &TfrmMain::CentreOnScreen);
    connect(m.mnuHelp, &QAction::triggered, this, &TfrmMain::ShowHelp);
    connect(m.mnuStickyAngle, &QAction::triggered, this, [this] {
        FInteraction->ToggleStickyAngle();
        ScheduleIdle();
    });
    connect(m.mnuLockAngle, &QAction::triggered, this, [this] {
        FInteraction->ToggleLockAngle();
        ScheduleIdle();
    });
    connect(m.mnuLockMeasurement, &QAction::triggered, this, [this] {
        FInteraction->ToggleLockMeasurement();
        ScheduleIdle();
    });
    connect(m.measureGroup, &QActionGroup::triggered, this,
            [this](QAction* a) { SetMeasureType(a->data().toInt()); });
    connect(m.mnuExit, &QAction::triggered, this, [this] {
        FReallyClose = true;
        close();
    });
    connect(m.mnuOpen, &QAction::triggered, this, &TfrmMain::ShowCompass);
    FStore = std::make_unique<IniKeyValueStore>(
        IniKeyValueStore::defaultUserFile(), IniKeyValueStore::shippedFileIn(m_deps.paths.Assets));
    FShell = std::make_unique<DesktopShell>();
    connect(m.mnuAboutThisSkin, &QAction::triggered, this,
            [this] { TfrmAboutThisSkin::Open(*FSkinList->Skin, *FShell, FCursors.get(), this); });
    connect(m.MoreSkins1, &QAction::triggered, this,
            [this] { OpenWebLink(QStringLiteral("getskins")); });
    connect(m.mnuTransparency, &QAction::triggered, this, &TfrmMain::ShowTransparencyDialog);
    connect(m.mnuLupenix, &QAction::triggered, this,
            [this] { LaunchLupenix(*FStore, *FShell, AskYesNoBox); });
    connect(m.mnuWebLink, &QAction::triggered, this, [this] { OpenWebLink(QString()); });
}

} // namespace orvanta
