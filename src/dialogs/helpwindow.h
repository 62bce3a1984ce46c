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

class HelpWindow : public QDialog {
    Q_OBJECT

public:
    // Pages are read from `programFolder` + "help/" + the user's language
    // ("en", "zh_CN"); `cursors` may be null.
    explicit HelpWindow(const QString& programFolder, CursorSource* cursors,
                        QWidget* parent = nullptr);

    // A new window, not modal, freed when closed.
    static HelpWindow* showDialog(const QString& programFolder, CursorSource* cursors,
                                  QWidget* parent = nullptr);

    // The page of tab 0 and tab 1 in the user's language, or in English when
    // that language has none.
    [[nodiscard]] static QString pagePath(const QString& programFolder, int tab);
    // The folder of the pages in the user's language: the catalogue in use
    // names it, so that the pages always speak the menus' language.
    [[nodiscard]] static QString languageFolder();

    QTextBrowser* m_browser;
    QTabBar* m_tabs;
    QPushButton* m_okButton;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void showPage(int tab);

    QString m_programFolder;
};

} // namespace orvanta
