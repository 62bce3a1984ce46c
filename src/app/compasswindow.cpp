#include "app/compasswindow.h"

#include "app/weblinks.h"
#include "dialogs/aboutskindialog.h"
#include "dialogs/customunitsdialog.h"
#include "dialogs/helpwindow.h"
#include "dialogs/transparencydialog.h"
#include "model/numbers.h"
#include "platform/autostart.h"
#include "platform/cursortable.h"
#include "platform/keyvaluestore.h"
#include "platform/shell.h"
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

CompassWindow::CompassWindow(CompassWindowDeps deps)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), m_deps(std::move(deps)),
      m_regions([this]() -> LayerStack& { return m_renderer.layers; }) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("圆规"));
    QApplication::setOverrideCursor(Qt::WaitCursor);

    const ProgramPaths& paths = m_deps.paths;
    fitToDesktop();

    // The steps that load files are guarded so that the cursors and the idle
    // handler are always set up; an error that escapes is passed on after.
    std::exception_ptr failure;
    try {
        m_options = std::make_unique<Settings>(paths.loadOptions());
        m_measurements = std::make_unique<UnitTable>(paths.unitsFiles());
        m_model = std::make_unique<CompassModel>(*m_options, *m_measurements);
        m_menu = std::make_unique<CompassMenu>(this);
        buildUnitsMenu(*m_menu, *m_measurements);
        buildShapeMenu(*m_menu, *m_options);
        m_menu->stayOnTopAction->setChecked(m_options->stayOnTop);
        m_menu->runAtStartupAction->setChecked(m_options->runAtStart);
        m_menu->hideSplashAction->setChecked(m_options->hideSplash);
        (m_options->quality ? m_menu->highQualityAction : m_menu->lowQualityAction)
            ->setChecked(true);
        m_menu->tooltipsAction->setChecked(m_options->tooltips);
        syncMenuChecks();

        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            m_trayIcon = new QSystemTrayIcon(this);
            setTrayIcon(QStringLiteral("AppTray.ico"));
            m_trayIcon->setToolTip(QStringLiteral("Orvanta"));
            if (m_options->systemTrayIcon && m_options->rightClickMenu)
                m_trayIcon->setContextMenu(m_menu->contextMenu);
            connect(m_trayIcon, &QSystemTrayIcon::activated, this, &CompassWindow::trayActivated);
            m_trayIcon->show();
        }

        m_model->initialise(desktop());
        m_skinList = std::make_unique<SkinCatalog>(paths.skinFolders(), paths.defaultSkin(),
                                                   m_options->skinPath, m_deps.messages);
        buildSkinMenu(*m_menu, *m_skinList);
        m_reallyClose = true;
        connectMenu();
        m_repeat = std::make_unique<QtRepeatTimer>([this] {
            m_interaction->moverTick();
            scheduleIdle();
        });
        m_interaction = std::make_unique<CompassInteraction>(
            *m_model, InteractionPorts{m_regions, *this, m_cursor, m_clock, *m_repeat});
        compose();
        applyStayOnTop();
    } catch (...) {
        failure = std::current_exception();
    }

    m_cursors = std::make_unique<CursorTable>(paths.assets, this);
    m_cursors->apply(this, cursors::hand);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &CompassWindow::idleUpdate);
    QApplication::restoreOverrideCursor();
    if (failure)
        std::rethrow_exception(failure);

    m_compositor = m_deps.shape.compositorRunning();
    m_compositorPoll.setInterval(kCompositorPollMs);
    connect(&m_compositorPoll, &QTimer::timeout, this, [this] {
        const bool now = m_deps.shape.compositorRunning();
        if (now != m_compositor) {
            m_compositor = now;
            updateShapes(QRegion(m_renderer.bounds));
        }
    });
    m_compositorPoll.start();

    for (QScreen* s : QGuiApplication::screens())
        connect(s, &QScreen::virtualGeometryChanged, this, &CompassWindow::fitToDesktop);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
        connect(s, &QScreen::virtualGeometryChanged, this, &CompassWindow::fitToDesktop);
        fitToDesktop();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &CompassWindow::fitToDesktop);

    // The start timer: a minimised start hides into the tray once the loop
    // runs. Without a tray there is nowhere to hide, so the compass shows.
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(1);
    connect(&m_startTimer, &QTimer::timeout, this, [this] {
        if (m_deps.startMinimised && trayAvailable()) {
            m_reallyClose = false;
            close();
        }
        m_reallyClose = true;
        m_deps.startMinimised = false;
    });
    m_startTimer.start();
}

