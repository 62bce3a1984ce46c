// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A stand-in desktop for tray tests: a StatusNotifier watcher with a host and a
// notification server on the session bus. Qt then offers a system tray, items
// register here ("item SERVICE"), and balloons arrive as Notify calls, which are
// printed ("notify SUMMARY|BODY").
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class Watcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_items; }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) {
        m_items << service;
        say(QStringLiteral("item ") + service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    QStringList m_items;
};

class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public Q_SLOTS:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int) {
        say(QStringLiteral("notify ") + summary + u'|' + body);
        return ++m_id;
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
    QString GetServerInformation(QString& vendor, QString& version, QString& spec) {
        vendor = QStringLiteral("test");
        version = QStringLiteral("1");
        spec = QStringLiteral("1.2");
        return QStringLiteral("faketray");
    }
    void CloseNotification(uint) {}

private:
    uint m_id = 0;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher;
    Notifications notifications;
    const auto exported = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties |
                          QDBusConnection::ExportAllSignals;
    if (!bus.registerObject("/StatusNotifierWatcher", &watcher, exported) ||
        !bus.registerObject("/org/freedesktop/Notifications", &notifications, exported) ||
        !bus.registerService("org.kde.StatusNotifierWatcher") ||
        !bus.registerService("org.freedesktop.Notifications")) {
        say(QStringLiteral("failed ") + bus.lastError().message());
        return 1;
    }
    say(QStringLiteral("ready"));
    return app.exec();
}

#include "faketray.moc"
