// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/weblinks.h"

#include "model/messages.h"
#include "model/numbers.h"
#include "platform/keyvaluestore.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QUrl>
#include <cmath>

namespace orvanta {

namespace {

// The version's integer part is written as a 32-bit number; a larger one is
// not a version an installer would write.
constexpr long double kMaxVersion = 2147483647.0L;

QString productValue(const KeyValueStore& store, const QString& name) {
    return store.value(kProductKeyPath.toString(), name).value_or(QString());
}

std::optional<long double> readVersion(const QString& text, QChar separator) {
    auto v = parseFloat(text, separator);
    if (!v && separator != u'.')
        v = parseFloat(text, u'.');
    if (!v || !std::isfinite(*v) || std::fabs(*v) > kMaxVersion)
        return std::nullopt;
    return v;
}

// Values from the store go into the query as they are, except the characters
// that would end or split it: an "&" or "#" in an identifier must not add
// keys of its own or cut the link.
QString queryValue(const QString& value) {
    return QString::fromUtf8(QUrl::toPercentEncoding(value, "!$'()*+,;:@/?=~-._"));
}

} // namespace

QString webLinkEndpoint() {
    return QStringLiteral("http://" ORVANTA_WEB_HOST "/link.asp");
}

std::optional<QString> buildWebLink(const KeyValueStore& store, const QString& action,
                                    QChar separator) {
    const auto version = readVersion(productValue(store, QStringLiteral("Version")), separator);
    if (!version)
        return std::nullopt;
    const long double major = std::trunc(*version);
    // 4.1 gives 1 only because the fraction is taken in extended precision;
    // the link is read by a server, so its point is "." whatever the locale.
    const long double minor = (*version - major) * 10;

    QString link = webLinkEndpoint() + QStringLiteral("?app=") +
                   queryValue(productValue(store, QStringLiteral("appid"))) +
                   QStringLiteral("&ver=") + QString::number(qint64(major)) +
                   QStringLiteral("&minorver=") + formatGeneral(minor, u'.');
    if (!action.isEmpty())
        link += QStringLiteral("&action=") + queryValue(action);
    const QString aid = productValue(store, QStringLiteral("aid"));
    if (!aid.isEmpty())
        link += QStringLiteral("&aid=") + queryValue(aid);
    return link;
}

void openWebLink(const KeyValueStore& store, Shell& shell, const QString& action) {
    if (const auto link = buildWebLink(store, action, systemDecimalSeparator()))
        shell.openUrl(*link);
}

} // namespace orvanta
