// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The program's languages: which one a desktop gets, that every text the user
// reads goes through the catalogue and follows a change of language, that the
// Chinese catalogue is complete and says exactly what the program has always
// said in Chinese.
#include "app/compassmenu.h"
#include "app/weblinks.h"
#include "controllerharness.h"
#include "dialogs/aboutskindialog.h"
#include "dialogs/customunitsdialog.h"
#include "dialogs/helpwindow.h"
#include "dialogs/splashscreen.h"
#include "dialogs/transparencydialog.h"
#include "interaction/controls.h"
#include "model/compassmodel.h"
#include "platform/languageswitcher.h"
#include "platform/shell.h"
#include "skins/skin.h"
#include "skins/skincatalog.h"
#include "testfiles.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

const QString kCatalogue = QStringLiteral(ORVANTA_SOURCE_DIR "/translations/orvanta_zh_CN.ts");
const QString kShippedUnits = QStringLiteral(ORVANTA_SOURCE_DIR "/assets/program/distances.ini");

struct NoShell : Shell {
    void openUrl(const QString&) override {}
    bool startProgram(const QString&) override { return false; }
};

// Every caption of a menu and its submenus but the separators.
QList<QAction*> menuItems(const QMenu* menu) {
    QList<QAction*> items;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            continue;
        items << a;
        if (a->menu())
            items << menuItems(a->menu());
    }
    return items;
}

// What a dialog shows in words: its title, labels, buttons with their
// tooltips, tabs and table headers; `data` are labels that show the user's
// data rather than the program's words.
QStringList shownTexts(QWidget* dialog, const QList<const QWidget*>& data = {}) {
    QStringList texts{dialog->windowTitle()};
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (data.contains(w))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text() << button->toolTip();
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i).trimmed();
        if (auto* table = qobject_cast<QTableWidget*>(w))
            for (int c = 0; c < table->columnCount(); ++c)
                texts << table->horizontalHeaderItem(c)->text();
    }
    texts.removeAll(QString());
    return texts;
}

// The committed catalogue with every translation replaced by its English
// source in brackets, compiled into `folder` under the Chinese catalogue's
// name: a text the user reads without brackets did not go through it.
bool writePseudoCatalogue(const QString& folder) {
    QString ts = QString::fromUtf8(test::readAll(kCatalogue));
    static const QRegularExpression message(
        QStringLiteral("<source>(.*?)</source>(.*?)<translation>.*?</translation>"),
        QRegularExpression::DotMatchesEverythingOption);
    ts.replace(message, QStringLiteral("<source>\\1</source>\\2<translation>[\\1]</translation>"));
    const QString source = test::writeAll(folder + QStringLiteral("/pseudo.ts"), ts.toUtf8());
    return QProcess::execute(QStringLiteral(ORVANTA_LRELEASE),
                             {QStringLiteral("-silent"), source, QStringLiteral("-qm"),
                              folder + QStringLiteral("/orvanta_zh_CN.qm")}) == 0;
}

// The splash's link shows the web address, which no language changes.
QList<const QWidget*> splashLink(const SplashScreen& splash) {
    QList<const QWidget*> links;
    for (const QLabel* label : splash.findChildren<QLabel*>())
        if (label->text().contains(u"href"))
            links << label;
    return links;
}

bool bracketed(const QString& text) {
    return text.startsWith(u'[') && text.endsWith(u']');
}

// A units table from the shipped file (six shipped units named in Chinese and
// one of the user's) and options beside it.
struct ProgramFiles {
    ProgramFiles() {
        QFile::copy(kShippedUnits, dir.filePath(QStringLiteral("distances.ini")));
        units = std::make_unique<UnitTable>(dir.path() + u'/', QString(), u'.');
    }
    QTemporaryDir dir;
    std::unique_ptr<UnitTable> units;
    Settings options{dir.filePath(QStringLiteral("Compass.ini")), u'.'};
    test::ControllerHarness compass; // for the transparency dialog
};

// The menu and the dialogs, made in the language of the moment.
struct Windows {
    Windows(ProgramFiles& files, const QString& helpFolder)
        : skin(files.dir.filePath(QStringLiteral("none.ini"))), about(skin, shell, nullptr),
          transparency(*files.compass.controller, nullptr),
          calibration(CustomUnitsDeps{*files.units, {}, {}, nullptr, nullptr, {}}),
          help(helpFolder, nullptr) {
        buildUnitsMenu(menu, *files.units);
        buildShapeMenu(menu, files.options);
    }
    QWidget owner;
    CompassMenu menu{&owner};
    NoShell shell;
    const Skin skin; // without a definition: unnamed, by an unknown author
    AboutSkinDialog about;
    TransparencyDialog transparency;
    CustomUnitsDialog calibration;
    HelpWindow help;
};

} // namespace

