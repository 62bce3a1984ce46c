// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "xdesktop.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <cstdio>

namespace orvanta::test {

namespace {

QString socketOf(int display) {
    return QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
}

QString lockOf(int display) {
    return QStringLiteral("/tmp/.X%1-lock").arg(display);
}

void stop(QProcess* p) {
    if (!p || p->state() == QProcess::NotRunning)
        return;
    p->terminate();
    if (!p->waitForFinished(3000))
        p->kill();
    p->waitForFinished(1000);
}

bool have(const char* program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QByteArray output(const QProcessEnvironment& env, const QString& program, const QStringList& args,
                  int timeoutMs) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        qWarning("%s did not finish in %d ms: its output is cut short", qPrintable(program),
                 timeoutMs);
        p.kill();
        p.waitForFinished(1000);
    }
    return p.readAllStandardOutput();
}

} // namespace

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(50);
    }
    return true;
}

VirtualDesktop::VirtualDesktop(QSize size, const QString& windowManager, bool compositor) {
    if (!have("Xvfb") || (!windowManager.isEmpty() && !have(qPrintable(windowManager))))
        return;
    m_installed = true;
    m_ok = startServer(size);
    if (m_ok && !windowManager.isEmpty())
        m_ok = startWindowManager(windowManager);
    if (m_ok && compositor && have("xcompmgr")) {
        m_compositor = std::make_unique<QProcess>();
        m_compositor->setProcessEnvironment(environment());
        m_compositor->start("xcompmgr", {});
        m_compositor->waitForStarted(5000);
        QThread::msleep(300);
    }
}

// Tests started together may pick the same free display; the server that
// comes second gives up at once, while the first one's socket makes the
// display look ready. A display is ours once its lock file names our server.
// The Python tests' launcher (tests/harness/xserver.py) follows the same rule.
bool VirtualDesktop::startServer(QSize size) {
    int n = 200 + int(QCoreApplication::applicationPid() % 500);
    for (int attempt = 0; attempt < 10; ++attempt, ++n) {
        while (QFile::exists(lockOf(n)) || QFile::exists(socketOf(n)))
            ++n;
        m_display = QStringLiteral(":%1").arg(n);
        m_xvfb = std::make_unique<QProcess>();
        m_xvfb->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_xvfb->start("Xvfb", {m_display, "-screen", "0",
                               QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height()),
                               "-nolisten", "tcp"});
        if (!m_xvfb->waitForStarted(5000))
            return false;
        const QByteArray pid = QByteArray::number(m_xvfb->processId());
        const auto ours = [&] {
            QFile lock(lockOf(n));
            return lock.open(QIODevice::ReadOnly) && lock.readAll().trimmed() == pid &&
                   QFile::exists(socketOf(n));
        };
        waitFor([&] { return m_xvfb->state() == QProcess::NotRunning || ours(); });
        if (m_xvfb->state() != QProcess::NotRunning && ours())
            return true;
        std::fprintf(stderr, "Xvfb did not take display %s, trying the next one\n",
                     qPrintable(m_display));
        stop(m_xvfb.get());
    }
    return false;
}

// Managing starts once the manager has named itself on the root window. A
// manager that gave up at once (seen on a loaded machine: the display not yet
// taking clients) is started again; what it said goes to the test's log.
bool VirtualDesktop::startWindowManager(const QString& windowManager) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_windowManager = std::make_unique<QProcess>();
        m_windowManager->setProcessEnvironment(environment());
        m_windowManager->setProcessChannelMode(QProcess::ForwardedChannels);
        m_windowManager->start(windowManager, {});
        if (!m_windowManager->waitForStarted(5000))
            return false;
        const bool managing = waitFor(
            [&] {
                return m_windowManager->state() == QProcess::NotRunning ||
                       run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains('#');
            },
            15000);
        if (managing && m_windowManager->state() != QProcess::NotRunning)
            return true;
        std::fprintf(stderr, "%s ended or did not manage the display (attempt %d)\n",
                     qPrintable(windowManager), attempt + 1);
        stop(m_windowManager.get());
        QThread::msleep(500);
    }
    return false;
}

VirtualDesktop::~VirtualDesktop() {
    stop(m_compositor.get());
    stop(m_windowManager.get());
    stop(m_xvfb.get());
}

QProcessEnvironment VirtualDesktop::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_display);
    env.remove("QT_QPA_PLATFORM");
    env.remove("WAYLAND_DISPLAY");
    return env;
}

