// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "dialogs/splashscreen.h"

#include "platform/cursortable.h"
#include "platform/shell.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>
#include <algorithm>

namespace orvanta {

namespace {

constexpr int kShowMs = 2500;
constexpr QSize kClientSize(498, 304);
constexpr QPoint kPicturePos(2, 2);
constexpr int kLabelsY = 278;
constexpr QPoint kTaglinePos(255, 78);
constexpr int kTaglinePixels = 16;
constexpr int kTaglineMinPixels = 12;
constexpr int kTaglineMargin = 8;
constexpr int kLinkX = 54;
constexpr int kVersionRight = 217;
constexpr int kPointerCursor = 3;
constexpr int kPressedCursor = 4;

} // namespace

SplashScreen::SplashScreen(CursorSource* cursors, Shell& shell, QString webLink)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen),
      m_cursors(cursors), m_shell(shell), m_webLink(std::move(webLink)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientSize);
    setStyleSheet(QStringLiteral("TfrmSplash { background: black; }"));
    setAttribute(Qt::WA_StyledBackground);

    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(QStringLiteral(":/dialogs/splash.png")));
    picture->move(kPicturePos);
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Drawn over the artwork, under the program's name.
    auto* tagline = new QLabel(tr("Pixel-accurate screen compass"), this);
    QFont taglineFont = tagline->font();
    taglineFont.setPixelSize(kTaglinePixels);
    tagline->setFont(taglineFont);
    tagline->setStyleSheet(QStringLiteral("color: #ffb547; background: transparent;"));
    tagline->adjustSize();
    // Whole in any language and font: a tagline too long for the room right of
    // its place moves left, and one too long for the splash gets smaller.
    const int room = kClientSize.width() - 2 * kTaglineMargin;
    for (int pixels = kTaglinePixels; tagline->width() > room && pixels > kTaglineMinPixels;) {
        taglineFont.setPixelSize(--pixels);
        tagline->setFont(taglineFont);
        tagline->adjustSize();
    }
    tagline->move(
        std::max(kTaglineMargin, std::min(kTaglinePos.x(),
                                          kClientSize.width() - kTaglineMargin - tagline->width())),
        kTaglinePos.y());

    m_link = new QLabel(this);
    m_link->setObjectName(QStringLiteral("webLink"));
    m_link->setAccessibleName(QUrl(m_webLink).host());
    m_link->setText(QStringLiteral("<a href=\"%1\" style=\"color:#4da3ff\">%2</a>")
                        .arg(m_webLink, QUrl(m_webLink).host()));
    m_link->setTextFormat(Qt::RichText);
    m_link->setAttribute(Qt::WA_TranslucentBackground);
    m_link->adjustSize();
    m_link->move(kLinkX, kLabelsY);
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->installEventFilter(this);

    // Shown for a moment before the compass: no change of language reaches it.
    auto* version = new QLabel(tr("Version %1").arg(QStringLiteral(ORVANTA_VERSION)), this);
    version->setStyleSheet(QStringLiteral("color: #d8dde3; background: transparent;"));
    version->adjustSize();
    version->move(kVersionRight - version->width(), kLabelsY);

    m_timer.setSingleShot(true);
    m_timer.setInterval(kShowMs);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::close);
}

void SplashScreen::showNow() {
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
    show();
    m_timer.start();
    QApplication::processEvents();
}

void SplashScreen::mousePressEvent(QMouseEvent*) {
    m_timer.stop();
    close();
}

bool SplashScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_link && m_cursors) {
        if (event->type() == QEvent::Enter)
            m_cursors->apply(m_link, kPointerCursor);
        else if (event->type() == QEvent::MouseButtonPress) {
            m_cursors->apply(m_link, kPressedCursor);
            m_shell.openUrl(m_webLink);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvanta
