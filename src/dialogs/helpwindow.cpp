// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/helpwindow.h"

#include "dialogs/dialogkit.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTextBrowser>
#include <QUrl>

namespace orvanta {

namespace {

constexpr QSize kClientSize(576, 446);
constexpr QRect kBrowser(8, 8, 561, 394);
constexpr QRect kTabs(8, 400, 561, 20);
constexpr QRect kOk(249, 421, 75, 22);

} // namespace

HelpWindow::HelpWindow(const QString& programFolder, CursorSource* cursors, QWidget* parent)
    : QDialog(parent, kDialogFlags), m_programFolder(programFolder) {
    setWindowTitle(QStringLiteral("Orvanta帮助"));
    setFixedSize(kClientSize);

    m_browser = new QTextBrowser(this);
    m_browser->setGeometry(kBrowser);
    // Links to the web go to the browser; links between the pages stay here.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.isLocalFile() || url.isRelative())
            m_browser->setSource(m_browser->source().resolved(url));
        else
            QDesktopServices::openUrl(url);
    });

    m_tabs = new QTabBar(this);
    m_tabs->setGeometry(kTabs);
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->setDrawBase(false);
    m_tabs->addTab(QStringLiteral("   快速入门   "));
    m_tabs->addTab(QStringLiteral("   完整说明   "));
    connect(m_tabs, &QTabBar::currentChanged, this, &HelpWindow::showPage);

    m_okButton = new QPushButton(QStringLiteral("确定"), this);
    m_okButton->setGeometry(kOk);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* feedback = new PointerFeedback(cursors, this);
    feedback->watch(m_okButton);
    feedback->watch(m_tabs);

    showPage(0);
}

HelpWindow* HelpWindow::showDialog(const QString& programFolder, CursorSource* cursors,
                                   QWidget* parent) {
    auto* box = new HelpWindow(programFolder, cursors, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        box->move(s->availableGeometry().center() - box->rect().center());
    box->show();
    return box;
}

QString HelpWindow::pagePath(const QString& programFolder, int tab) {
    return programFolder +
           (tab == 0 ? QStringLiteral("help/quickStart.html") : QStringLiteral("help/help.html"));
}

void HelpWindow::showPage(int tab) {
    // A missing page leaves the view empty; the window says nothing more.
    m_browser->setSource(QUrl::fromLocalFile(pagePath(m_programFolder, tab)));
}

} // namespace orvanta