QString VirtualDesktop::run(const QString& program, const QStringList& args, int timeoutMs) const {
    return QString::fromUtf8(output(environment(), program, args, timeoutMs));
}

QImage VirtualDesktop::screenshot() const {
    // A screen of three 4K monitors takes import 15 s on a loaded machine.
    const QByteArray png = output(environment(), "import", {"-window", "root", "png:-"}, 60000);
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

std::optional<qulonglong> VirtualDesktop::windowUnder(QPoint pt) const {
    run("xdotool", {"mousemove", QString::number(pt.x()), QString::number(pt.y())});
    QThread::msleep(100);
    for (const QString& line : run("xdotool", {"getmouselocation", "--shell"}).split('\n'))
        if (line.startsWith("WINDOW="))
            return line.mid(7).toULongLong();
    return std::nullopt;
}

QRect VirtualDesktop::windowGeometry(qulonglong window) const {
    QRect r;
    const QString info = run("xwininfo", {"-id", QString::number(window)});
    for (const QString& line : info.split('\n')) {
        const QString l = line.trimmed();
        const int value = l.section(':', 1).trimmed().toInt();
        if (l.startsWith("Absolute upper-left X:"))
            r.moveLeft(value);
        else if (l.startsWith("Absolute upper-left Y:"))
            r.moveTop(value);
        else if (l.startsWith("Width:"))
            r.setWidth(value);
        else if (l.startsWith("Height:"))
            r.setHeight(value);
    }
    return r;
}

void VirtualDesktop::click(QPoint pt, int button) const {
    run("xdotool", {"mousemove", QString::number(pt.x()), QString::number(pt.y()), "click",
                    QString::number(button)});
}

bool VirtualDesktop::clickToFocus(QPoint p, const QString& name) const {
    click(p);
    return waitFor(
        [&] {
            return run("xdotool", {"getwindowfocus", "getwindowname"}).startsWith(name);
        },
        8000);
}

QByteArray VirtualDesktop::grab() const {
    return output(environment(), "xwd", {"-root", "-silent"}, 10000);
}

void VirtualDesktop::drag(QPoint from, QPoint to, int steps) const {
    run("xdotool",
        {"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"});
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        run("xdotool", {"mousemove", QString::number(p.x()), QString::number(p.y())});
    }
    QThread::msleep(200);
    run("xdotool", {"mouseup", "1"});
}

std::unique_ptr<QProcess> VirtualDesktop::ownClipboard(const QByteArray& text) const {
    auto owner = std::make_unique<QProcess>();
    owner->setProcessEnvironment(environment());
    owner->start("xclip", {"-i", "-selection", "clipboard"});
    if (!owner->waitForStarted(3000))
        return nullptr;
    owner->write(text);
    owner->waitForBytesWritten(3000);
    owner->closeWriteChannel();
    if (waitFor([&] { return run("xclip", {"-o", "-selection", "clipboard"}).toUtf8() == text; }))
        return owner;
    stop(owner.get());
    return nullptr;
}

PrivateBus::PrivateBus() {
    if (!have("dbus-daemon"))
        return;
    m_daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (m_daemon.waitForStarted(5000) && waitFor([&] { return m_daemon.canReadLine(); }))
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus() {
    stop(&m_daemon);
}

ProgramCopy::ProgramCopy() {
    const QDir source(QStringLiteral(ORVANTA_BIN_DIR));
    if (!m_dir.isValid() || !source.exists("orvanta"))
        return;
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = source.relativeFilePath(it.next());
        // Only the program and what ships with it: no test binaries, no settings.
        if (rel.startsWith("orvanta_") || rel == "Compass.ini" || rel.endsWith(".compassskin"))
            continue;
        QDir().mkpath(QFileInfo(path(rel)).path());
        QFile::copy(source.filePath(rel), path(rel));
    }
    QFile::setPermissions(binary(), QFile::permissions(source.filePath("orvanta")));
    m_ok = true;
}

QString ProgramCopy::path(const QString& relative) const {
    return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
}

QProcessEnvironment ProgramCopy::environment(QProcessEnvironment base) const {
    base.insert("XDG_CONFIG_HOME", path("config"));
    // Every start writes its D-Bus activation file.
    base.insert("XDG_DATA_HOME", path("data"));
    return base;
}

void ProgramCopy::writeFile(const QString& relative, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(path(relative)).path());
    QFile f(path(relative));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray ProgramCopy::readFile(const QString& relative) const {
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace orvanta::test
