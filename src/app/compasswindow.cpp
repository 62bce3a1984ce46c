// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/compasswindow.h"

#include "app/compasstray.h"
#include "app/loupewindow.h"
#include "app/weblinks.h"
#include "dialogs/aboutskindialog.h"
#include "dialogs/calibrationdialog.h"
#include "dialogs/customunitsdialog.h"
#include "dialogs/helpwindow.h"
#include "dialogs/transparencydialog.h"
#include "model/numbers.h"
#include "model/values.h"
#include "platform/autostart.h"
#include "platform/cursortable.h"
#include "platform/keyvaluestore.h"
#include "platform/languageswitcher.h"
#include "platform/screenmonitors.h"
#include "platform/shell.h"
#include "platform/windowpixels.h"
#include "platform/x11shape.h"
#include "render/dirtybands.h"
#include "render/geometry.h"
#include "vision/loupe.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QToolTip>
#include <QtMath>
#include <cmath>

namespace orvanta {

namespace {

// A compositor can start or stop while we run; without one, transparent
// pixels would show black, so the window then clips itself to the compass.
constexpr int kCompositorPollMs = 5000;
// Pixels at least this opaque belong to the bounding shape when no compositor
// blends the window: half-transparent edges are cut rather than shown dark.
constexpr int kBoundingShapeAlpha = 128;
// The tool tip stays long enough to read the typed-entry help.
constexpr int kToolTipMs = 6000;
// How long after the window asks for the keyboard itself an activation is its
// own: the window manager answers within a few event-loop turns.
constexpr int kOwnActivationMs = 500;
// What one more rectangle of a frame costs, in pixels: the X server puts each
// apart and adds it to the window's damage one by one, and the compositor
// paints each apart (measured with tools/bench-window.sh on Xvfb with
// xcompmgr: fewer rectangles at this price took the server 6 to 25 % less
// time a frame).
constexpr int kPushRectCost = 600;
// The title and the tray's tooltip show the readout, which a drag changes every
// frame: they follow it at most this often (each change is a pair of
// properties for the X server, and a D-Bus signal for a tray), and always end
// on the last value.
constexpr int kTitleIntervalMs = 250;
// Around a window of ours whose frame the desktop draws without telling its
// size (sway's title bar and border), the compass leaves this much more.
constexpr QMargins kUntoldFrame(4, 32, 4, 4);

// Copies `region` of `image` (the widget's own coordinates) into what `p`
// paints on, row by row, when that is an image of the same format at one
// device pixel per pixel, placed by a plain shift: the xcb backing store is a
// premultiplied ARGB32 image like ours, and a frame's many small rectangles
// then cost their bytes rather than a painter's setup each. False when it is
// anything else; nothing is copied then.
bool copyInto(QPainter& p, const QImage& image, const QRegion& region) {
    QPaintEngine* engine = p.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return false;
    auto* target = static_cast<QImage*>(device);
    const QTransform& shift = p.deviceTransform();
    if (target->format() != image.format() || target->devicePixelRatio() != 1.0 ||
        shift.type() > QTransform::TxTranslate || image.depth() != 32)
        return false;
    const QPoint offset(qRound(shift.dx()), qRound(shift.dy()));
    copyRows(image, region & image.rect() & target->rect().translated(-offset), target->bits(),
             target->bytesPerLine(), offset);
    return true;
}

} // namespace

CompassWindow::CompassWindow(CompassWindowDeps deps)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Window), m_deps(std::move(deps)),
      m_clicks(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
               QGuiApplication::styleHints()->mouseDoubleClickDistance()),
      m_inputShape(1), m_boundingShape(kBoundingShapeAlpha) {
    if (m_deps.hints.bypassWindowManager()) {
        setWindowFlag(Qt::X11BypassWindowManagerHint);
        qApp->installEventFilter(this); // our windows that show, move and hide
    }
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(tr("Compass"));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_titleTimer.setSingleShot(true);
    m_titleTimer.setInterval(kTitleIntervalMs);
    connect(&m_titleTimer, &QTimer::timeout, this, &CompassWindow::showTitle);

    const ProgramPaths& paths = m_deps.paths;
    // Until the first frame places it, the window is one transparent pixel.
    setGeometry(QRect(desktop().virtualRect.topLeft(), QSize(1, 1)));

    // The steps that load files are guarded so that the cursors and the idle
    // handler are always set up; an error that escapes is passed on after.
    std::exception_ptr failure;
    try {
        m_store = std::make_unique<IniKeyValueStore>(IniKeyValueStore::defaultUserFile(),
                                                     IniKeyValueStore::shippedFileIn(paths.assets));
        m_shell = std::make_unique<LinkReportingShell>(m_desktopShell, m_deps.messages);
        m_repeat = std::make_unique<QtRepeatTimer>([this] {
            m_controller->interaction().moverTick();
            scheduleRender();
        });
        m_controller = std::make_unique<CompassController>(
            paths.controllerFiles(m_deps.programFile),
            ControllerPorts{*this, m_deps.messages, m_deps.autostart, *m_shell, m_pointer, m_clock,
                            *m_repeat});
        m_monitors = new ScreenMonitors(this);
        m_controller->setMonitors(m_monitors->monitors());
        // Queued: Qt reports a removed screen while it is still listed.
        connect(
            m_monitors, &ScreenMonitors::changed, this,
            [this] { m_controller->setMonitors(m_monitors->monitors()); }, Qt::QueuedConnection);
        m_menu = std::make_unique<CompassMenu>(this);
        m_menu->connectTo(*m_controller);
        m_tray = new CompassTray(*m_controller, *m_menu, paths.assets, this);
        followController();
        applyStayOnTop(m_controller->settings().stayOnTop);
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

    watchCompositor();
    watchScreens();
    startMinimisedIfAsked();
    // Before the native window exists: it is created where the compass is.
    placeBeforeMapping();
}

CompassWindow::~CompassWindow() = default;

// A compositor can start or stop while we run: the shapes follow.
void CompassWindow::watchCompositor() {
    m_compositor = m_deps.shape.compositorRunning();
    m_compositorPoll.setInterval(kCompositorPollMs);
    connect(&m_compositorPoll, &QTimer::timeout, this, [this] {
        const bool now = m_deps.shape.compositorRunning();
        if (now != m_compositor) {
            m_compositor = now;
            updateShapes(QRegion(), true);
        }
    });
    m_compositorPoll.start();
}

// Monitors added, removed or moved while we run.
void CompassWindow::watchScreens() {
    for (QScreen* s : QGuiApplication::screens())
        connect(s, &QScreen::virtualGeometryChanged, this, &CompassWindow::desktopChanged);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
        connect(s, &QScreen::virtualGeometryChanged, this, &CompassWindow::desktopChanged);
        desktopChanged();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &CompassWindow::desktopChanged);
}

