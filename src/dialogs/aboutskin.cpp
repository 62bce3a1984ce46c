#include "dialogs/aboutskin.h"

#include "app/weblinks.h"
#include "dialogs/dialogkit.h"
#include "skins/skin.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace orvanta {

namespace {

constexpr QSize kClientSize(384, 216);
constexpr QRect kPanel(6, 7, 372, 172);
constexpr QRect kPicture(209, 3, 162, 113);
constexpr int kIconSize = 36;
constexpr int kCaptionX = 11;
constexpr int kValueX = 83;
constexpr int kFirstRowY = 65;
constexpr int kRowStep = 16;
// The description may be long: it is cut at the panel's edge rather than
// running under the bevel.
constexpr int kValueMaxWidth = kPanel.width() - kValueX - 8;

} // namespace

TfrmAboutThisSkin::TfrmAboutThisSkin(const TDervikSkin& skin, IShell& shell, ICursorTable* cursors,
                                     QWidget* parent)
    : QDialog(parent, kDialogFlags), m_shell(shell), m_contact(skin.Contact),
      m_webSite(skin.WebSite) {
    QWidget* panel = SetUpDialogFrame(this, QStringLiteral("关于此皮肤"), kClientSize, kPanel,
                                      kPicture, QStringLiteral("关于此皮肤"), kIconSize);

    const QString captions[] = {QStringLiteral("名称:"), QStringLiteral("作者:"),
                                QStringLiteral("描述:"), QStringLiteral("联系:"),
                                QStringLiteral("网站:"), QStringLiteral("版本:")};
    const QString values[] = {skin.Name,    skin.Author,  skin.Description,
                              skin.Contact, skin.WebSite, QString::number(skin.Version)};
    QLabel* valueLabels[6];
    for (int i = 0; i < 6; ++i) {
        const int y = kFirstRowY + i * kRowStep;
        (new QLabel(captions[i], panel))->move(kCaptionX, y);
        valueLabels[i] = new QLabel(values[i], panel);
        valueLabels[i]->setTextFormat(Qt::PlainText);
        valueLabels[i]->adjustSize();
        valueLabels[i]->setMaximumWidth(kValueMaxWidth);
        valueLabels[i]->move(kValueX, y);
    }
    lblName = valueLabels[0];
    lblAuthor = valueLabels[1];
    lblDescription = valueLabels[2];
    lblContact = valueLabels[3];
    lblWebSite = valueLabels[4];
    lblVersion = valueLabels[5];
    // A description cut at the panel's edge can still be read in full.
    lblDescription->setToolTip(skin.Description);

    cmdOk = new QPushButton(QStringLiteral("确定"), this);
    cmdOk->setGeometry(154, 186, 75, 23);
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* feedback = new PointerFeedback(cursors, this);
    feedback->watch(cmdOk);
    for (QLabel* link : {lblContact, lblWebSite}) {
        MakeLinkLabel(link);
        feedback->watch(link);
        link->installEventFilter(this);
    }
}

TfrmAboutThisSkin* TfrmAboutThisSkin::Open(const TDervikSkin& skin, IShell& shell,
                                           ICursorTable* cursors, QWidget* parent) {
    auto* dialog = new TfrmAboutThisSkin(skin, shell, cursors, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        dialog->move(s->availableGeometry().center() - dialog->rect().center());
    dialog->show();
    return dialog;
}

bool TfrmAboutThisSkin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        // An empty line offers nothing: "mailto:" alone would open a blank mail.
        if (watched == lblContact && !m_contact.isEmpty())
            m_shell.openUrl(QStringLiteral("mailto:") + m_contact);
        else if (watched == lblWebSite && !m_webSite.isEmpty())
            m_shell.openUrl(m_webSite);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvanta
