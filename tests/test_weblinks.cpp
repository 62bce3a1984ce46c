// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The links built from the product key and what the magnifier command starts.
#include "app/weblinks.h"
#include "fakes/recordingshell.h"
#include "fakes/recordingsink.h"
#include "model/numbers.h"
#include "platform/keyvaluestore.h"
#include "platform/shell.h"

#include <QMap>
#include <gtest/gtest.h>

using namespace orvanta;
using fakes::RecordingShell;
using fakes::RecordingSink;

namespace {

struct MapStore : KeyValueStore {
    QMap<QString, QString> values; // "path|name" -> value
    // Values under the product key; a null value stays absent.
    explicit MapStore(std::initializer_list<std::pair<const char*, const char*>> product = {}) {
        for (const auto& [name, v] : product)
            if (v)
                setValue(kProductKeyPath.toString(), name, QString::fromUtf8(v));
    }
    std::optional<QString> value(const QString& path, const QString& name) const override {
        const auto it = values.find(path + u'|' + name);
        return it == values.end() ? std::nullopt : std::optional<QString>(*it);
    }
    bool setValue(const QString& path, const QString& name, const QString& v) override {
        values[path + u'|' + name] = v;
        return true;
    }
    bool remove(const QString& path, const QString& name) override {
        return values.remove(path + u'|' + name) >= 0;
    }
};

} // namespace

TEST(WebLinks, QueryFromVersionAppidActionAndAid) {
    // version, appid, aid (nullptr: absent), action, separator, query (nullptr: no link)
    const std::tuple<const char*, const char*, const char*, const char*, QChar, const char*>
        cases[] = {
            {"4.25", "7", "partner9", "helpCalibrate", u'.',
             "app=7&ver=4&minorver=2.5&action=helpCalibrate&aid=partner9"},
            {"4,25", "7", nullptr, "", u',', "app=7&ver=4&minorver=2.5"},
            {"4.0", "7", nullptr, "", u',', "app=7&ver=4&minorver=0"}, // shipped file's "."
            {"-1.5", "7", nullptr, "", u'.', "app=7&ver=-1&minorver=-5"},
            {"4", nullptr, nullptr, "getlupenix", u'.', "app=&ver=4&minorver=0&action=getlupenix"},
            {"4", "a&b", "x#y", "", u'.', "app=a%26b&ver=4&minorver=0&aid=x%23y"},
            // Without a usable version there is no link.
            {nullptr, "7", nullptr, "", u'.', nullptr},
            {"four", "7", nullptr, "", u'.', nullptr},
            {"4.0.1", "7", nullptr, "", u'.', nullptr},
            {"1e300", "7", nullptr, "", u'.', nullptr},
            {"4,0", "7", nullptr, "", u'.', nullptr},
        };
    for (const auto& [version, appid, aid, action, separator, query] : cases) {
        const MapStore store({{"Version", version}, {"appid", appid}, {"aid", aid}});
        const auto link = buildWebLink(store, QString::fromUtf8(action), separator);
        const std::optional<QString> expected =
            query ? std::optional(webLinkEndpoint() + u'?' + QString::fromUtf8(query))
                  : std::nullopt;
        EXPECT_EQ(link, expected) << (version ? version : "absent") << " " << action;

        if (separator != systemDecimalSeparator())
            continue;
        RecordingShell shell; // opening goes through the shell, or nowhere
        openWebLink(store, shell, QString::fromUtf8(action));
        EXPECT_EQ(shell.opened, expected ? QStringList{*expected} : QStringList{});
    }
}

// A link no program opens shows its address in a box; one that opens, none.
TEST(WebLinks, ALinkNoProgramOpensIsShownToCopy) {
    for (const bool opens : {true, false}) {
        RecordingShell desktop;
        desktop.openSucceeds = opens;
        RecordingSink sink;
        LinkReportingShell shell(desktop, sink);
        const QString url = QStringLiteral("mailto:someone@example.org");
        EXPECT_EQ(shell.openUrl(url), opens);
        EXPECT_EQ(desktop.opened, QStringList{url});
        ASSERT_EQ(sink.shown.size(), opens ? 0 : 1);
        if (!opens) {
            EXPECT_TRUE(sink.shown.front().contains(url)) << sink.shown.front().toStdString();
        }
    }
}