// A minimised start hides into the tray once the loop runs. Without a tray
// there is nowhere to hide, so the compass shows.
void CompassWindow::startMinimisedIfAsked() {
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(1);
    connect(&m_startTimer, &QTimer::timeout, this, [this] {
        if (m_deps.startMinimised && m_tray && m_tray->available()) {
            m_reallyClose = false;
            close();
        }
        m_reallyClose = true;
        m_deps.startMinimised = false;
    });
    m_startTimer.start();
}

// Shows the latest title, and holds the next one back for a while.
void CompassWindow::showTitle() {
    if (m_pendingTitle.isNull())
        return;
    setWindowTitle(m_pendingTitle);
    if (m_tray)
        m_tray->setToolTip(m_pendingTitle);
    m_pendingTitle = QString();
    m_titleTimer.start();
}

// The news the window itself follows: the readout for its title, the language.
void CompassWindow::followController() {
    CompassController* c = m_controller.get();
    connect(c, &CompassController::titleChanged, this, [this](const QString& title) {
        m_pendingTitle = title;
        if (!m_titleTimer.isActive())
            showTitle();
    });
    connect(c, &CompassController::languageChosen, this, [this](LanguageChoice choice) {
        if (m_deps.language)
            m_deps.language->use(choice);
    });
    connect(c, &CompassController::settingsChanged, this, &CompassWindow::followLoupe);
}

