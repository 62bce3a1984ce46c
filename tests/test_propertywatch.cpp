// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// What a listener on a private session bus hears of an object's properties.
#include "automation/propertywatch.h"
#include "xdesktop.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

constexpr char kPath[] = "/Watched";
constexpr char kInterface[] = "test.Watched";
// Sent after each step: one sender's signals arrive in order, so what came
// before the marker is all the step announced.
constexpr char kMarker[] = "test.Marker";

class Watched : public QObject {
    Q_OBJECT
    Q_PROPERTY(double angle MEMBER angle)
    Q_PROPERTY(QString name MEMBER name)

public:
    double angle = 0;
    QString name;
};

class Listener : public QObject {
    Q_OBJECT

public:
    QList<QVariantMap> heard;
    int markers = 0;

public Q_SLOTS:
    void changed(const QString& interface, const QVariantMap& values, const QStringList&) {
        if (interface == QLatin1String(kMarker))
            ++markers;
        else
            heard << values;
    }
};

TEST(PropertyWatch, AnnouncesEachChangeOnceAndAReturnToTheFirstValue) {
    test::PrivateBus bus;
    if (!bus.ok())
        GTEST_SKIP() << "needs dbus-daemon";
    // Connections are known by name for the whole process: one per bus.
    QDBusConnection sender =
        QDBusConnection::connectToBus(bus.address(), "sender " + bus.address());
    QDBusConnection receiver =
        QDBusConnection::connectToBus(bus.address(), "receiver " + bus.address());
    ASSERT_TRUE(sender.isConnected() && receiver.isConnected());
    Listener listener;
    ASSERT_TRUE(receiver.connect({}, kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                 &listener, SLOT(changed(QString, QVariantMap, QStringList))));
    Watched object;
    PropertyWatch watch(object, kPath, kInterface);
    EXPECT_EQ(watch.values(), (QVariantMap{{"angle", 0.0}, {"name", QString()}}));

    struct Step {
        const char* what;
        std::function<void()> change;
        QList<QVariantMap> heard;
    };
    const Step steps[] = {
        {"a change", [&] { object.angle = 90; }, {{{"angle", 90.0}}}},
        {"nothing new", [] {}, {}},
        {"only what differs", [&] { object.name = "b"; }, {{{"name", "b"}}}},
        {"back to the first value", [&] { object.angle = 0; }, {{{"angle", 0.0}}}},
        {"nothing new again", [] {}, {}},
    };
    for (int i = 0; i < int(std::size(steps)); ++i) {
        listener.heard.clear();
        steps[i].change();
        watch.announce(sender);
        QDBusMessage marker = QDBusMessage::createSignal(kPath, "org.freedesktop.DBus.Properties",
                                                         "PropertiesChanged");
        marker << QString(kMarker) << QVariantMap() << QStringList();
        sender.send(marker);
        ASSERT_TRUE(test::waitFor([&] { return listener.markers == i + 1; })) << steps[i].what;
        EXPECT_EQ(listener.heard, steps[i].heard) << steps[i].what;
    }
}

} // namespace

#include "test_propertywatch.moc"
