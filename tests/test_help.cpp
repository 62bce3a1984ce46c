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

struct HelpFixture : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';

    void SetUp() override {
        ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("help")));
        write(QStringLiteral("help/quickStart.html"), "<p>第一步</p>");
        write(QStringLiteral("help/help.html"), "<p>全部说明</p>");
    }
    void write(const QString& name, const QByteArray& text) const {
        QFile f(folder + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

QString shippedFolder() {
    return QCoreApplication::applicationDirPath() + u'/';
}

} // namespace

TEST_F(HelpFixture, OpensOnQuickStartAndTabsSwitchPages) {
    TAboutBox box(folder, nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Orvanta帮助"));
    EXPECT_EQ(box.TabControl1->tabText(0), QStringLiteral("   快速入门   "));
    EXPECT_EQ(box.TabControl1->tabText(1), QStringLiteral("   完整说明   "));
    EXPECT_EQ(box.WebBrowser1->toPlainText(), QStringLiteral("第一步"));

    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QRect second = box.TabControl1->tabRect(1);
    QTest::mouseClick(box.TabControl1, Qt::LeftButton, {}, second.center());
    EXPECT_EQ(box.WebBrowser1->toPlainText(), QStringLiteral("全部说明"));
    EXPECT_EQ(box.WebBrowser1->source(), QUrl::fromLocalFile(folder + "help/help.html"));
    box.TabControl1->setCurrentIndex(0);
    EXPECT_EQ(box.WebBrowser1->toPlainText(), QStringLiteral("第一步"));
}

TEST_F(HelpFixture, MissingPageLeavesTheViewEmpty) {
    QFile::remove(folder + "help/help.html");
    TAboutBox box(folder, nullptr);
    box.TabControl1->setCurrentIndex(1);
    EXPECT_TRUE(box.WebBrowser1->toPlainText().isEmpty());
}

TEST_F(HelpFixture, EveryHelpCommandOpensItsOwnWindow) {
    QPointer<TAboutBox> first = TAboutBox::Open(folder, nullptr);
    QPointer<TAboutBox> second = TAboutBox::Open(folder, nullptr);
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
        const QString path = TAboutBox::PagePath(shippedFolder(), tab);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString html = QString::fromUtf8(f.readAll());
        EXPECT_GT(html.size(), 800) << "a page that teaches something";
        const QDir pageDir = QFileInfo(path).dir();
        for (const auto& m : reference.globalMatch(html)) {
            const QString target = m.captured(1);
            EXPECT_TRUE(QFile::exists(pageDir.filePath(target)))
                << path.toStdString() << " refers to " << target.toStdString();
        }
    }
}
