// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/languageswitcher.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcLanguage, "orvanta.i18n", QtWarningMsg)

namespace orvanta {

namespace {

// The one catalogue the program ships besides its English source texts.
constexpr char kChineseLocale[] = "zh_CN";

// "zh", "zh-CN", "zh_Hans_CN" ... name the language `code`; "zhx" does not.
bool isLanguage(const QString& tag, QStringView code) {
    return tag.startsWith(code, Qt::CaseInsensitive) &&
           (tag.size() == code.size() || tag.at(code.size()) == u'-' ||
            tag.at(code.size()) == u'_');
}

} // namespace

UiLanguage uiLanguageFor(LanguageChoice choice, const QStringList& uiLanguages) {
    switch (choice) {
    case LanguageChoice::English:
        return UiLanguage::English;
    case LanguageChoice::Chinese:
        return UiLanguage::Chinese;
    case LanguageChoice::Automatic:
        break;
    }
    for (const QString& tag : uiLanguages) {
        if (isLanguage(tag, u"zh"))
            return UiLanguage::Chinese;
        if (isLanguage(tag, u"en"))
            return UiLanguage::English;
    }
    return UiLanguage::English;
}

QStringList systemUiLanguages() {
    return QLocale::system().uiLanguages();
}

QString LanguageSwitcher::defaultProgramCatalogues() {
    return QStringLiteral(":/i18n");
}

QString LanguageSwitcher::defaultQtCatalogues() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool chineseFontInstalled() {
    // Before the GUI starts (--help, --version) the text goes to a terminal,
    // which finds its own fonts; the font database needs the GUI anyway.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return true;
    return !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty();
}

LanguageSwitcher::LanguageSwitcher(QString programCatalogues, QString qtCatalogues,
                                   std::function<bool()> chineseFont)
    : m_programCatalogues(std::move(programCatalogues)), m_qtCatalogues(std::move(qtCatalogues)),
      m_chineseFont(std::move(chineseFont)) {}

LanguageSwitcher::~LanguageSwitcher() {
    removeTranslators();
}

void LanguageSwitcher::use(LanguageChoice choice) {
    use(uiLanguageFor(choice, systemUiLanguages()));
}

void LanguageSwitcher::use(UiLanguage language) {
    if (language == UiLanguage::Chinese && m_chineseFont && !m_chineseFont()) {
        qCWarning(lcLanguage) << "No installed font covers Chinese (install one such as "
                                 "fonts-noto-cjk): the program speaks English";
        language = UiLanguage::English;
    }
    if (language == m_current && (language == UiLanguage::English || m_program))
        return;
    removeTranslators();
    m_current = language;
    if (language == UiLanguage::English)
        return;
    const QString locale = QString::fromLatin1(kChineseLocale);
    auto program = std::make_unique<QTranslator>();
    if (program->load(QStringLiteral("orvanta_") + locale, m_programCatalogues)) {
        QCoreApplication::installTranslator(program.get());
        m_program = std::move(program);
    } else {
        qCWarning(lcLanguage) << "The program's catalogue" << locale << "is missing from"
                              << m_programCatalogues << "- the program speaks English";
    }
    // Without Qt's own catalogue only the standard buttons stay English.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + locale, m_qtCatalogues)) {
        QCoreApplication::installTranslator(qt.get());
        m_qt = std::move(qt);
    } else {
        qCWarning(lcLanguage) << "Qt's catalogue qtbase_" + locale << "is missing from"
                              << m_qtCatalogues;
    }
}

void LanguageSwitcher::apply(Settings& options, LanguageChoice choice) {
    options.language = choice;
    if (!options.save())
        qCWarning(lcLanguage) << "Cannot save the language choice to" << options.fileName;
    use(choice);
}

void LanguageSwitcher::removeTranslators() {
    for (auto* t : {&m_program, &m_qt}) {
        if (*t)
            QCoreApplication::removeTranslator(t->get());
        t->reset();
    }
}

} // namespace orvanta
