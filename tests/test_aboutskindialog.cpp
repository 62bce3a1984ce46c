// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The about-this-skin dialog: the skin's fields and its two links.
#include "dialogs/aboutskindialog.h"
#include "fakes/recordingshell.h"
#include "findwidget.h"
#include "skins/skin.h"
#include "testfiles.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanta;
using fakes::RecordingShell;

namespace {

Skin skinIn(const QTemporaryDir& dir, const QString& general) {
    return Skin(
        test::writeAll(dir.filePath("s.ini"),
                       ("[一般]\n" + general + "\n[Horizontal]\nImage=none.png\n").toUtf8()));
}

} // namespace

TEST(AboutSkinDialog, ShowsTheSkinsFieldsOrDefaultsAndOpensOnlyGivenLinks) {
    struct Case {
        QString general;
        QStringList shown; // name, author, description, contact, web site, version
        QStringList opened;
    };
    const Case cases[] = {
        {"名称=木纹\n作者=张三\n描述=温暖的木纹圆规\n联系=zhang@example.org\n"
         "网站=https://example.org/walnut\n版本=3",
         {"木纹", "张三", "温暖的木纹圆规", "zhang@example.org", "https://example.org/walnut", "3"},
         {"mailto:zhang@example.org", "https://example.org/walnut"}},
        {"", {"Unnamed", "Unknown", "", "", "", "1"}, {}},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        RecordingShell shell;
        AboutSkinDialog dialog(skinIn(dir, c.general), shell, nullptr);
        const auto label = [&](const char* name) { return test::child<QLabel>(dialog, name); };
        QStringList shown;
        for (const char* name : {"nameLabel", "authorLabel", "descriptionLabel", "contactLink",
                                 "websiteLink", "versionLabel"})
            shown << label(name)->text();
        EXPECT_EQ(shown, c.shown);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(label("contactLink"), Qt::LeftButton);
        QTest::mouseClick(label("websiteLink"), Qt::RightButton); // any button
        QTest::mouseClick(label("nameLabel"), Qt::LeftButton);
        EXPECT_EQ(shell.opened, c.opened);
    }
}

TEST(AboutSkinDialog, EachOpeningIsAFreshDialogFreedOnClose) {
    QTemporaryDir dir;
    RecordingShell shell;
    const Skin s = skinIn(dir, "名称=木纹");
    QPointer<AboutSkinDialog> first = AboutSkinDialog::showDialog(s, shell, nullptr);
    QTest::mouseClick(test::child<QPushButton>(*first, "okButton"), Qt::LeftButton);
    QPointer<AboutSkinDialog> second = AboutSkinDialog::showDialog(s, shell, nullptr);
    EXPECT_NE(first.data(), second.data());
    second->close(); // the close box frees it like OK
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}
