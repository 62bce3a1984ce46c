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

class ICursorTable;

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    // Pages are read from `programFolder` + "help/"; `cursors` may be null.
    explicit TAboutBox(const QString& programFolder, ICursorTable* cursors,
                       QWidget* parent = nullptr);

    // A new window, not modal, freed when closed.
    static TAboutBox* Open(const QString& programFolder, ICursorTable* cursors,
                           QWidget* parent = nullptr);

    // The page of tab 0 and tab 1.
    [[nodiscard]] static QString PagePath(const QString& programFolder, int tab);

    QTextBrowser* WebBrowser1;
    QTabBar* TabControl1;
    QPushButton* cmdOk;

private:
    void ShowPage(int tab);

    QString m_programFolder;
};

} // namespace orvanta