CompassWindow::~CompassWindow() = default;

DesktopGeometry CompassWindow::desktop() const {
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

QPoint CompassWindow::virtualOrigin() const {
    return desktop().virtualRect.topLeft();
}

void CompassWindow::fitToDesktop() {
    const QRect virt = desktop().virtualRect;
    if (virt.isEmpty())
        return;
    setGeometry(virt);
    if (m_model) {
        m_model->state.needsRepaint = true;
        scheduleIdle();
    }
}

// ---------------------------------------------------------------- rendering

void CompassWindow::scheduleIdle() {
    // The idle pass runs when the loop is about to wait; a posted no-op wakes
    // it when the request comes from inside the idle pass itself.
    if (m_idleScheduled)
        return;
    m_idleScheduled = true;
    QTimer::singleShot(0, this, [this] { m_idleScheduled = false; });
}

void CompassWindow::idleUpdate() {
    if (m_inIdle || !m_model || !m_skinList || m_renderer.layers.empty() || !isVisible())
        return;
    m_inIdle = true;
    RenderInput in{*m_model, *m_skinList->skin, desktop(), isActiveWindow(),
                   bool(QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier)};
    m_renderer.needsWindowUpdate |= m_interaction->needsWindowUpdate;
    m_interaction->needsWindowUpdate = false;
    const Frame frame = m_renderer.idleUpdate(in);
    push(frame);
    if (frame.readoutChanged) {
        const QString title = m_model->titleText();
        setWindowTitle(title);
        if (m_trayIcon)
            m_trayIcon->setToolTip(title);
    }
    if (frame.rendered)
        Q_EMIT Updated();
    m_inIdle = false;
    if (m_model->state.needsRepaint)
        scheduleIdle(); // recentred: the next pass draws it
}

void CompassWindow::push(const Frame& frame) {
    if (!frame.pushed || frame.dirty.isEmpty())
        return;
    updateShapes(frame.dirty);
    update(frame.dirty);
}

void CompassWindow::updateShapes(const QRegion& dirty) {
    if (!windowHandle())
        return;
    const QImage& image = m_renderer.windowImage();
    // Everything drawn lies inside the compass bounds; the shape is rebuilt
    // from there only, which is cheap next to scanning the desktop.
    const QRect area = m_renderer.bounds.isEmpty() ? dirty.boundingRect() : m_renderer.bounds;
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

void CompassWindow::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage& image = m_renderer.windowImage();
    for (const QRect& r : event->region())
        p.drawImage(r.topLeft(), image, r);
}

void CompassWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A new native window has the default input shape: set ours again.
    if (m_model) {
        m_model->state.needsRepaint = true;
        scheduleIdle();
    }
}

void CompassWindow::compose() {
    const ComposeResult result =
        orvanta::compose(*m_skinList->skin, *m_options, m_model->state, m_renderer.layers);
    if (!result.ok)
        m_deps.messages.showMessage(result.error);
    syncMenuChecks();
    scheduleIdle();
}

// ---------------------------------------------------------------- input

void CompassWindow::mousePressEvent(QMouseEvent* event) {
    m_interaction->mouseDown(event->button(), event->modifiers(), event->position().toPoint());
    scheduleIdle();
}

void CompassWindow::mouseMoveEvent(QMouseEvent* event) {
    m_interaction->mouseMove(event->modifiers(), event->position().toPoint());
}

