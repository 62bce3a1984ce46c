// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Window tests run the real program on a virtual X server, drive it with
// xdotool and read the screen back, as a user would see it.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace orvanta::test {

// Xvfb with xcompmgr (when installed and asked for) on a free display number,
// and the window manager `windowManager` when one is named.
class VirtualDesktop {
public:
    explicit VirtualDesktop(QSize size = QSize(1280, 800), const QString& windowManager = {},
                            bool compositor = true);
    ~VirtualDesktop();
    // False when Xvfb or the window manager asked for is not installed: the
    // test skips then.
    [[nodiscard]] bool installed() const { return m_installed; }
    // False when they are not installed or did not start.
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] QProcessEnvironment environment() const;
    // Runs a command on this display and returns its standard output.
    QString run(const QString& program, const QStringList& args, int timeoutMs = 10000) const;
    [[nodiscard]] QImage screenshot() const;
    // The root window's pixels as xwd writes them: a tenth of the time of a
    // screenshot, for comparing one moment of the screen with another.
    [[nodiscard]] QByteArray grab() const;
    // The geometry of an X window on the screen (xwininfo), null when unknown.
    [[nodiscard]] QRect windowGeometry(qulonglong window) const;
    // The X window under the pointer after moving it to `p`.
    [[nodiscard]] std::optional<qulonglong> windowUnder(QPoint p) const;
    void click(QPoint p, int button = 1) const;
    // Clicks `p` and waits until the window whose name starts with `name`
    // has the keyboard: a key sent earlier would reach no window.
    [[nodiscard]] bool clickToFocus(QPoint p, const QString& name) const;
    // Moves the pointer from `from` to `to` with the left button held, in
    // steps a hand would make.
    void drag(QPoint from, QPoint to, int steps = 20) const;
    // An xclip that serves `text` as the clipboard until it is killed, once
    // the clipboard reads back as `text`; null when that did not happen.
    [[nodiscard]] std::unique_ptr<QProcess> ownClipboard(const QByteArray& text) const;

private:
    bool startServer(QSize size);
    bool startWindowManager(const QString& windowManager);

    bool m_installed = false;
    bool m_ok = false;
    QString m_display;
    std::unique_ptr<QProcess> m_xvfb, m_windowManager, m_compositor;
};

// A private D-Bus session bus for tests that need one (the tray, automation).
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    [[nodiscard]] bool ok() const { return !m_address.isEmpty(); }
    [[nodiscard]] const QString& address() const { return m_address; }

private:
    QProcess m_daemon;
    QString m_address;
};

// A copy of the built program folder (binary and assets) in a temporary folder,
// so a test starts from a clean Compass.ini and can look at what was written.
class ProgramCopy {
public:
    ProgramCopy();
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] QString path(const QString& relative = {}) const;
    [[nodiscard]] QString binary() const { return path("orvanta"); }
    // `base` with the XDG folders inside the copy, so that nothing the
    // program writes on start-up reaches the real home.
    [[nodiscard]] QProcessEnvironment environment(QProcessEnvironment base) const;
    void writeFile(const QString& relative, const QByteArray& bytes) const;
    [[nodiscard]] QByteArray readFile(const QString& relative) const;

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

// Polls `condition` every 50 ms for up to `timeoutMs`.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

} // namespace orvanta::test
