// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/aboutskindialog.h"

#include "dialogs/dialogkit.h"
#include "platform/abovecompass.h"
#include "platform/shell.h"
#include "skins/skin.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace orvanta {

namespace {

constexpr QSize kPicture(162, 113);
constexpr int kIconSize = 36;
// A value may be long: it wraps at this many average characters rather than
// widening the dialog without end, and shows whole.
constexpr int kValueChars = 48;

} // namespace

AboutSkinDialog::AboutSkinDialog(const Skin& skin, Shell& shell, CursorSource* cursors,
                                 QWidget* parent)
    : QDialog(parent, kDialogFlags), m_shell(shell), m_contact(skin.contact),
      m_webSite(skin.webSite) {
    setWindowModality(Qt::ApplicationModal);
    const HeadingPanel frame = makeHeadingPanel(this, kIconSize, kPicture);
    m_heading = frame.heading;

    // In the language spoken now, which may have changed since the skin was loaded.
    const QString values[] = {skin.nameText.shown(),
                              skin.authorText.shown(),
                              skin.descriptionText.shown(),
                              skin.contact,
                              skin.webSite,
                              QString::number(skin.version)};
    // Tests and screen readers find the values by these names.
    const QString names[] = {QStringLiteral("nameLabel"),        QStringLiteral("authorLabel"),
                             QStringLiteral("descriptionLabel"), QStringLiteral("contactLink"),
                             QStringLiteral("websiteLink"),      QStringLiteral("versionLabel")};
    auto* rows = new QGridLayout;
    for (int i = 0; i < kRows; ++i) {
        m_labels[i] = new QLabel(frame.panel);
        m_values[i] = new QLabel(values[i], frame.panel);
        m_values[i]->setObjectName(names[i]);
        m_values[i]->setTextFormat(Qt::PlainText);
        m_values[i]->setMaximumWidth(m_values[i]->fontMetrics().averageCharWidth() * kValueChars);
        m_values[i]->setWordWrap(true);
        m_labels[i]->setBuddy(m_values[i]);
        rows->addWidget(m_labels[i], i, 0);
        rows->addWidget(m_values[i], i, 1);
    }
    rows->setColumnStretch(1, 1);
    frame.beside->addStretch();
    frame.below->addLayout(rows);
    m_contactLink = m_values[3];
    m_websiteLink = m_values[4];

    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame.panel);
    layout->addWidget(m_okButton, 0, Qt::AlignHCenter);
    // The dialog takes the size its texts need, in any language and font.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keepTitleWhole(layout);

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
    const QString labels[kRows] = {tr("Name:"),    tr("Author:"),   tr("Description:"),
                                   tr("Contact:"), tr("Web site:"), tr("Version:")};
    for (int i = 0; i < kRows; ++i) {
        m_labels[i]->setText(labels[i]);
        // A screen reader names each value by what it is.
        m_values[i]->setAccessibleName(labels[i]);
    }
    m_okButton->setText(okText());
    m_okButton->setAccessibleName(okText());
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
    dialog->adjustSize();
    if (const QScreen* s = QGuiApplication::primaryScreen())
        dialog->move(s->availableGeometry().center() - dialog->rect().center());
    showAbove(dialog);
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