void CompassWindow::mouseReleaseEvent(QMouseEvent* event) {
    m_interaction->mouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void CompassWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The menu is the window's own right-click menu, unless switched off.
    popupMenu(event->globalPos());
}

void CompassWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt replaces the second press by this event; the interaction wants both.
    m_interaction->mouseDown(event->button(), event->modifiers(), event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_interaction->doubleClick();
    scheduleIdle();
}

void CompassWindow::keyPressEvent(QKeyEvent* event) {
    m_interaction->keyDown(event->key(), event->modifiers());
    if (event->modifiers() & Qt::ControlModifier)
        return;
    // Typed entry sees the characters after the key bindings ran.
    for (const QChar c : event->text()) {
        try {
            m_model->keyPress(c);
        } catch (const OrvantaError& e) {
            m_deps.messages.showMessage(e.message());
        }
    }
}

void CompassWindow::keyReleaseEvent(QKeyEvent* event) {
    m_interaction->keyUp(QGuiApplication::queryKeyboardModifiers());
    QWidget::keyReleaseEvent(event);
}

// ---------------------------------------------------------------- closing

void CompassWindow::closeEvent(QCloseEvent* event) {
    if (!m_reallyClose) {
        event->ignore();
        hide();
        hideToTray();
        return;
    }
    m_options->save();
    try {
        m_measurements->save();
    } catch (const OrvantaError&) {
        // Saving on the way out has nobody left to tell.
    }
    event->accept();
    // A tool window does not count as the last window: start-up ends the loop
    // when it hears this.
    Q_EMIT quitting();
}

void CompassWindow::requestHide() {
    m_reallyClose = !(m_options->systemTrayIcon && m_options->rightClickMenu && trayAvailable());
    close();
    m_reallyClose = true;
}

void CompassWindow::closeCompass() {
    close();
}

void CompassWindow::hideToTray() {
    m_menu->openAction->setVisible(true);
    setTrayIcon(QStringLiteral("AppTrayGray.ico"));
    if (m_options->showMinimizeBalloon && m_trayIcon) {
        m_trayIcon->showMessage(balloonTitle(), balloonText(), QSystemTrayIcon::Information, 30000);
        m_options->showMinimizeBalloon = false;
        m_options->save();
    }
}

void CompassWindow::showCompass() {
    setTrayIcon(QStringLiteral("AppTray.ico"));
    show();
    raise();
    activateWindow();
    m_menu->openAction->setVisible(false);
    ControlLayers& close = m_renderer.layers.control(SkinControl::Close);
    if (close.exists()) {
        close.pressed->visible = false;
        close.hover->visible = false;
    }
    m_model->state.needsRepaint = true;
    scheduleIdle();
}

void CompassWindow::setTrayIcon(const QString& file) {
    const QString path = m_deps.paths.assets + file;
    if (m_trayIcon && QFileInfo::exists(path))
        m_trayIcon->setIcon(QIcon(path));
}

void CompassWindow::trayActivated(QSystemTrayIcon::ActivationReason reason) {
    if (!m_options->systemTrayIcon)
        return;
    if (reason == QSystemTrayIcon::DoubleClick)
        showCompass();
    else if (reason == QSystemTrayIcon::Trigger && m_options->rightClickMenu)
        m_menu->contextMenu->popup(QCursor::pos());
}

// ---------------------------------------------------------------- behaviours

void CompassWindow::setStayOnTop(bool on) {
    m_menu->stayOnTopAction->setChecked(on);
    m_options->stayOnTop = on;
    m_options->save();
    applyStayOnTop();
    m_model->state.needsRepaint = true;
    scheduleIdle();
}

void CompassWindow::applyStayOnTop() {
    const bool wanted = m_options->stayOnTop;
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

void CompassWindow::centreOnScreen() {
    m_renderer.centreOnScreen(m_model->state, desktop());
    m_model->state.needsRepaint = true;
    scheduleIdle();
}

void CompassWindow::selectSkin(int index) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_skinList->selectSkin(index, *m_options);
    compose();
    QApplication::restoreOverrideCursor();
}

