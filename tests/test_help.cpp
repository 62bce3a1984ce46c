// The help window's pages and tabs, and the shipped pages themselves.
#include "dialogs/helpwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

// A program folder with both help pages, or only the quick start.
struct HelpFolder {
    explicit HelpFolder(bool fullPage = true) {
        QDir(folder).mkpath(QStringLiteral("help"));
        const auto write = [&](const char* name, const char* text) {
            QFile f(folder + "help/" + name);
            if (f.open(QIODevice::WriteOnly))
                f.write(text);
        };
        write("quickStart.html", "<p>第一步</p>");
        if (fullPage)
            write("help.html", "<p>全部说明</p>");
    }
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
};

} // namespace

TEST(help, OpensOnQuickStartAndTabsSwitchPages) {
    const HelpFolder help;
    HelpWindow box(help.folder, nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Orvanta帮助"));
    ASSERT_EQ(box.m_tabs->count(), 2);
    EXPECT_EQ(box.m_browser->toPlainText(), QStringLiteral("第一步"));

    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.m_tabs, Qt::LeftButton, {}, box.m_tabs->tabRect(1).center());
    EXPECT_EQ(box.m_browser->toPlainText(), QStringLiteral("全部说明"));
    EXPECT_EQ(box.m_browser->source(), QUrl::fromLocalFile(help.folder + "help/help.html"));
    box.m_tabs->setCurrentIndex(0);
    EXPECT_EQ(box.m_browser->toPlainText(), QStringLiteral("第一步"));

    const HelpFolder partial(false); // a missing page leaves the view empty
    HelpWindow other(partial.folder, nullptr);
    other.m_tabs->setCurrentIndex(1);
    EXPECT_TRUE(other.m_browser->toPlainText().isEmpty());
}

TEST(help, EveryHelpCommandOpensItsOwnWindow) {
    const HelpFolder help;
    QPointer<HelpWindow> first = HelpWindow::showDialog(help.folder, nullptr);
    QPointer<HelpWindow> second = HelpWindow::showDialog(help.folder, nullptr);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.data(), second.data());
    EXPECT_FALSE(first->isModal());
    EXPECT_TRUE(first->isVisible() && second->isVisible());
    QTest::mouseClick(first->m_okButton, Qt::LeftButton);
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

TEST(HelpPages, ShippedPagesExistAndTheirPicturesAndLinksResolve) {
    const QRegularExpression reference(QStringLiteral(R"((?:src|href)="([^"#:]+)(?:#[^"]*)?")"));
    for (int tab : {0, 1}) {
        const QString path =
            HelpWindow::pagePath(QCoreApplication::applicationDirPath() + u'/', tab);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString html = QString::fromUtf8(f.readAll());
        EXPECT_GT(html.size(), 800) << "a page that teaches something";
        for (const auto& m : reference.globalMatch(html))
            EXPECT_TRUE(QFileInfo::exists(QFileInfo(path).dir().filePath(m.captured(1))))
                << path.toStdString() << " refers to " << m.captured(1).toStdString();
    }
}
