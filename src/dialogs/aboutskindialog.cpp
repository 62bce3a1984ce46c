#include "dialogs/aboutskindialog.h"

#include "dialogs/dialogkit.h"
#include "platform/shell.h"
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

AboutSkinDialog::AboutSkinDialog(const Skin& skin, Shell& shell, CursorSource* cursors,
                                 QWidget* parent)
    : QDialog(parent, kDialogFlags), m_shell(shell), m_contact(skin.contact),
      m_webSite(skin.webSite) {
    QWidget* panel = setUpDialogFrame(this, QStringLiteral("关于此皮肤"), kClientSize, kPanel,
                                      kPicture, QStringLiteral("关于此皮肤"), kIconSize);

    const QString captions[] = {QStringLiteral("名称:"), QStringLiteral("作者:"),
                                QStringLiteral("描述:"), QStringLiteral("联系:"),
                                QStringLiteral("网站:"), QStringLiteral("版本:")};
    const QString values[] = {skin.name,    skin.author,  skin.description,
                              skin.contact, skin.webSite, QString::number(skin.version)};
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
    m_nameLabel = valueLabels[0];
    m_authorLabel = valueLabels[1];
    m_descriptionLabel = valueLabels[2];
    m_contactLink = valueLabels[3];
    m_websiteLink = valueLabels[4];
    m_versionLabel = valueLabels[5];
    // A description cut at the panel's edge can still be read in full.
    m_descriptionLabel->setToolTip(skin.description);

    m_okButton = new QPushButton(QStringLiteral("确定"), this);
    m_okButton->setGeometry(154, 186, 75, 23);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* feedback = new PointerFeedback(cursors, this);
    feedback->watch(m_okButton);
    for (QLabel* link : {m_contactLink, m_websiteLink}) {
        makeLinkLabel(link);
        feedback->watch(link);
        link->installEventFilter(this);
    }
}

AboutSkinDialog* AboutSkinDialog::showDialog(const Skin& skin, Shell& shell, CursorSource* cursors,
                                             QWidget* parent) {
    auto* dialog = new AboutSkinDialog(skin, shell, cursors, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        dialog->move(s->availableGeometry().center() - dialog->rect().center());
    dialog->show();
    return dialog;
}

bool AboutSkinDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        // An empty line offers nothing: "mailto:" alone would open a blank mail.
        if (watched == m_contactLink && !m_contact.isEmpty())
            m_shell.openUrl(QStringLiteral("mailto:") + m_contact);
        else if (watched == m_websiteLink && !m_webSite.isEmpty())
            m_shell.openUrl(m_webSite);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvanta
