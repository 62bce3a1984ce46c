// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "automation/propertiesadaptor.h"

#include "automation/automationobject.h"

#include <QDBusMetaType>
#include <QMetaProperty>

namespace orvanta {

namespace {

// The standard errors of the properties interface.
constexpr QStringView kUnknownInterface = u"org.freedesktop.DBus.Error.UnknownInterface";
constexpr QStringView kUnknownProperty = u"org.freedesktop.DBus.Error.UnknownProperty";
constexpr QStringView kReadOnly = u"org.freedesktop.DBus.Error.PropertyReadOnly";
constexpr QStringView kInvalidArgs = u"org.freedesktop.DBus.Error.InvalidArgs";

const char* interfaceOf(const QObject* adaptor) {
    const QMetaObject* meta = adaptor->metaObject();
    const int i = meta->indexOfClassInfo("D-Bus Interface");
    return i < 0 ? "" : meta->classInfo(i).value();
}

// The D-Bus signature a property travels as.
QString signatureOf(const QMetaProperty& p) {
    return QString::fromLatin1(QDBusMetaType::typeToSignature(p.metaType()));
}

} // namespace

PropertiesAdaptor::PropertiesAdaptor(AutomationObject* object)
    : QDBusAbstractAdaptor(object), m_object(object) {}

QObject* PropertiesAdaptor::adaptorFor(const QString& interfaceName) const {
    for (QObject* child : m_object->children())
        if (child != this && qobject_cast<QDBusAbstractAdaptor*>(child) &&
            interfaceName == QLatin1StringView(interfaceOf(child)))
            return child;
    return nullptr;
}

PropertiesAdaptor::Found PropertiesAdaptor::find(const QString& interfaceName,
                                                 const QString& propertyName) {
    QList<QObject*> candidates;
    if (interfaceName.isEmpty()) {
        for (QObject* child : m_object->children())
            if (child != this && qobject_cast<QDBusAbstractAdaptor*>(child))
                candidates << child;
    } else if (QObject* adaptor = adaptorFor(interfaceName)) {
        candidates << adaptor;
    } else {
        m_object->sendError(kUnknownInterface,
                            QStringLiteral("No such interface \"%1\"").arg(interfaceName));
        return {};
    }
    const QByteArray name = propertyName.toUtf8();
    for (QObject* adaptor : candidates) {
        const QMetaObject* meta = adaptor->metaObject();
        const int index = meta->indexOfProperty(name.constData());
        if (index >= meta->propertyOffset())
            return {adaptor, index};
    }
    m_object->sendError(kUnknownProperty,
                        QStringLiteral("No such property \"%1\"").arg(propertyName));
    return {};
}

QDBusVariant PropertiesAdaptor::Get(const QString& interface_name, const QString& property_name) {
    m_object->noteCaller();
    const Found f = find(interface_name, property_name);
    if (!f.adaptor)
        return {};
    return QDBusVariant(f.adaptor->metaObject()->property(f.index).read(f.adaptor));
}

void PropertiesAdaptor::Set(const QString& interface_name, const QString& property_name,
                            const QDBusVariant& value) {
    m_object->noteCaller();
    const Found f = find(interface_name, property_name);
    if (!f.adaptor)
        return;
    const QMetaProperty p = f.adaptor->metaObject()->property(f.index);
    if (!p.isWritable()) {
        m_object->sendError(kReadOnly,
                            QStringLiteral("Property \"%1\" is read-only").arg(property_name));
        return;
    }
    // No conversions: a string is not silently taken as 0 for a number.
    const QVariant v = value.variant();
    if (v.metaType() != p.metaType()) {
        const QString given = QString::fromLatin1(QDBusMetaType::typeToSignature(v.metaType()));
        m_object->sendError(kInvalidArgs, QStringLiteral("Property \"%1\" is of type %2, not %3")
                                              .arg(property_name, signatureOf(p), given));
        return;
    }
    // The member itself reports its errors.
    p.write(f.adaptor, v);
}

QVariantMap PropertiesAdaptor::GetAll(const QString& interface_name) {
    m_object->noteCaller();
    QVariantMap values;
    QObject* adaptor = adaptorFor(interface_name);
    if (!adaptor) {
        m_object->sendError(kUnknownInterface,
                            QStringLiteral("No such interface \"%1\"").arg(interface_name));
        return values;
    }
    const QMetaObject* meta = adaptor->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        if (p.isReadable())
            values.insert(QString::fromLatin1(p.name()), p.read(adaptor));
    }
    return values;
}

} // namespace orvanta