void CompassWindow::setQuality(bool high) {
    (high ? m_menu->highQualityAction : m_menu->lowQualityAction)->setChecked(true);
    m_options->quality = high;
    m_options->save();
    compose();
}

void CompassWindow::setOpacity(int percent) {
    m_options->transparency = 100 - percent;
    compose();
}

int CompassWindow::opacity() const {
    return 100 - m_options->transparency;
}

void CompassWindow::nextBaseColor() {
    m_skinList->skin->nextBaseColor();
    m_options->selectedBaseColor = m_skinList->skin->baseColorIndex;
    compose();
}

void CompassWindow::reloadSkin() {
    m_skinList->reload();
    compose();
}

void CompassWindow::setMeasureType(int type) {
    m_model->setMeasureType(type);
    raiseMeasureTypeControl(m_renderer.layers, m_options->measureType);
    syncMenuChecks();
    scheduleIdle();
}

void CompassWindow::startNewInstance() {
    QProcess::startDetached(m_deps.programFile, {});
}

void CompassWindow::showHelp() {
    HelpWindow::showDialog(m_deps.paths.assets, m_cursors.get(), this);
}

void CompassWindow::requestRender() {
    m_model->state.needsRepaint = true;
    scheduleIdle();
}

void CompassWindow::showTransparencyDialog() {
    if (!m_transparency)
        m_transparency = new TransparencyDialog(
            *m_options, [this] { requestRender(); }, m_cursors.get(), this);
    m_transparency->showDialog();
}

void CompassWindow::showCalibrationScreen() {
    CustomUnitsDialog::showDialog(
        CustomUnitsDeps{*m_measurements, [this] { buildUnitsMenu(*m_menu, *m_measurements); },
                        [this] { openWebLink(QStringLiteral("helpCalibrate")); }, &m_deps.messages,
                        m_cursors.get()},
        this);
}

void CompassWindow::openWebLink(const QString& action) {
    orvanta::openWebLink(*m_store, *m_shell, action);
}

QString CompassWindow::clipboardText() const {
    return QGuiApplication::clipboard()->text();
}

void CompassWindow::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void CompassWindow::optionsChanged() {
    syncMenuChecks();
}

void CompassWindow::setCursorShape(int number) {
    if (m_cursors)
        m_cursors->apply(this, number);
}

void CompassWindow::showHint(const QString& text, QPoint screenPos) {
    QToolTip::showText(screenPos, text, this, QRect(), kHintMs);
}

void CompassWindow::hideHint() {
    QToolTip::hideText();
}

void CompassWindow::popupMenu(QPoint screenPos) {
    if (m_options->rightClickMenu)
        m_menu->contextMenu->popup(screenPos);
}

void CompassWindow::syncMenuChecks() {
    if (!m_menu)
        return;
    m_menu->stickyAngleAction->setChecked(m_options->stickyAngle);
    m_menu->lockAngleAction->setChecked(m_options->lockAngle);
    m_menu->lockMeasurementAction->setChecked(m_options->lockMeasurement);
    QAction* types[] = {m_menu->radiusAction, m_menu->circumferenceAction, m_menu->areaAction};
    const int t = m_options->measureType;
    if (t >= 0 && t < 3)
        types[t]->setChecked(true);
}

void CompassWindow::rebuildSkinsIfNeeded() {
    if (m_skinList->needsRescan()) {
        // The compass keeps the skin it shows until the next composition.
        auto rebuilt =
            std::make_unique<SkinCatalog>(m_deps.paths.skinFolders(), m_deps.paths.defaultSkin(),
                                          m_options->skinPath, m_deps.messages);
        m_skinList = std::move(rebuilt);
        buildSkinMenu(*m_menu, *m_skinList);
    }
    m_skinList->skin->baseColorIndex = m_options->selectedBaseColor;
}

