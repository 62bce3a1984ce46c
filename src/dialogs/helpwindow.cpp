// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/helpwindow.h"

#include "dialogs/dialogkit.h"
#include "platform/abovecompass.h"
#include "platform/shell.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTextBrowser>
#include <QUrl>

Q_LOGGING_CATEGORY(lcDialogs, "orvanta.dialogs", QtWarningMsg)

namespace orvanta {

namespace {

// The pages are written for a view of this size.
constexpr QSize kPageSize(561, 394);
// The tab texts have always been padded, which widens the tabs.
const QString kTabPadding = QStringLiteral("   ");
// The language of the pages when the user's has none.
const QString kFallbackFolder = QStringLiteral("en");

} // namespace

HelpWindow::HelpWindow(const QString& programFolder, Shell& shell, CursorSource* cursors,
                       QWidget* parent)
    : QDialog(parent, kDialogFlags), m_programFolder(programFolder), m_shell(shell) {
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("pageView"));
    m_browser->setMinimumSize(kPageSize);
    // Links to the web go to the browser; links between the pages stay here.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.isLocalFile() || url.isRelative())
            m_browser->setSource(m_browser->source().resolved(url));
        else
            m_shell.openUrl(url.toString());
    });

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("pageTabs"));
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->setDrawBase(false);
    m_tabs->addTab(QString());
    m_tabs->addTab(QString());
    connect(m_tabs, &QTabBar::currentChanged, this, &HelpWindow::showPage);

    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(m_browser);
    layout->addWidget(m_tabs);
    layout->addWidget(m_okButton, 0, Qt::AlignHCenter);
    // The window takes the size its texts need, in any language and font.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keepTitleWhole(layout);

    auto* feedback = new PointerFeedback(cursors, this);
    feedback->watch(m_okButton);
    feedback->watch(m_tabs);

    retranslateUi();
}

void HelpWindow::retranslateUi() {
    // The desktop adds the program's name: "Help — Orvanta".
    setWindowTitle(tr("Help"));
    m_tabs->setTabText(0, kTabPadding + tr("Quick start") + kTabPadding);
    m_tabs->setTabText(1, kTabPadding + tr("Full description") + kTabPadding);
    m_okButton->setText(okText());
    m_okButton->setAccessibleName(okText());
    m_browser->setAccessibleName(windowTitle());
    //: Read to a screen reader: the tabs that choose the help page.
    m_tabs->setAccessibleName(tr("Help pages"));
    showPage(m_tabs->currentIndex());
}

void HelpWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

QString HelpWindow::languageFolder() {
    //: Not shown: the folder under help/ that holds the pages in this language.
    return tr("en");
}

HelpWindow* HelpWindow::showDialog(const QString& programFolder, Shell& shell,
                                   CursorSource* cursors, QWidget* parent) {
    auto* box = new HelpWindow(programFolder, shell, cursors, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->adjustSize();
    if (const QScreen* s = QGuiApplication::primaryScreen())
        box->move(s->availableGeometry().center() - box->rect().center());
    showAbove(box);
    return box;
}

QString HelpWindow::pagePath(const QString& programFolder, int tab) {
    const QString page = tab == 0 ? QStringLiteral("quickStart.html") : QStringLiteral("help.html");
    const QString help = programFolder + QStringLiteral("help/");
    const QString own = help + languageFolder() + u'/' + page;
    if (languageFolder() == kFallbackFolder || QFileInfo::exists(own))
        return own;
    qCWarning(lcDialogs) << "No help page" << own << "- showing the English one";
    return help + kFallbackFolder + u'/' + page;
}

void HelpWindow::showPage(int tab) {
    // A missing page leaves the view empty; the window says nothing more.
    m_browser->setSource(QUrl::fromLocalFile(pagePath(m_programFolder, tab)));
}

} // namespace orvanta