// ---------------------------------------------------------------- CompassView

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

void CompassWindow::setCursorShape(int number) {
    if (m_cursors)
        m_cursors->apply(this, number);
}

void CompassWindow::showToolTip(const QString& text, QPoint screenPos) {
    // Qt keeps a tip on the monitor under its point, and falls back to the
    // window's monitor for a point off every monitor: the compass's centre
    // can lie past the desktop's edge, so the point comes onto the nearest one.
    QToolTip::showText(pointOnMonitors(screenPos, desktop().monitors), text, this, QRect(),
                       kToolTipMs);
}

void CompassWindow::hideToolTip() {
    QToolTip::hideText();
}

void CompassWindow::popupMenu(QPoint screenPos) {
    m_menu->contextMenu->popup(screenPos);
}

void CompassWindow::applyStayOnTop(bool on) {
    // Not Qt's stay-on-top hint: changing it re-creates the native window, and
    // its hints draw warnings from window managers (see windowmanagerhints.h).
    if (on != m_stayOnTop && isVisible())
        m_deps.hints.setStayOnTop(winId(), on);
    m_stayOnTop = on;
    // Without a window manager nothing else keeps the window above.
    if (on && isVisible())
        raise();
}

QString CompassWindow::clipboardText() const {
    return QGuiApplication::clipboard()->text();
}

void CompassWindow::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void CompassWindow::scheduleRender() {
    // The idle pass runs when the loop is about to wait; a posted no-op wakes
    // it when the request comes from inside the idle pass itself.
    if (m_idleScheduled)
        return;
    m_idleScheduled = true;
    QTimer::singleShot(0, this, [this] { m_idleScheduled = false; });
}

// ---------------------------------------------------------------- rendering

void CompassWindow::desktopChanged() {
    // The renderer places the window again on the new desktop; the window
    // follows at the next pass.
    m_pushAll = true;
    if (m_controller)
        m_controller->requestRender();
}

QPoint CompassWindow::toDesktop(QPointF screenPos) const {
    return screenToDesktop(screenPos.toPoint(), desktop().virtualRect.topLeft());
}

void CompassWindow::idleUpdate() {
    if (m_inIdle || !m_controller || !isVisible())
        return;
    m_inIdle = true;
    // While a button is held the pointer's every move reaches us with the
    // modifiers as they are, so the state of the last event is current; asking
    // the X server would wait for it once a frame.
    const Qt::KeyboardModifiers modifiers = QGuiApplication::mouseButtons() != Qt::NoButton
                                                ? QGuiApplication::keyboardModifiers()
                                                : QGuiApplication::queryKeyboardModifiers();
    if (m_loupe && m_loupe->isVisible() && m_controller->needsRender())
        lookAhead();
    const Frame frame =
        m_controller->render(isActiveWindow(), bool(modifiers & Qt::ControlModifier));
    if (m_pushAll)
        pushAll();
    else
        push(frame);
    catchUpInputShape();
    if (frame.rendered || frame.pushed || frame.moved)
        followLoupe();
    m_inIdle = false;
    if (m_controller->state().needsRepaint)
        scheduleRender(); // recentred: the next pass draws it
}

