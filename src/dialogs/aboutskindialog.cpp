// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/aboutskindialog.h"

#include "dialogs/dialogkit.h"
#include "platform/shell.h"
#include "skins/skin.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

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
constexpr int kCaptionGap = 6;
// The description may be long: it is cut this far from the panel's edge rather
// than running under the bevel.
constexpr int kPanelMargin = 8;

} // namespace

AboutSkinDialog::AboutSkinDialog(const Skin& skin, Shell& shell, CursorSource* cursors,
                                 QWidget* parent)
    : QDialog(parent, kDialogFlags), m_shell(shell), m_contact(skin.contact),
      m_webSite(skin.webSite) {
    const DialogFrame frame = setUpDialogFrame(this, kClientSize, kPanel, kPicture, kIconSize);
    m_heading = frame.heading;

    // In the language spoken now, which may have changed since the skin was loaded.
    const QString values[] = {skin.nameText.shown(),
                              skin.authorText.shown(),
                              skin.descriptionText.shown(),
                              skin.contact,
                              skin.webSite,
                              QString::number(skin.version)};
    for (int i = 0; i < kRows; ++i) {
        const int y = kFirstRowY + i * kRowStep;
        m_captions[i] = new QLabel(frame.panel);
        m_captions[i]->move(kCaptionX, y);
        m_values[i] = new QLabel(values[i], frame.panel);
        m_values[i]->setTextFormat(Qt::PlainText);
        m_values[i]->move(kValueX, y);
    }
    m_nameLabel = m_values[0];
    m_authorLabel = m_values[1];
    m_descriptionLabel = m_values[2];
    m_contactLink = m_values[3];
    m_websiteLink = m_values[4];
    m_versionLabel = m_values[5];
    // A description cut at the panel's edge can still be read in full.
    m_descriptionLabel->setToolTip(values[2]);

    m_okButton = new QPushButton(this);
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
    retranslateUi();
}

void AboutSkinDialog::retranslateUi() {
    setWindowTitle(tr("About this skin"));
    setHeading(m_heading, tr("About this skin"));
    const QString captions[kRows] = {tr("Name:"),    tr("Author:"),   tr("Description:"),
                                     tr("Contact:"), tr("Web site:"), tr("Version:")};
    int widest = 0;
    for (int i = 0; i < kRows; ++i) {
        m_captions[i]->setText(captions[i]);
        m_captions[i]->adjustSize();
        widest = std::max(widest, m_captions[i]->width());
    }
    // The values start where the longest caption leaves room, but not left of
    // where the short captions put them.
    const int valueX = std::max(kValueX, kCaptionX + widest + kCaptionGap);
    for (QLabel* value : m_values) {
        value->adjustSize();
        value->setMaximumWidth(kPanel.width() - valueX - kPanelMargin);
        value->move(valueX, value->y());
    }
    m_okButton->setText(okText());
}

void AboutSkinDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
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
