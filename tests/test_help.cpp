// The help window's pages and tabs, and the shipped pages themselves.
#include "dialogs/help.h"

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

TEST(Help, OpensOnQuickStartAndTabsSwitchPages) {
    const HelpFolder help;
    TAboutBox box(help.folder, nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Orvanta帮助"));
    EXPECT_EQ(box.TabControl1->tabText(0), QStringLiteral("   快速入门   "));
    EXPECT_EQ(box.TabControl1->tabText(1), QStringLiteral("   完整说明   "));
    EXPECT_EQ(box.WebBrowser1->toPlainText(), QStringLiteral("第一步"));

    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.TabControl1, Qt::LeftButton, {}, box.TabControl1->tabRect(1).center());
    EXPECT_EQ(box.WebBrowser1->toPlainText(), QStringLiteral("全部说明"));
    EXPECT_EQ(box.WebBrowser1->source(), QUrl::fromLocalFile(help.folder + "help/help.html"));
    box.TabControl1->setCurrentIndex(0);
    EXPECT_EQ(box.WebBrowser1->toPlainText(), QStringLiteral("第一步"));

    const HelpFolder partial(false); // a missing page leaves the view empty
    TAboutBox other(partial.folder, nullptr);
    other.TabControl1->setCurrentIndex(1);
    EXPECT_TRUE(other.WebBrowser1->toPlainText().isEmpty());
}

TEST(Help, EveryHelpCommandOpensItsOwnWindow) {
    const HelpFolder help;
    QPointer<TAboutBox> first = TAboutBox::Open(help.folder, nullptr);
    QPointer<TAboutBox> second = TAboutBox::Open(help.folder, nullptr);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.data(), second.data());
    EXPECT_FALSE(first->isModal());
    EXPECT_TRUE(first->isVisible() && second->isVisible());
    QTest::mouseClick(first->cmdOk, Qt::LeftButton);
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

TEST(HelpPages, ShippedPagesExistAndTheirPicturesAndLinksResolve) {
    const QRegularExpression reference(QStringLiteral(R"((?:src|href)="([^"#:]+)(?:#[^"]*)?")"));
    for (int tab : {0, 1}) {
        const QString path =
            TAboutBox::PagePath(QCoreApplication::applicationDirPath() + u'/', tab);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString html = QString::fromUtf8(f.readAll());
        EXPECT_GT(html.size(), 800) << "a page that teaches something";
        for (const auto& m : reference.globalMatch(html))
            EXPECT_TRUE(QFileInfo::exists(QFileInfo(path).dir().filePath(m.captured(1))))
                << path.toStdString() << " refers to " << m.captured(1).toStdString();
    }
}
