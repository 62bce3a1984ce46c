#include "dialogs/help.h"

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

TAboutBox::TAboutBox(const QString& programFolder, ICursorTable* cursors, QWidget* parent)
    : QDialog(parent, kDialogFlags), m_programFolder(programFolder) {
    setWindowTitle(QStringLiteral("Orvanta帮助"));
    setFixedSize(kClientSize);

    WebBrowser1 = new QTextBrowser(this);
    WebBrowser1->setGeometry(kBrowser);
    // Links to the web go to the browser; links between the pages stay here.
    WebBrowser1->setOpenLinks(false);
    connect(WebBrowser1, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.isLocalFile() || url.isRelative())
            WebBrowser1->setSource(WebBrowser1->source().resolved(url));
        else
            QDesktopServices::openUrl(url);
    });

    TabControl1 = new QTabBar(this);
    TabControl1->setGeometry(kTabs);
    TabControl1->setShape(QTabBar::RoundedSouth);
    TabControl1->setDrawBase(false);
    TabControl1->addTab(QStringLiteral("   快速入门   "));
    TabControl1->addTab(QStringLiteral("   完整说明   "));
    connect(TabControl1, &QTabBar::currentChanged, this, &TAboutBox::ShowPage);

    cmdOk = new QPushButton(QStringLiteral("确定"), this);
    cmdOk->setGeometry(kOk);
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* feedback = new PointerFeedback(cursors, this);
    feedback->watch(cmdOk);
    feedback->watch(TabControl1);

    ShowPage(0);
}

TAboutBox* TAboutBox::Open(const QString& programFolder, ICursorTable* cursors, QWidget* parent) {
    auto* box = new TAboutBox(programFolder, cursors, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        box->move(s->availableGeometry().center() - box->rect().center());
    box->show();
    return box;
}

QString TAboutBox::PagePath(const QString& programFolder, int tab) {
    return programFolder +
           (tab == 0 ? QStringLiteral("help/quickStart.html") : QStringLiteral("help/help.html"));
}

void TAboutBox::ShowPage(int tab) {
    // A missing page leaves the view empty; the window says nothing more.
    WebBrowser1->setSource(QUrl::fromLocalFile(PagePath(m_programFolder, tab)));
}

} // namespace orvanta
