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
#include "findwidget.h"
#include "interaction/controls.h"
#include "logcapture.h"
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
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

const QString kCatalogue = QStringLiteral(ORVANTA_SOURCE_DIR "/translations/orvanta_zh_CN.ts");
const QString kShippedUnits = QStringLiteral(ORVANTA_SOURCE_DIR "/assets/program/distances.ini");

struct NoShell : Shell {
    bool openUrl(const QString&) override { return true; }
    bool startProgram(const QString&) override { return false; }
};

// Every item of a menu and its submenus but the separators.
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
          help(helpFolder, shell, nullptr) {
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
    // The settings of the environment, and the menu's first text they give.
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
    SplashScreen splash(nullptr, shell, QStringLiteral("https://example.org/"));

    // The languages are named in their own words.
    const QStringList ownWords = {"English", "中文"};
    for (const QAction* a : menuItems(menu.contextMenu))
        EXPECT_TRUE(ownWords.contains(a->text()) || bracketed(a->text()))
            << a->text().toStdString();

    QList<const QWidget*> data = {test::child<QLabel>(transparency, "percentLabel")};
    for (const char* name : {"nameLabel", "authorLabel", "contactLink", "websiteLink",
                             "versionLabel", "descriptionLabel"})
        data << test::child<QLabel>(about, name);
    data << splashLink(splash);
    QStringList texts;
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{&about, &transparency, &calibration, &help, &splash})
        texts << shownTexts(dialog, data);
    // Every control has a name tests find it by and one a screen reader speaks,
    // which follows the language too.
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{&about, &transparency, &calibration, &help})
        for (QWidget* w : dialog->findChildren<QWidget*>())
            if (qobject_cast<QPushButton*>(w) || qobject_cast<QSlider*>(w) ||
                qobject_cast<QTableWidget*>(w) || qobject_cast<QTabBar*>(w) ||
                qobject_cast<QTextBrowser*>(w)) {
                EXPECT_FALSE(w->objectName().isEmpty()) << w->metaObject()->className();
                texts << w->accessibleName();
            }
    for (int row = 0; row < units.unitsLockedCount(); ++row)
        texts << test::child<QTableWidget>(calibration, "unitGrid")
                     ->item(row, CustomUnitsDialog::ColName)
                     ->text();

    Settings quits = options;
    quits.rightClickMenu = false;
    for (SkinControl c : allControls())
        texts << controlTooltip(c, options, true) << controlTooltip(c, quits, true);
    CompassModel model(options, units, u'.');
    model.state.displayText = QStringLiteral("100");
    texts << readoutToolTip(model) << model.titleText() << model.measurementLine()
          << LinkReportingShell::notOpenedText(QStringLiteral("x"))
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

TEST(Language, ChineseReachesEveryWindowAndEnglishComesBackAtOnce) {
    ProgramFiles files;
    UnitTable& units = *files.units;
    Settings& options = files.options;
    LanguageSwitcher language;
    language.apply(options, LanguageChoice::Chinese);
    ASSERT_EQ(language.current(), UiLanguage::Chinese);
    EXPECT_TRUE(test::readAll(options.fileName).contains("Language=Chinese\r\n"));

    // What each text says in Chinese is the catalogue's, which the test below
    // pins; here the catalogues are loaded and reach the windows.
    Windows w(files, QCoreApplication::applicationDirPath() + u'/');
    auto& [owner, menu, shell, skin, about, transparency, calibration, help] = w;
    EXPECT_EQ(menu.unitsMenu->title(), QStringLiteral("单位"));
    EXPECT_EQ(menu.unitGroup->actions().at(0)->text(), QStringLiteral("像素"));
    // Qt's own catalogue: the standard buttons of the message boxes.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("是(&Y)"));

    // Copy measurement speaks the language; the unit symbols are the same in both.
    CompassModel model(options, units, u'.');
    units.select(2); // centimetres
    model.state.measurement = 150;
    model.state.displayAngle = -30;
    EXPECT_EQ(
        model.measurementLine().toStdString(),
        QStringLiteral("半径 3.97 cm · 直径 7.94 cm · 周长 24.94 cm · 面积 49.48 cm² · 方向 30.0°")
            .toStdString());

    // The help opens in Chinese; a language without pages falls back to English.
    EXPECT_TRUE(test::child<QTextBrowser>(help, "pageView")
                    ->source()
                    .path()
                    .endsWith(u"/help/zh_CN/quickStart.html"));
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
    EXPECT_EQ(
        model.measurementLine().toStdString(),
        QStringLiteral("r 3.97 cm · d 7.94 cm · C 24.94 cm · A 49.48 cm² · 30.0°").toStdString());
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

// A Chinese sentence takes Chinese punctuation: no ASCII comma, colon, stop or
// bracket touches a Chinese character (spaces between them aside).
TEST(Language, ChineseTextsUseChinesePunctuation) {
    const QString ts = QString::fromUtf8(test::readAll(kCatalogue));
    const QRegularExpression message(
        QStringLiteral("<source>(.*?)</source>.*?<translation>(.*?)</translation>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression asciiBesideHan(
        QStringLiteral("\\p{Han} *[,.:;?!()]|[,:;?!()] *\\p{Han}"));
    int checked = 0;
    for (auto it = message.globalMatch(ts); it.hasNext();) {
        const auto m = it.next();
        const QString source = m.captured(1);
        const QString text = m.captured(2);
        EXPECT_FALSE(asciiBesideHan.match(text).hasMatch()) << text.toStdString();
        // A number with English letters ("%1s") is a text like any other.
        EXPECT_FALSE(text == source &&
                     source.contains(QRegularExpression(QStringLiteral("[a-z]"))) &&
                     source.startsWith(u'%'))
            << "untranslated: " << text.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 200);
}

// Without a font for Chinese its texts would be boxes: English is spoken and
// the log says why.
TEST(Language, ChineseWithoutAFontFallsBackToEnglish) {
    QTemporaryDir catalogues;
    ASSERT_TRUE(writePseudoCatalogue(catalogues.path()));
    for (const bool font : {false, true}) {
        const test::LogCapture log;
        LanguageSwitcher language(catalogues.path(), catalogues.path(), [font] { return font; });
        language.use(UiLanguage::Chinese);
        EXPECT_EQ(language.current(), font ? UiLanguage::Chinese : UiLanguage::English);
        EXPECT_EQ(log.lines.filter("orvanta.i18n: No installed font").size(), font ? 0 : 1);
        language.use(UiLanguage::English);
    }
}
