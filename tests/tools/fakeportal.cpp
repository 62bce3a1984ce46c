// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A stand-in screenshot portal on the session bus for the screen-reading
// tests: `orvanta_fakeportal PICTURE [deny]`. Each Screenshot call is printed
// ("screenshot interactive=BOOL modal=BOOL", then "saved FILE") and answered on its request
// object, as the desktop's portal does: with a fresh copy of PICTURE, or,
// with `deny`, with the answer a user's refusal gives.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>
#include <cstdio>

namespace {

class ScreenshotPortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    ScreenshotPortal(QString picture, bool deny) : m_picture(std::move(picture)), m_deny(deny) {}

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& options) {
        std::printf("screenshot interactive=%s modal=%s\n",
                    options.value("interactive").toBool() ? "true" : "false",
                    options.value("modal").toBool() ? "true" : "false");
        std::fflush(stdout);
        QString sender = message().service().mid(1);
        sender.replace(u'.', u'_');
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(sender, options.value("handle_token").toString());
        const QString copy = m_dir.filePath(QStringLiteral("shot%1.png").arg(++m_count));
        QFile::copy(m_picture, copy);
        std::printf("saved %s\n", qPrintable(copy));
        std::fflush(stdout);
        // The answer follows the call's reply, as from the real portal.
        QTimer::singleShot(20, this, [this, path, copy] {
            QDBusMessage answer = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            answer << uint(m_deny ? 1 : 0)
                   << QVariantMap{{QStringLiteral("uri"), QUrl::fromLocalFile(copy).toString()}};
            QDBusConnection::sessionBus().send(answer);
        });
        return QDBusObjectPath(path);
    }

private:
    QString m_picture;
    bool m_deny;
    QTemporaryDir m_dir;
    int m_count = 0;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    ScreenshotPortal portal(QString::fromLocal8Bit(argv[1]),
                            argc > 2 && qstrcmp(argv[2], "deny") == 0);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "fakeportal.moc"
