// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The help window: the quick-start page and the full description of the
// program, chosen with two tabs under an HTML view. Every help command opens
// a window of its own.

#include <QDialog>
#include <QString>

class QPushButton;
class QTabBar;
class QTextBrowser;

namespace orvanta {

class CursorSource;
class Shell;

class HelpWindow : public QDialog {
    Q_OBJECT

public:
    // Pages are read from `programFolder` + "help/" + the user's language
    // ("en", "zh_CN"); links to the web open through `shell`, which must
    // outlive the window; `cursors` may be null.
    HelpWindow(const QString& programFolder, Shell& shell, CursorSource* cursors,
               QWidget* parent = nullptr);

    // A new window, not modal, freed when closed.
    static HelpWindow* showDialog(const QString& programFolder, Shell& shell, CursorSource* cursors,
                                  QWidget* parent = nullptr);

    // The page of tab 0 and tab 1 in the user's language, or in English when
    // that language has none.
    [[nodiscard]] static QString pagePath(const QString& programFolder, int tab);
    // The folder of the pages in the user's language: the catalogue in use
    // names it, so that the pages always speak the menus' language.
    [[nodiscard]] static QString languageFolder();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void showPage(int tab);

    QString m_programFolder;
    Shell& m_shell;
    QTextBrowser* m_browser;
    QTabBar* m_tabs;
    QPushButton* m_okButton;
};

} // namespace orvanta