TEST(Language, TheChoiceOrTheDesktopsFirstKnownLanguageDecides) {
    using C = LanguageChoice;
    const std::tuple<C, QStringList, UiLanguage> cases[] = {
        {C::Automatic, {"zh-CN"}, UiLanguage::Chinese},
        {C::Automatic, {"zh-Hans-CN", "zh-CN", "zh"}, UiLanguage::Chinese},
        {C::Automatic, {"zh_TW"}, UiLanguage::Chinese},
        {C::Automatic, {"de-DE", "zh-CN", "en-US"}, UiLanguage::Chinese}, // German: none of ours
        {C::Automatic, {"en-US", "zh-CN"}, UiLanguage::English},
        {C::Automatic, {"zha", "C"}, UiLanguage::English},
        {C::Automatic, {}, UiLanguage::English},
        {C::English, {"zh-CN"}, UiLanguage::English},
        {C::Chinese, {"en-US"}, UiLanguage::Chinese},
    };
    for (const auto& [choice, languages, expected] : cases)
        EXPECT_EQ(uiLanguageFor(choice, languages), expected) << languages.join(u',').toStdString();
}

TEST(Language, TheDesktopsLocaleChoosesTheMenusLanguage) {
    // The settings of the environment, and the menu's first caption they give.
    const std::pair<QStringList, const char*> cases[] = {
        {{"LANG=en_US.UTF-8"}, "Units"},
        {{"LANG=zh_CN.UTF-8"}, "单位"},
        {{"LANG=de_DE.UTF-8"}, "Units"},
        {{"LANG=en_US.UTF-8", "LANGUAGE=zh_CN:en"}, "单位"},
        {{"LANG=zh_CN.UTF-8", "LC_MESSAGES=en_GB.UTF-8"}, "Units"},
        {{"LANG=en_US.UTF-8", "LC_ALL=zh_TW.UTF-8"}, "单位"},
    };
    for (const auto& [settings, expected] : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            env.remove(QString::fromLatin1(name));
        for (const QString& s : settings)
            env.insert(s.section(u'=', 0, 0), s.section(u'=', 1));
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_languageprobe"), {});
        ASSERT_TRUE(probe.waitForFinished(20000));
        EXPECT_EQ(QString::fromUtf8(probe.readAllStandardOutput()).section(u'\n', 0, 0),
                  QString::fromUtf8(expected))
            << settings.join(u' ').toStdString();
    }
}

// Everything stays English for the other tests of this process.
TEST(Language, EveryTextTheUserReadsGoesThroughTheCatalogueAndFollowsAChange) {
    QTemporaryDir catalogues;
    ASSERT_TRUE(writePseudoCatalogue(catalogues.path()));
    ProgramFiles files;
    UnitTable& units = *files.units;
    Settings& options = files.options;
    // Made in English; the change of language must reach them.
    Windows w(files, files.dir.path() + u'/');
    auto& [owner, menu, shell, skin, about, transparency, calibration, help] = w;

    LanguageSwitcher language(catalogues.path(), catalogues.path());
    language.use(UiLanguage::Chinese);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    retranslate(menu, units);
    SplashScreen splash(nullptr, QStringLiteral("https://example.org/"));

    // The languages are named in their own words; the user's unit as typed.
    const QStringList ownWords = {"English", "中文", units.name(6)};
    for (const QAction* a : menuItems(menu.contextMenu))
        EXPECT_TRUE(ownWords.contains(a->text()) || bracketed(a->text()))
            << a->text().toStdString();

    QList<const QWidget*> data = {about.m_nameLabel,          about.m_authorLabel,
                                  about.m_contactLink,        about.m_websiteLink,
                                  about.m_versionLabel,       about.m_descriptionLabel,
                                  transparency.m_percentLabel};
    data << splashLink(splash);
    QStringList texts;
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{&about, &transparency, &calibration, &help, &splash})
        texts << shownTexts(dialog, data);
    for (int row = 0; row < units.unitsLockedCount(); ++row)
        texts << calibration.gridUnits->item(row, CustomUnitsDialog::ColName)->text();

    Settings quits = options;
    quits.rightClickMenu = false;
    for (SkinControl c : allControls())
        texts << controlTooltip(c, options) << controlTooltip(c, quits);
    CompassModel model(options, units, u'.');
    model.state.displayText = QStringLiteral("100");
    texts << readoutHint(model) << model.titleText() << magnifierCaption() << magnifierQuestion()
          << newerSkinMessage(QStringLiteral("S"), 5) << unrecoverableSkinMessage("S")
          << skinProblemMessage();
    try {
        (void)unitsToPixels(QStringLiteral("abc"), {}, 1, u'.');
        ADD_FAILURE() << "no error for a text that is no number";
    } catch (const OrvantaError& e) {
        texts << e.userMessage();
        // Automation clients read the same English whatever the user's language.
        EXPECT_EQ(e.message(), QStringLiteral("'abc' is not a valid floating point value"));
    }
    for (const QString& text : texts)
        EXPECT_TRUE(bracketed(text)) << text.toStdString();
}