// ---------------------------------------------------------------- the menu

void CompassWindow::connectMenu() {
    CompassMenu& m = *m_menu;
    connect(m.contextMenu, &QMenu::aboutToShow, this, &CompassWindow::rebuildSkinsIfNeeded);
    connect(m.unitsMenu, &QMenu::triggered, this, [this](QAction* a) {
        const int tag = a->data().toInt();
        if (tag < 0) {
            showCalibrationScreen();
            return;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_model->selectUnit(tag);
        QApplication::restoreOverrideCursor();
        scheduleIdle();
    });
    connect(m.lowQualityAction, &QAction::triggered, this, [this] { setQuality(false); });
    connect(m.highQualityAction, &QAction::triggered, this, [this] { setQuality(true); });
    connect(m.skinGroup, &QActionGroup::triggered, this,
            [this](QAction* a) { selectSkin(a->data().toInt()); });
    connect(m.shapeMenu, &QMenu::triggered, this, [this](QAction* a) {
        if (m_menu->shapeGroup->actions().contains(a))
            m_model->setShape(a->data().toInt());
        else if (m_menu->scribeGroup->actions().contains(a))
            m_model->setScribe(a->data().toInt() == 1);
        scheduleIdle();
    });
    connect(m.stayOnTopAction, &QAction::triggered, this, [this](bool on) { setStayOnTop(on); });
    connect(m.tooltipsAction, &QAction::triggered, this, [this](bool on) {
        m_options->tooltips = on;
        m_options->save();
    });
    connect(m.runAtStartupAction, &QAction::triggered, this, [this](bool on) {
        m_options->runAtStart = on;
        m_options->save();
        m_deps.autostart.setRunAtStart(on, m_deps.programFile);
    });
    connect(m.hideSplashAction, &QAction::triggered, this, [this](bool on) {
        m_options->hideSplash = on;
        m_options->save();
    });
    connect(m.centreAction, &QAction::triggered, this, &CompassWindow::centreOnScreen);
    connect(m.helpAction, &QAction::triggered, this, &CompassWindow::showHelp);
    connect(m.stickyAngleAction, &QAction::triggered, this, [this] {
        m_interaction->toggleStickyAngle();
        scheduleIdle();
    });
    connect(m.lockAngleAction, &QAction::triggered, this, [this] {
        m_interaction->toggleLockAngle();
        scheduleIdle();
    });
    connect(m.lockMeasurementAction, &QAction::triggered, this, [this] {
        m_interaction->toggleLockMeasurement();
        scheduleIdle();
    });
    connect(m.measureGroup, &QActionGroup::triggered, this,
            [this](QAction* a) { setMeasureType(a->data().toInt()); });
    connect(m.exitAction, &QAction::triggered, this, [this] {
        m_reallyClose = true;
        close();
    });
    connect(m.openAction, &QAction::triggered, this, &CompassWindow::showCompass);
    m_store = std::make_unique<IniKeyValueStore>(
        IniKeyValueStore::defaultUserFile(), IniKeyValueStore::shippedFileIn(m_deps.paths.assets));
    m_shell = std::make_unique<DesktopShell>();
    connect(m.aboutSkinAction, &QAction::triggered, this, [this] {
        AboutSkinDialog::showDialog(*m_skinList->skin, *m_shell, m_cursors.get(), this);
    });
    connect(m.moreSkinsAction, &QAction::triggered, this,
            [this] { openWebLink(QStringLiteral("getskins")); });
    connect(m.transparencyAction, &QAction::triggered, this,
            &CompassWindow::showTransparencyDialog);
    connect(m.magnifierAction, &QAction::triggered, this,
            [this] { launchMagnifier(*m_store, *m_shell, askYesNoBox); });
    connect(m.webLinkAction, &QAction::triggered, this, [this] { openWebLink(QString()); });
}

} // namespace orvanta