void CompassWindow::push(const Frame& frame) {
    if (frame.window.isEmpty())
        return;
    const QRect target = frame.window.translated(desktop().virtualRect.topLeft());
    const bool moves = target != geometry();
    if (!frame.pushed) {
        // Carried along with the compass: the same pixels and the same shapes
        // in the window's own coordinates, only elsewhere.
        if (moves && target.size() == size()) {
            move(target.topLeft());
            if (!m_boxes.isEmpty()) {
                update(); // the boxes stay where they are
                applyShapes(true, false);
            }
        }
        return;
    }
    const QRegion changed = frame.dirty.translated(-frame.window.topLeft());
    if (!moves) {
        updateShapes(changed, false);
        // Every pixel of the image is current: what is pushed may be more
        // than what changed, in fewer rectangles.
        const QRegion pushed = coarsened(changed, kPushRectCost);
        // Without a compositor every frame's new bounding shape has the
        // server ask for the area it adds, which Qt answers from its own copy:
        // the frame goes through that copy then.
        if (m_compositor && m_deps.pixels && m_boxes.isEmpty() &&
            m_deps.pixels->put(winId(), m_controller->windowImage(), pushed))
            m_storeStale = true;
        else
            update(pushed);
        return;
    }
    // A new place and new pixels: the compositor sees both or neither.
    const bool resized = target.size() != size();
    const ServerGrab grab;
    setGeometry(target);
    updateShapes(changed, resized);
    if (!m_boxes.isEmpty())
        applyShapes(true, false); // the boxes stay where they are
    repaint(m_boxes.isEmpty() ? changed : QRegion(rect()));
}

void CompassWindow::pushAll() {
    const QRect window = m_controller->windowRect();
    if (window.isEmpty())
        return;
    m_pushAll = false;
    const ServerGrab grab;
    setGeometry(window.translated(desktop().virtualRect.topLeft()));
    updateShapes(QRegion(), true);
    repaint();
}

void CompassWindow::updateShapes(const QRegion& changed, bool whole) {
    if (!windowHandle())
        return;
    const QImage& image = m_controller->windowImage();
    if (whole || winId() != m_shapedWindow) {
        // A new native window has the default shapes: set ours again.
        if (winId() != m_shapedWindow)
            m_boundingShaped = false;
        m_shapedWindow = winId();
        m_inputShape.reset(image);
        m_deferredInput = QRect();
        if (!m_compositor)
            m_boundingShape.reset(image);
        applyShapes(true, true);
        return;
    }
    // While a button is held the X server sends every pointer event to the
    // window that took the press, whatever its input shape: a drag's frames
    // leave the input shape for the release.
    bool input = false;
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        m_deferredInput |= changed.boundingRect();
    else
        input = m_inputShape.update(image, changed);
    const bool bounding = !m_compositor && m_boundingShape.update(image, changed);
    applyShapes(input, bounding);
}

void CompassWindow::catchUpInputShape() {
    if (m_deferredInput.isEmpty() || QGuiApplication::mouseButtons() != Qt::NoButton ||
        !windowHandle())
        return;
    const bool input = m_inputShape.update(m_controller->windowImage(), QRegion(m_deferredInput));
    m_deferredInput = QRect();
    applyShapes(input, false);
}

void CompassWindow::applyShapes(bool inputChanged, bool boundingChanged) {
    if (inputChanged) {
        // Clicks on our windows reach them where the compass is not drawn:
        // sway 1.10 picks the surface under the pointer by its input region.
        const QRegion input = m_inputShape.region() - m_boxes.translated(-pos());
        m_deps.shape.setInputShape(winId(), QVector<QRect>(input.begin(), input.end()));
    }
    if (m_compositor) {
        if (m_boundingShaped)
            m_boundingShaped = !m_deps.shape.setBoundingShape(winId(), std::nullopt);
    } else if (boundingChanged) {
        const QRegion& bounding = m_boundingShape.region();
        m_boundingShaped = m_deps.shape.setBoundingShape(
            winId(), QVector<QRect>(bounding.begin(), bounding.end()));
    }
}

void CompassWindow::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QImage& image = m_controller->windowImage();
    const bool copied = copyInto(p, image, event->region());
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (!copied) {
        for (const QRect& r : event->region())
            p.drawImage(r.topLeft(), image, r);
    }
    for (const QRect& r : event->region() & m_boxes.translated(-pos()))
        p.fillRect(r, Qt::transparent);
}

void CompassWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activating)
        m_deps.hints.handBackFocus(winId());
    if (event->type() != QEvent::LanguageChange || !m_controller || !m_menu)
        return;
    retranslate(*m_menu, m_controller->units());
    buildSkinMenu(*m_menu, m_controller->skins()); // skins may carry their names in both
    m_pendingTitle = m_controller->titleText();
    showTitle();
}

void CompassWindow::showEvent(QShowEvent* event) {
    // Sent before the native window is mapped, and again after every hide.
    m_deps.hints.prepare(winId(), m_stayOnTop);
    placeBeforeMapping();
    // Nothing of ours covers the desktop yet: the loupe sees what lies
    // where the slide will stand.
    if (m_controller && showsLoupe()) {
        makeLoupe();
        lookAhead();
    }
    QWidget::showEvent(event);
    watchServerSize();
    // A new native window has the default input shape: set ours again.
    m_pushAll = true;
    if (m_controller)
        m_controller->requestRender();
}

// The window is created and mapped where the compass is and at its size:
// weston's window manager places an X window once, at the place it was created
// at, and moves it no more (a configure request only resizes it); mutter takes
// the input shape clipped to the size it knows.
void CompassWindow::placeBeforeMapping() {
    if (!m_controller)
        return;
    m_controller->render(false, false);
    const QRect window = m_controller->windowRect();
    if (!window.isEmpty())
        setGeometry(window.translated(desktop().virtualRect.topLeft()));
}

// A window manager applies a new size some time after we ask for it, and
// mutter takes the input shape clipped to the size it knows when the shape
// arrives, keeping that until the next shape: once the X server reports the
// new size, the same shape goes again.
void CompassWindow::watchServerSize() {
    QWindow* window = windowHandle();
    if (!window || window == m_sizeWatched)
        return;
    m_sizeWatched = window;
    m_serverSize = QSize();
    window->installEventFilter(this);
    const auto resized = [this] {
        if (!m_sizeWatched || m_sizeWatched->size() == m_serverSize)
            return;
        m_serverSize = m_sizeWatched->size();
        if (winId() == m_shapedWindow)
            applyShapes(true, false);
    };
    connect(window, &QWindow::widthChanged, this, resized);
    connect(window, &QWindow::heightChanged, this, resized);
}

// Qt answers an expose (a compositor that went away, say) from its backing
// store, which the frames put past it did not reach: the whole window is
// painted into it again first.
bool CompassWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && m_storeStale) {
        m_storeStale = false;
        update();
    }
    const QEvent::Type type = event->type();
    if (!m_boxesPending && watched != this && watched->isWidgetType() &&
        (type == QEvent::Show || type == QEvent::Hide || type == QEvent::Move ||
         type == QEvent::Resize) &&
        static_cast<QWidget*>(watched)->isWindow()) {
        m_boxesPending = true;
        QTimer::singleShot(0, this, &CompassWindow::followBoxes);
    }
    return QWidget::eventFilter(watched, event);
}

void CompassWindow::followBoxes() {
    m_boxesPending = false;
    QRegion boxes;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || !w->isVisible() ||
            (w->windowType() != Qt::Dialog && w->windowType() != Qt::Window))
            continue;
        const QRect frame = w->frameGeometry();
        boxes += frame == w->geometry() ? frame.marginsAdded(kUntoldFrame) : frame;
    }
    if (boxes == m_boxes)
        return;
    update((boxes | m_boxes).translated(-pos()));
    m_boxes = boxes;
    if (windowHandle())
        applyShapes(true, false);
}

// ---------------------------------------------------------------- input

void CompassWindow::mousePressEvent(QMouseEvent* event) {
    pressed(event);
}

void CompassWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed(event);
}