TEST(Language, ChineseSaysWhatTheProgramAlwaysSaid) {
    ProgramFiles files;
    UnitTable& units = *files.units;
    Settings& options = files.options;
    LanguageSwitcher language;
    language.apply(options, LanguageChoice::Chinese);
    ASSERT_EQ(language.current(), UiLanguage::Chinese);
    EXPECT_TRUE(test::readAll(options.fileName).contains("Language=Chinese\r\n"));

    Windows w(files, QCoreApplication::applicationDirPath() + u'/');
    auto& [owner, menu, shell, skin, about, transparency, calibration, help] = w;
    SplashScreen splash(nullptr, QStringLiteral("https://example.org/"));
    CompassModel model(options, units, u'.');
    model.state.displayText = QStringLiteral("100");
    Settings quits = options;
    quits.systemTrayIcon = false;
    const auto tip = [&](SkinControl c) { return controlTooltip(c, options); };
    using enum SkinControl;

    const QStringList menuCaptions = [&] {
        QStringList c;
        for (const QAction* a : menuItems(menu.contextMenu))
            c << a->text();
        return c;
    }();
    // A polygon is named by its number of sides in Chinese numerals.
    const auto numeral = [](int n) {
        const QString digits = QStringLiteral("一二三四五六七八九");
        QString text = n % 10 ? QString(digits[n % 10 - 1]) : QString();
        if (n >= 10)
            text.prepend(u'十');
        if (n >= 20)
            text.prepend(digits[n / 10 - 1]);
        return text;
    };
    QStringList expectedMenu = {
        "单位",     "校准单位",   "像素",         "英寸", "厘米",     "毫米",       "点",
        "派卡",     "自定义1",    "校准此屏幕…",  "皮肤", "皮肤质量", "低",         "高",
        "基础皮肤", "关于此皮肤", "获取更多皮肤", "形状", "圆形",     "三角形 - 3", "正方形 - 4"};
    for (int n = 5; n < 40; ++n) {
        if (n % 10 == 0)
            expectedMenu << QStringLiteral("%1s").arg(n);
        expectedMenu << numeral(n) + QStringLiteral("边形 - %1").arg(n);
    }
    expectedMenu << QStringList{
        "直角多边形",     "内切多边形", "选项",         "总在最上面",
        "显示工具提示",   "开机时运行", "隐藏初始屏幕", "语言",
        "自动",           "English",    "中文",         "物理单位使用各显示器的尺寸",
        "透明度",         "放大镜",     "在屏幕中心",   "帮助",
        "访问网站",       "粘性角度",   "锁定角度",     "锁定测量",
        "贴合下方的图形", "半径",       "周长",         "面积",
        "退出",           "显示圆规"};
    EXPECT_EQ(menuCaptions, expectedMenu) << menuCaptions.join(u'|').toStdString();

    const std::pair<QString, const char*> shown[] = {
        {calibration.windowTitle(), "配置自定义单位"},
        {calibration.m_heading->text(), "校准单位"},
        {calibration.m_note->text(), "下面列表中包含您自定义的测量单位"},
        {calibration.m_helpLink->text(), "校准帮助"},
        {calibration.m_addButton->text(), "添加单位"},
        {calibration.m_addButton->toolTip(), "添加新单位到列表"},
        {calibration.m_removeButton->text(), "删除单位"},
        {calibration.m_removeButton->toolTip(), "从列表中删除选择单位"},
        {calibration.gridUnits->horizontalHeaderItem(0)->text(), "单位名称"},
        {calibration.gridUnits->horizontalHeaderItem(1)->text(), "像素数"},
        {calibration.gridUnits->horizontalHeaderItem(2)->text(), "长度单位"},
        {calibration.gridUnits->horizontalHeaderItem(3)->text(), "小数位数"},
        {calibration.gridUnits->item(2, 0)->text(), "厘米"},
        {calibration.nextCustomName(), "自定义2"},
        {calibration.m_okButton->text(), "确定"},
        {calibration.m_cancelButton->text(), "取消"},
        {transparency.windowTitle(), "更改透明度"},
        {transparency.m_caption->text(), "透明度:"},
        {about.windowTitle(), "关于此皮肤"},
        {shownTexts(&about, {about.m_nameLabel, about.m_authorLabel, about.m_versionLabel})
             .mid(1, 7)
             .join(u'|'),
         "关于此皮肤|名称:|作者:|描述:|联系:|网站:|版本:"},
        {about.m_nameLabel->text() + u'|' + about.m_authorLabel->text(), "未命名|未知"},
        {help.windowTitle(), "Orvanta帮助"},
        {help.m_tabs->tabText(0), "   快速入门   "},
        {help.m_tabs->tabText(1), "   完整说明   "},
        {help.m_okButton->text(), "确定"},
        {shownTexts(&splash, splashLink(splash)).join(u'|'),
         "像素级精确的屏幕圆规|版本 " ORVANTA_VERSION},
        {model.titleText(), "圆规100 像素"},
        {tip(Close), "隐藏圆规到系统托盘 (H)"},
        {controlTooltip(Close, quits), "退出圆规 (Q)"},
        {tip(ColorBase), "更改基础颜色条 (C)"},
        {tip(Menu), "显示菜单 (右键点击)"},
        {tip(Flip), "旋转到最近45 度 (F)"},
        {tip(FlipMinus), "旋转到最后45 度 (L)"},
        {tip(Angle), "顺时针旋转 (Shift + >)"},
        {tip(AngleMinus), "逆时针旋转 (Shift + <)"},
        {tip(Left), "向内移动"},
        {tip(Right), "向外移动"},
        {tip(In), "缩短距离 (shift + 箭头键)"},
        {tip(Out), "延长距离 (shift + 箭头键)"},
        {tip(MoveLeft), "左移 (左箭头)"},
        {tip(MoveUp), "上移 (上箭头)"},
        {tip(MoveRight), "右移 (右箭头)"},
        {tip(MoveDown), "下移 (下箭头)"},
        {tip(Radius), "半径测量 - 点击更改"},
        {tip(Circumference), "周长测量 - 点击更改"},
        {tip(Area), "面积测量 - 点击更改"},
        {readoutHint(model).section(QStringLiteral("\r\n\r\n"), 0, 1),
         "键入一个数字, 按回车键跳转到新距离\r\n\r\n键入+, -, *, 或 / 和一个数字计算"},
        {newerSkinMessage(QStringLiteral("S"), 5),
         "此皮肤 \"S\" 是制作版本 5 圆规.\r\n\r\n删除此皮肤或获取版本5 圆规从 "
         "https://" ORVANTA_WEB_HOST},
        {unrecoverableSkinMessage(QStringLiteral("S")),
         "皮肤有一个不可恢复的问题 \"S\".\r\n\r\n请删除此皮肤修复这个错误."},
        {magnifierCaption(), "Velmora放大镜"},
        {magnifierQuestion(), "未安装免费的Velmora放大镜. 你想下载它吗?"},
        // Qt's own catalogue: the standard buttons of the message boxes.
        {QCoreApplication::translate("QPlatformTheme", "&Yes"), "是(&Y)"},
    };
    for (const auto& [actual, expected] : shown)
        EXPECT_EQ(actual, QString::fromUtf8(expected)) << actual.toStdString();

    // The help opens in Chinese; a language without pages falls back to English.
    EXPECT_TRUE(help.m_browser->source().path().endsWith(u"/help/zh_CN/quickStart.html"));
    QTemporaryDir englishOnly;
    QDir(englishOnly.path()).mkpath(QStringLiteral("help/en"));
    EXPECT_EQ(HelpWindow::pagePath(englishOnly.path() + u'/', 1),
              englishOnly.path() + QStringLiteral("/help/en/help.html"));

    // Back to English at once, units included.
    language.apply(options, LanguageChoice::English);
    EXPECT_EQ(language.current(), UiLanguage::English);
    retranslate(menu, units);
    EXPECT_EQ(menu.unitsMenu->title(), QStringLiteral("Units"));
    EXPECT_EQ(menu.unitGroup->actions().at(0)->text(), QStringLiteral("Pixels"));
}

// A change of sources that adds, changes or drops a text the catalogue does
// not know yet makes lupdate change the catalogue: it must stay as committed.
TEST(Language, TheCatalogueHoldsEveryTextOfTheSourcesAndNothingElse) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("orvanta_zh_CN.ts"));
    ASSERT_TRUE(QFile::copy(kCatalogue, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.start(QStringLiteral(ORVANTA_LUPDATE),
                  {"-silent", "-locations", "none", "-no-ui-lines", "-extensions", "cpp,h",
                   QStringLiteral(ORVANTA_SOURCE_DIR "/src"), "-ts", copy});
    ASSERT_TRUE(lupdate.waitForFinished(60000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    const QByteArray committed = test::readAll(kCatalogue);
    EXPECT_FALSE(committed.contains("type=\"unfinished\"") ||
                 committed.contains("type=\"vanished\"") ||
                 committed.contains("type=\"obsolete\""));
    EXPECT_EQ(test::readAll(copy), committed)
        << "run `cmake --build build --target update_translations` and translate what is new";
}
