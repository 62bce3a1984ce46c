// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The language the program speaks: English (the texts of the source) or
// Chinese (the zh_CN catalogue compiled into the program, with Qt's own for the
// standard buttons and dialogs). The user's choice in the options wins; on
// Automatic the desktop's UI languages decide, as Qt reads them (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG). Switching installs or removes the translators,
// and Qt sends QEvent::LanguageChange to every widget.

#include "model/settings.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QTranslator;

namespace orvanta {

enum class UiLanguage { English, Chinese };

// The language for a choice: English and Chinese as chosen; Automatic walks
// the UI languages in the user's order of preference and takes the first that
// is English ("en", "en-US" ...) or Chinese ("zh", "zh-CN", "zh_TW" ...);
// English when none is either.
[[nodiscard]] UiLanguage uiLanguageFor(LanguageChoice choice, const QStringList& uiLanguages);

// The desktop's UI languages, most preferred first.
[[nodiscard]] QStringList systemUiLanguages();

// Whether an installed font writes Simplified Chinese. Without one, Chinese
// texts would show as boxes.
[[nodiscard]] bool chineseFontInstalled();

class LanguageSwitcher {
public:
    // `programCatalogues` holds orvanta_<locale>.qm, `qtCatalogues` Qt's
    // qtbase_<locale>.qm; the defaults are the program's resources and Qt's
    // translations folder.
    // `chineseFont` tells whether Chinese can be shown; when not, Chinese is
    // replaced by English and the log says why.
    explicit LanguageSwitcher(QString programCatalogues = defaultProgramCatalogues(),
                              QString qtCatalogues = defaultQtCatalogues(),
                              std::function<bool()> chineseFont = chineseFontInstalled);
    ~LanguageSwitcher();
    LanguageSwitcher(const LanguageSwitcher&) = delete;
    LanguageSwitcher& operator=(const LanguageSwitcher&) = delete;

    // Speaks the language of `choice` from now on, the desktop's UI languages
    // deciding Automatic. Nothing happens when that is the language spoken.
    void use(LanguageChoice choice);
    void use(UiLanguage language);

    // The user's choice from the menu: stored in the options, saved at once
    // (a failed save keeps the choice for this run), and used.
    void apply(Settings& options, LanguageChoice choice);

    [[nodiscard]] UiLanguage current() const { return m_current; }

    [[nodiscard]] static QString defaultProgramCatalogues();
    [[nodiscard]] static QString defaultQtCatalogues();

private:
    void removeTranslators();

    QString m_programCatalogues;
    QString m_qtCatalogues;
    std::function<bool()> m_chineseFont;
    std::unique_ptr<QTranslator> m_program;
    std::unique_ptr<QTranslator> m_qt;
    UiLanguage m_current = UiLanguage::English;
};

} // namespace orvanta