// Qt replaces the second press of a double-click by a double-click event, and
// may deliver one press twice: the filter says which presses the hand made.
void CompassWindow::pressed(QMouseEvent* event) {
    const QPoint screenPos = event->globalPosition().toPoint();
    const ClickFilter::Press press = m_clicks.press(event->button(), event->timestamp(), screenPos,
                                                    event->type() == QEvent::MouseButtonDblClick);
    if (press == ClickFilter::Press::Repeat)
        return;
    // No window manager gives the keyboard to a window that bypasses it, nor
    // does Qt ask for it then: the compass takes it when clicked.
    if ((windowFlags() & Qt::X11BypassWindowManagerHint) && !isActiveWindow())
        activateWindow();
    CompassInteraction& interaction = m_controller->interaction();
    interaction.mouseDown(event->button(), event->modifiers(), toDesktop(event->globalPosition()));
    if (press == ClickFilter::Press::Double && event->button() == Qt::LeftButton)
        interaction.doubleClick();
    scheduleRender();
}

void CompassWindow::mouseMoveEvent(QMouseEvent* event) {
    m_controller->interaction().mouseMove(event->modifiers(), toDesktop(event->globalPosition()));
}

void CompassWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_clicks.release(event->button(), event->timestamp(), event->globalPosition().toPoint()))
        return;
    m_controller->interaction().mouseUp(event->button(), event->modifiers(),
                                        toDesktop(event->globalPosition()));
}

void CompassWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The menu is the window's own right-click menu, unless switched off.
    m_controller->popupMenu(event->globalPos());
}

void CompassWindow::keyPressEvent(QKeyEvent* event) {
    // The loupe's keys: G shows or hides it, [ and ] zoom it out and in.
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const int key = event->key();
        if (key == Qt::Key_G) {
            m_controller->setLoupe(!m_controller->settings().loupe);
            return;
        }
        if (key == Qt::Key_BracketLeft || key == Qt::Key_BracketRight) {
            m_controller->setLoupeZoom(steppedZoom(m_controller->settings().loupeZoom,
                                                   key == Qt::Key_BracketRight ? 1 : -1));
            return;
        }
    }
    m_controller->interaction().keyDown(event->key(), event->modifiers());
    if (event->modifiers() & Qt::ControlModifier)
        return;
    // Typed entry sees the characters after the key bindings ran.
    for (const QChar c : event->text())
        m_controller->typeCharacter(c);
}

void CompassWindow::keyReleaseEvent(QKeyEvent* event) {
    m_controller->interaction().keyUp(QGuiApplication::queryKeyboardModifiers());
    QWidget::keyReleaseEvent(event);
}

// ---------------------------------------------------------------- the loupe

// The point the compass measures from in `state`: the pivot while the base
// is dragged, the slide's tip otherwise; desktop coordinates, on the pixel
// the readout counts to.
QPoint CompassWindow::measuredPoint(const CompassState& state) const {
    const QPointF pivot = m_controller->interaction().pivotPoint();
    if (m_controller->interaction().dragMode() == DragMode::Base)
        return pivot.toPoint();
    const double a = qDegreesToRadians(double(state.displayAngle));
    return (pivot + QPointF(std::cos(a), std::sin(a)) * double(state.measurement)).toPoint();
}

bool CompassWindow::showsLoupe() const {
    // The loupe reads the X server's pixels; other platforms have none to give.
    return m_controller->settings().loupe && QGuiApplication::platformName() == u"xcb";
}

void CompassWindow::makeLoupe() {
    if (m_loupe)
        return;
    m_loupe = std::make_unique<LoupeWindow>();
    m_loupe->zoomAsked = [this](int steps) {
        m_controller->setLoupeZoom(steppedZoom(m_loupe->zoom(), steps));
    };
    m_loupe->setZoom(m_controller->settings().loupeZoom);
}

