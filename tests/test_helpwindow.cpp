// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The help window's pages and tabs, and the shipped pages themselves.
#include "dialogs/helpwindow.h"
#include "fakes/recordingshell.h"
#include "findwidget.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

// A program folder with English help pages: both, or only the quick start.
struct HelpFolder {
    explicit HelpFolder(bool fullPage = true) {
        test::writeAll(folder + "help/en/quickStart.html", "<p>First steps</p>");
        if (fullPage)
            test::writeAll(folder + "help/en/help.html", "<p>Everything</p>");
    }
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
};

} // namespace

TEST(HelpWindow, OpensOnQuickStartAndTabsSwitchPages) {
    const HelpFolder help;
    fakes::RecordingShell shell;
    HelpWindow box(help.folder, shell, nullptr);
    auto* tabs = test::child<QTabBar>(box, "pageTabs");
    auto* page = test::child<QTextBrowser>(box, "pageView");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(page->toPlainText(), QStringLiteral("First steps"));

    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(page->toPlainText(), QStringLiteral("Everything"));
    EXPECT_EQ(page->source(), QUrl::fromLocalFile(help.folder + "help/en/help.html"));
    tabs->setCurrentIndex(0);
    EXPECT_EQ(page->toPlainText(), QStringLiteral("First steps"));

    // Links to the web leave through the shell; links between pages stay.
    Q_EMIT page->anchorClicked(QUrl(QStringLiteral("https://example.org/more")));
    Q_EMIT page->anchorClicked(QUrl(QStringLiteral("help.html")));
    EXPECT_EQ(shell.opened, QStringList{"https://example.org/more"});
    EXPECT_EQ(page->toPlainText(), QStringLiteral("Everything"));

    const HelpFolder partial(false); // a missing page leaves the view empty
    HelpWindow other(partial.folder, shell, nullptr);
    test::child<QTabBar>(other, "pageTabs")->setCurrentIndex(1);
    EXPECT_TRUE(test::child<QTextBrowser>(other, "pageView")->toPlainText().isEmpty());
}

TEST(HelpWindow, EveryHelpCommandOpensItsOwnWindow) {
    const HelpFolder help;
    fakes::RecordingShell shell;
    QPointer<HelpWindow> first = HelpWindow::showDialog(help.folder, shell, nullptr);
    QPointer<HelpWindow> second = HelpWindow::showDialog(help.folder, shell, nullptr);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.data(), second.data());
    EXPECT_FALSE(first->isModal());
    EXPECT_TRUE(first->isVisible() && second->isVisible());
    QTest::mouseClick(test::child<QPushButton>(*first, "okButton"), Qt::LeftButton);
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

TEST(HelpPages, ShippedPagesExistInEachLanguageWithTheSamePicturesAndLinksResolve) {
    const QRegularExpression reference(QStringLiteral(R"((?:src|href)="([^"#:]+)(?:#[^"]*)?")"));
    const QRegularExpression picture(QStringLiteral(R"re(src="([^"]+)")re"));
    const QString help = QCoreApplication::applicationDirPath() + QStringLiteral("/help/");
    for (const char* page : {"quickStart.html", "help.html"}) {
        QStringList pictures[2];
        int language = 0;
        for (const char* folder : {"en", "zh_CN"}) {
            const QString path = help + folder + u'/' + page;
            const QString html = QString::fromUtf8(test::readAll(path));
            EXPECT_GT(html.size(), 800) << path.toStdString() << " teaches too little";
            for (const auto& m : reference.globalMatch(html))
                EXPECT_TRUE(QFileInfo::exists(QFileInfo(path).dir().filePath(m.captured(1))))
                    << path.toStdString() << " refers to " << m.captured(1).toStdString();
            for (const auto& m : picture.globalMatch(html))
                pictures[language] << m.captured(1);
            ++language;
        }
        EXPECT_EQ(pictures[0], pictures[1]) << page;
    }
}
