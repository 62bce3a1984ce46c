// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/propertywatch.h"

#include <QDBusMessage>
#include <QMetaProperty>

namespace orvanta {

namespace {

const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace

PropertyWatch::PropertyWatch(const QObject& object, QString path, QString interface)
    : m_object(object), m_path(std::move(path)), m_interface(std::move(interface)),
      m_announced(values()) {}

QVariantMap PropertyWatch::values() const {
    QVariantMap now;
    const QMetaObject* meta = m_object.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        now.insert(QString::fromLatin1(p.name()), p.read(&m_object));
    }
    return now;
}

void PropertyWatch::announce(QDBusConnection& bus) {
    const QVariantMap now = values();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (m_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    m_announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(m_path, kPropertiesInterface,
                                                     QStringLiteral("PropertiesChanged"));
    signal << m_interface << changed << QStringList();
    bus.send(signal);
}

} // namespace orvanta