// Before a frame that may put the tip elsewhere (a jump: keys, a typed
// value, automation) is drawn and shown, the loupe reads where the tip goes,
// while the compass is still where it was. A drag's frames need no such
// read: the ground ahead of the tip was read at the frames before.
void CompassWindow::lookAhead() {
    if (m_controller->state().dragging)
        return;
    // Where the next frame puts the tip: the state as that frame will
    // normalise it.
    CompassState next = m_controller->state();
    next.normalizeCompass(m_controller->settings(), false);
    const QPoint origin = desktop().virtualRect.topLeft();
    const bool shown = isVisible() && windowHandle() && windowHandle()->isExposed();
    m_loupe->lookAhead(origin + measuredPoint(next), shown ? m_controller->windowImage() : QImage(),
                       shown ? m_controller->windowRect().translated(origin) : QRect());
}

void CompassWindow::followLoupe() {
    if (!isVisible() || !showsLoupe()) {
        if (m_loupe)
            m_loupe->hide();
        return;
    }
    makeLoupe();
    // A new drag looks afresh: windows below may have changed since.
    const bool dragging = m_controller->state().dragging;
    if (dragging && !m_loupeDragging)
        m_loupe->forget();
    m_loupeDragging = dragging;
    const Settings& settings = m_controller->settings();
    if (m_loupe->zoom() != settings.loupeZoom)
        m_loupe->setZoom(settings.loupeZoom);
    const QPoint origin = desktop().virtualRect.topLeft();
    const QPoint point = measuredPoint(m_controller->state());
    const QScreen* screen = QGuiApplication::screenAt(origin + point);
    m_loupe->lookAt(origin + point, point, m_controller->windowImage(),
                    m_controller->windowRect().translated(origin),
                    screen ? screen->geometry() : desktop().virtualRect);
}

// ---------------------------------------------------------------- showing and closing

void CompassWindow::closeEvent(QCloseEvent* event) {
    if (m_loupe)
        m_loupe->hide();
    if (!m_reallyClose) {
        event->ignore();
        hide();
        if (m_tray)
            m_tray->compassHidden();
        return;
    }
    event->accept();
    // A tool window does not count as the last window: start-up ends the loop
    // when it hears the controller's quitting.
    m_controller->shutDown();
}

bool CompassWindow::hasTray() const {
    return m_tray && m_tray->available();
}

void CompassWindow::closeCompass() {
    close();
}

void CompassWindow::hideCompass(bool toTray) {
    m_reallyClose = !(toTray && m_tray && m_tray->available());
    close();
    m_reallyClose = true;
}

void CompassWindow::showCompass() {
    if (m_tray)
        m_tray->compassShown();
    show();
    raise();
    // Our own request: the button that chose "Open" may still be down over
    // the tray.
    m_activating = true;
    activateWindow();
    QTimer::singleShot(kOwnActivationMs, this, [this] { m_activating = false; });
}

// ---------------------------------------------------------------- dialogs and links

void CompassWindow::showHelp() {
    HelpWindow::showDialog(m_deps.paths.assets, *m_shell, m_cursors.get(), this);
}

void CompassWindow::showCalibration() {
    CustomUnitsDialog::showDialog(
        CustomUnitsDeps{m_controller->editableUnits(), [this] { m_controller->unitsEdited(); },
                        [this] { openWebLink(QStringLiteral("helpCalibrate")); }, &m_deps.messages,
                        m_cursors.get(), [this] { m_controller->showScreenCalibration(); }},
        this);
}

void CompassWindow::showScreenCalibration() {
    CalibrationDialog::showDialog(*m_controller, this);
}

void CompassWindow::showTransparencyDialog() {
    if (!m_transparency)
        m_transparency = new TransparencyDialog(*m_controller, m_cursors.get(), this);
    m_transparency->showDialog();
}

void CompassWindow::showAboutSkin() {
    AboutSkinDialog::showDialog(*m_controller->skins().skin, *m_shell, m_cursors.get(), this);
}

void CompassWindow::openWebLink(const QString& action) {
    orvanta::openWebLink(*m_store, *m_shell, action);
}

} // namespace orvanta
