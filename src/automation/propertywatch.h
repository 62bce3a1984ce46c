// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// Tells every listener which properties of an automation object changed, with
// org.freedesktop.DBus.Properties.PropertiesChanged: the convention that
// busctl, GDBus and QtDBus proxies bind to. The watch keeps the values it last
// announced and sends only the difference, so one announcement per rendered
// frame carries everything a drag changed in that frame.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace orvanta {

class PropertyWatch {
public:
    // `object`'s own Q_PROPERTYs make up `interface` at `path`.
    PropertyWatch(const QObject& object, QString path, QString interface);

    // The current values of the watched properties.
    [[nodiscard]] QVariantMap values() const;
    // Sends PropertiesChanged with the properties that differ from the last
    // announcement (nothing when none does) and remembers the new values.
    void announce(QDBusConnection& bus);

private:
    const QObject& m_object;
    QString m_path;
    QString m_interface;
    QVariantMap m_announced;
};

} // namespace orvanta
