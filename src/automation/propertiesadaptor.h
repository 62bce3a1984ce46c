// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// org.freedesktop.DBus.Properties for one automation object, in place of the
// one QtDBus answers itself: QtDBus gives a property setter no way to fail, and
// a client setting Angle to NaN must get Compass.Error.Failed. Properties are
// those of the object's interface adaptors, read and written through them.

#include <QDBusAbstractAdaptor>
#include <QDBusVariant>
#include <QVariantMap>

namespace orvanta {

class AutomationObject;

class PropertiesAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.Properties")
    // QtDBus describes the standard interface itself on every object; a
    // description here would list it twice.
    Q_CLASSINFO("D-Bus Introspection", "  <!-- org.freedesktop.DBus.Properties -->\n")

public:
    explicit PropertiesAdaptor(AutomationObject* object);

public Q_SLOTS:
    QDBusVariant Get(const QString& interface_name, const QString& property_name);
    void Set(const QString& interface_name, const QString& property_name,
             const QDBusVariant& value);
    QVariantMap GetAll(const QString& interface_name);

private:
    struct Found {
        QObject* adaptor = nullptr;
        int index = -1;
    };
    // The property in the named interface, or in any when the name is empty;
    // on failure the error has been sent.
    [[nodiscard]] Found find(const QString& interfaceName, const QString& propertyName);
    [[nodiscard]] QObject* adaptorFor(const QString& interfaceName) const;

    AutomationObject* m_object;
};

} // namespace orvanta
