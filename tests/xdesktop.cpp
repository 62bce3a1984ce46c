#include "xdesktop.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

namespace orvanta::test {

namespace {

bool displayFree(int n) {
    return !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)) &&
           !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n));
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

VirtualDesktop::VirtualDesktop(QSize size, bool compositor) {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        return;
    int n = 200 + int(QCoreApplication::applicationPid() % 500);
    while (!displayFree(n))
        ++n;
    m_display = QStringLiteral(":%1").arg(n);
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_xvfb->start("Xvfb", {m_display, "-screen", "0",
                           QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height()),
                           "-nolisten", "tcp"});
    if (!m_xvfb->waitForStarted(5000))
        return;
    m_ok = waitFor([&] { return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)); });
    if (m_ok && compositor && !QStandardPaths::findExecutable("xcompmgr").isEmpty()) {
        m_compositor = std::make_unique<QProcess>();
        m_compositor->setProcessEnvironment(environment());
        m_compositor->start("xcompmgr", {});
        m_compositor->waitForStarted(5000);
        QThread::msleep(300);
    }
}

VirtualDesktop::~VirtualDesktop() {
    for (auto* p : {m_compositor.get(), m_xvfb.get()}) {
        if (p && p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(1000);
        }
    }
}

QProcessEnvironment VirtualDesktop::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", m_display);
    env.remove("QT_QPA_PLATFORM");
    env.remove("WAYLAND_DISPLAY");
    return env;
}

QString VirtualDesktop::run(const QString& program, const QStringList& args, int timeoutMs) const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

QImage VirtualDesktop::screenshot() const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start("import", {"-window", "root", "png:-"});
    p.waitForFinished(15000);
    return QImage::fromData(p.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

std::optional<qulonglong> VirtualDesktop::windowUnder(QPoint pt) const {
    run("xdotool", {"mousemove", QString::number(pt.x()), QString::number(pt.y())});
    QThread::msleep(100);
    const QString out = run("xdotool", {"getmouselocation", "--shell"});
    for (const QString& line : out.split('\n'))
        if (line.startsWith("WINDOW="))
            return line.mid(7).toULongLong();
    return std::nullopt;
}

void VirtualDesktop::click(QPoint pt, int button) const {
    run("xdotool", {"mousemove", QString::number(pt.x()), QString::number(pt.y()), "click",
                    QString::number(button)});
}

PrivateBus::PrivateBus() {
    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
        return;
    m_daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (!m_daemon.waitForStarted(5000))
        return;
    if (waitFor([&] { return m_daemon.canReadLine(); }))
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus() {
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(3000))
            m_daemon.kill();
    }
}

ProgramCopy::ProgramCopy() {
    const QDir source(QStringLiteral(ORVANTA_BIN_DIR));
    if (!m_dir.isValid() || !source.exists("orvanta"))
        return;
    QDirIterator it(source.path(), QDir::Files | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString rel = source.relativeFilePath(from);
        // Only the program and what ships with it: no test binaries, no settings.
        if (rel.startsWith("orvanta_") || rel == "Compass.ini" || rel.endsWith(".compassskin"))
            continue;
        QDir().mkpath(QFileInfo(path(rel)).path());
        QFile::copy(from, path(rel));
    }
    QFile::setPermissions(binary(), QFile::permissions(source.filePath("orvanta")));
    m_ok = true;
}

QString ProgramCopy::path(const QString& relative) const {
    return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
}

void ProgramCopy::writeFile(const QString& relative, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(path(relative)).path());
    QFile f(path(relative));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

QByteArray ProgramCopy::readFile(const QString& relative) const {
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace orvanta::test
