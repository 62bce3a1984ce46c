// The about-this-skin dialog: the skin's fields and its two links.
#include "app/weblinks.h"
#include "dialogs/aboutskin.h"
#include "skins/skin.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

struct RecordingShell : IShell {
    QStringList opened;
    void openUrl(const QString& url) override { opened << url; }
    bool startProgram(const QString&) override { return false; }
};

struct AboutSkinFixture : ::testing::Test {
    QTemporaryDir dir;
    RecordingShell shell;

    [[nodiscard]] TDervikSkin skin(const QString& general) const {
        const QString path = dir.filePath(QStringLiteral("s.ini"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(("[一般]\n" + general + "\n[Horizontal]\nImage=none.png\n").toUtf8());
        f.close();
        return TDervikSkin(path);
    }
};

} // namespace

TEST_F(AboutSkinFixture, ShowsTheSkinsFieldsOrTheirDefaults) {
    struct Case {
        QString general;
        QStringList shown; // name, author, description, contact, web site, version
    };
    const Case cases[] = {
        {"名称=木纹\n作者=张三\n描述=温暖的木纹圆规\n联系=zhang@example.org\n"
         "网站=https://example.org/walnut\n版本=3",
         {"木纹", "张三", "温暖的木纹圆规", "zhang@example.org", "https://example.org/walnut",
          "3"}},
        {"", {"未命名", "未知", "", "", "", "1"}},
    };
    for (const Case& c : cases) {
        TfrmAboutThisSkin dialog(skin(c.general), shell, nullptr);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("关于此皮肤"));
        const QStringList shown = {dialog.lblName->text(),        dialog.lblAuthor->text(),
                                   dialog.lblDescription->text(), dialog.lblContact->text(),
                                   dialog.lblWebSite->text(),     dialog.lblVersion->text()};
        EXPECT_EQ(shown, c.shown);
    }
}

TEST_F(AboutSkinFixture, ContactAndWebSiteOpenThroughTheShell) {
    TfrmAboutThisSkin dialog(skin("联系=zhang@example.org\n网站=https://example.org/walnut"), shell,
                             nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.lblContact, Qt::LeftButton);
    QTest::mouseClick(dialog.lblWebSite, Qt::RightButton); // any button
    QTest::mouseClick(dialog.lblName, Qt::LeftButton);
    EXPECT_EQ(shell.opened,
              QStringList({"mailto:zhang@example.org", "https://example.org/walnut"}));
}

TEST_F(AboutSkinFixture, EmptyLinksOfferNothing) {
    TfrmAboutThisSkin dialog(skin("名称=素"), shell, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.lblContact, Qt::LeftButton);
    QTest::mouseClick(dialog.lblWebSite, Qt::LeftButton);
    EXPECT_TRUE(shell.opened.isEmpty());
}

TEST_F(AboutSkinFixture, EachOpeningIsAFreshDialogFreedOnClose) {
    const TDervikSkin s = skin("名称=木纹");
    QPointer<TfrmAboutThisSkin> first = TfrmAboutThisSkin::Open(s, shell, nullptr);
    QTest::mouseClick(first->cmdOk, Qt::LeftButton);
    QPointer<TfrmAboutThisSkin> second = TfrmAboutThisSkin::Open(s, shell, nullptr);
    EXPECT_NE(first.data(), second.data());
    second->close(); // the close box frees it like OK
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}
